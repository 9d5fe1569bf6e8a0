#include "PosixDirectorySearch.h"

#include "FileName.h"
#include "PlatformError.h"
#include "Wildcard.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace platform {

namespace {

// The file mode of path, following links; 0 when it cannot be read.
mode_t modeOf(const QByteArray& path) {
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return 0;
    return info.st_mode;
}

bool isHiddenName(QStringView name) {
    return name.startsWith(u'.') && name != u"." && name != u"..";
}

// The last component of path, trailing separators ignored.
QStringView lastComponent(QStringView path) {
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.mid(slash + 1);
}

// A path made of blanks alone is what the argument quoting leaves between two arguments; it
// names nothing, even where a file of that name happens to exist.
bool namesSomething(const QString& path) {
    return !path.trimmed().isEmpty() && !isHiddenName(lastComponent(path));
}

class PosixDirectoryEnumeration : public IDirectoryEnumeration {
public:
    PosixDirectoryEnumeration(QString folder, QString wildcard)
        : m_folder(std::move(folder))
        , m_wildcard(std::move(wildcard))
        , m_folderBytes(encodeFileName(m_folder)) {
        m_dir = ::opendir(m_folderBytes.constData());
        if (m_dir == nullptr)
            throw PlatformError::fromErrno(errno, m_folder);
        if (!m_folderBytes.endsWith('/'))
            m_folderBytes.append('/');
    }
    ~PosixDirectoryEnumeration() override { ::closedir(m_dir); }
    PosixDirectoryEnumeration(const PosixDirectoryEnumeration&) = delete;
    PosixDirectoryEnumeration& operator=(const PosixDirectoryEnumeration&) = delete;

    QString next() override {
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(m_dir);
            if (entry == nullptr) {
                if (errno != 0)
                    throw PlatformError::fromErrno(errno, m_folder);
                return {};
            }
            if (entry->d_name[0] == '.')
                continue;
            QString name = decodeFileName(QByteArray(entry->d_name));
            if (!wildcardMatch(name, m_wildcard) || !isRegular(*entry))
                continue;
            return name;
        }
    }

private:
    bool isRegular(const dirent& entry) const {
        if (entry.d_type == DT_REG)
            return true;
        if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
            return false;
        return S_ISREG(modeOf(m_folderBytes + entry.d_name));
    }

    QString m_folder;
    QString m_wildcard;
    QByteArray m_folderBytes;
    DIR* m_dir = nullptr;
};

} // namespace

bool PosixDirectorySearch::isOrdinaryFile(const QString& path) {
    return namesSomething(path) && S_ISREG(modeOf(encodeFileName(path)));
}

bool PosixDirectorySearch::isFileOrFolder(const QString& path) {
    if (!namesSomething(path))
        return false;
    const mode_t mode = modeOf(encodeFileName(path));
    return S_ISREG(mode) || S_ISDIR(mode);
}

std::unique_ptr<IDirectoryEnumeration> PosixDirectorySearch::findFiles(const QString& pattern) {
    const qsizetype slash = pattern.lastIndexOf(u'/');
    QString folder = slash < 0 ? QStringLiteral(".") : pattern.left(slash);
    if (folder.isEmpty())
        folder = QStringLiteral("/");
    return std::make_unique<PosixDirectoryEnumeration>(folder, pattern.mid(slash + 1));
}

} // namespace platform
