#include "IniProfileFile.h"

#include <QList>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// One line of a profile file, as read and as interpreted.
struct Line {
    QByteArray text; // without its line end
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    QByteArray name;  // section or key name, trimmed
    QByteArray value; // key value, trimmed and unquoted
};

struct Contents {
    QList<Line> lines;
    QByteArray lineEnd = "\n";
    bool endsWithLineEnd = true;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray trimmedBlanks(QByteArray text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

// Letter case is ignored for ASCII letters only: the bytes of multi-byte characters must match.
bool sameName(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

Line interpret(const QByteArray& text) {
    Line line;
    line.text = text;
    const QByteArray content = trimmedBlanks(text);
    if (content.startsWith('[')) {
        const qsizetype close = content.indexOf(']');
        line.kind = Line::Kind::Section;
        line.name = trimmedBlanks(content.mid(1, close < 0 ? -1 : close - 1));
        return line;
    }
    if (content.startsWith(';') || content.startsWith('#'))
        return line;
    const qsizetype equals = content.indexOf('=');
    if (equals < 0)
        return line;
    line.kind = Line::Kind::Key;
    line.name = trimmedBlanks(content.left(equals));
    QByteArray value = trimmedBlanks(content.mid(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    line.value = value;
    return line;
}

// The whole file, or nothing when it cannot be read.
std::optional<QByteArray> readFile(const QByteArray& fileName) {
    const int fd = ::open(fileName.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray data;
    char chunk[8192];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int readError = errno;
            ::close(fd);
            errno = readError;
            return std::nullopt;
        }
        if (n == 0)
            break;
        data.append(chunk, n);
    }
    ::close(fd);
    return data;
}

Contents parse(const QByteArray& data) {
    Contents contents;
    if (data.isEmpty())
        return contents;
    QList<QByteArray> texts = data.split('\n');
    contents.endsWithLineEnd = data.endsWith('\n');
    if (contents.endsWithLineEnd)
        texts.removeLast();
    if (!texts.isEmpty() && texts.first().endsWith('\r'))
        contents.lineEnd = "\r\n";
    for (QByteArray& text : texts) {
        if (text.endsWith('\r'))
            text.chop(1);
        contents.lines.append(interpret(text));
    }
    return contents;
}

// The position of the first line of the first matching section, or -1.
qsizetype findSection(const Contents& contents, const QByteArray& section) {
    for (qsizetype i = 0; i < contents.lines.size(); ++i) {
        const Line& line = contents.lines[i];
        if (line.kind == Line::Kind::Section && sameName(line.name, section))
            return i;
    }
    return -1;
}

// The end of the section that starts at sectionLine: the position of the next section, or the
// end of the file.
qsizetype sectionEnd(const Contents& contents, qsizetype sectionLine) {
    qsizetype i = sectionLine + 1;
    while (i < contents.lines.size() && contents.lines[i].kind != Line::Kind::Section)
        ++i;
    return i;
}

qsizetype findKey(const Contents& contents, qsizetype sectionLine, const QByteArray& key) {
    const qsizetype end = sectionEnd(contents, sectionLine);
    for (qsizetype i = sectionLine + 1; i < end; ++i) {
        const Line& line = contents.lines[i];
        if (line.kind == Line::Kind::Key && sameName(line.name, key))
            return i;
    }
    return -1;
}

std::optional<QByteArray> lookUp(const QByteArray& section, const QByteArray& key,
                                 const QByteArray& fileName) {
    const std::optional<QByteArray> data = readFile(fileName);
    if (!data)
        return std::nullopt;
    const Contents contents = parse(*data);
    const qsizetype sectionLine = findSection(contents, trimmedBlanks(section));
    if (sectionLine < 0)
        return std::nullopt;
    const qsizetype keyLine = findKey(contents, sectionLine, trimmedBlanks(key));
    if (keyLine < 0)
        return std::nullopt;
    return contents.lines[keyLine].value;
}

QByteArray serialise(const Contents& contents) {
    QByteArray data;
    for (qsizetype i = 0; i < contents.lines.size(); ++i) {
        data.append(contents.lines[i].text);
        if (i + 1 < contents.lines.size() || contents.endsWithLineEnd)
            data.append(contents.lineEnd);
    }
    return data;
}

bool writeAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Writes data to a new file beside fileName and renames it over fileName.
bool replaceFile(const QByteArray& fileName, const QByteArray& data) {
    const qsizetype slash = fileName.lastIndexOf('/');
    QByteArray temporary = fileName.left(slash + 1) + ".tessaly-ini-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    struct stat existing {};
    const mode_t mode = ::stat(fileName.constData(), &existing) == 0 ? (existing.st_mode & 07777)
                                                                      : 0644;
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), fileName.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

bool breaksLines(const QByteArray& text) { return text.contains('\n') || text.contains('\r'); }

} // namespace

qint32 IniProfileFile::GetPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                            qint32 nDefault, const QByteArray& fileName) {
    const std::optional<QByteArray> value = lookUp(section, key, fileName);
    if (!value)
        return nDefault;
    qsizetype i = 0;
    bool negative = false;
    if (i < value->size() && ((*value)[i] == '-' || (*value)[i] == '+'))
        negative = (*value)[i++] == '-';
    qint64 number = 0;
    for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
        number = number * 10 + ((*value)[i] - '0');
        if (number > std::numeric_limits<qint32>::max())
            number = std::numeric_limits<qint32>::max(); // saturate rather than wrap
    }
    return static_cast<qint32>(negative ? -number : number);
}

quint32 IniProfileFile::GetPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                                const QByteArray& lpDefault, char* buffer,
                                                quint32 nSize, const QByteArray& fileName) {
    if (buffer == nullptr || nSize == 0)
        return 0;
    const QByteArray value = lookUp(section, key, fileName).value_or(lpDefault);
    qsizetype length = std::min<qsizetype>(value.size(), nSize - 1);
    // Cut before a character whose continuation bytes would not fit (UTF-8).
    if (length < value.size())
        while (length > 0 && (static_cast<unsigned char>(value[length]) & 0xC0) == 0x80)
            --length;
    std::memcpy(buffer, value.constData(), static_cast<size_t>(length));
    buffer[length] = '\0';
    return static_cast<quint32>(length);
}

int IniProfileFile::WritePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                              const QByteArray& value,
                                              const QByteArray& fileName) {
    const QByteArray sectionName = trimmedBlanks(section);
    const QByteArray keyName = trimmedBlanks(key);
    if (sectionName.isEmpty() || keyName.isEmpty() || breaksLines(section) || breaksLines(key) ||
        breaksLines(value) || sectionName.contains(']') || keyName.contains('='))
        return 0;

    Contents contents;
    if (const std::optional<QByteArray> data = readFile(fileName))
        contents = parse(*data);
    else if (errno != ENOENT)
        return 0;

    const qsizetype sectionLine = findSection(contents, sectionName);
    if (sectionLine < 0) {
        contents.endsWithLineEnd = true;
        contents.lines.append(interpret('[' + sectionName + ']'));
        contents.lines.append(interpret(keyName + '=' + value));
    } else if (const qsizetype keyLine = findKey(contents, sectionLine, keyName); keyLine >= 0) {
        const QByteArray written = contents.lines[keyLine].name + '=' + value;
        contents.lines[keyLine] = interpret(written);
    } else {
        // After the section's last line that is not blank.
        qsizetype at = sectionEnd(contents, sectionLine);
        while (at > sectionLine + 1 && trimmedBlanks(contents.lines[at - 1].text).isEmpty())
            --at;
        if (at == contents.lines.size())
            contents.endsWithLineEnd = true;
        contents.lines.insert(at, interpret(keyName + '=' + value));
    }
    return replaceFile(fileName, serialise(contents)) ? 1 : 0;
}

} // namespace platform
