#include "CompoundFile.h"

#include "ReadError.h"

#include "platform/FileName.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

namespace xls {

namespace {

using Kind = ReadError::Kind;

// Excel writes its workbooks as compound files of version 3 (512-byte sectors), which cannot
// exceed 2 GiB; the bare record streams of older versions are smaller still.
constexpr qint64 kLargestWorkbook = qint64{2} << 30;

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

// Closes a file descriptor when it goes out of scope.
struct FileDescriptor {
    int fd;
    explicit FileDescriptor(int descriptor)
        : fd(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { ::close(fd); }
};

void ignoreLogMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// libgsf needs one initialisation; its warnings about damaged containers are dropped, since
// the reader reports every damage as an error of its own. Some of them it logs without a
// domain of its own, under GLib's default one, which nothing else in the program uses.
void initialiseGsf() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        const auto levels =
            static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE |
                                        G_LOG_LEVEL_CRITICAL | G_LOG_FLAG_RECURSION);
        g_log_set_handler("libgsf:msole", levels, ignoreLogMessage, nullptr);
        g_log_set_handler(nullptr, levels, ignoreLogMessage, nullptr);
    });
}

bool startsWith(QByteArrayView file, QByteArrayView prefix) {
    return file.size() >= prefix.size() && file.first(prefix.size()) == prefix;
}

quint16 u16At(QByteArrayView bytes, qsizetype offset) {
    return static_cast<quint16>(static_cast<unsigned char>(bytes[offset]) |
                                (static_cast<unsigned char>(bytes[offset + 1]) << 8));
}

// A bare record stream, without a container: it starts with a BOF record.
bool startsWithBof(QByteArrayView file, quint16 code) {
    return file.size() >= 8 && u16At(file, 0) == code && u16At(file, 2) >= 4 &&
           u16At(file, 2) <= 16;
}

// The error for a file that is not a compound file, by what its first bytes show.
ReadError notAContainer(QByteArrayView file) {
    if (file.isEmpty())
        return {Kind::NotAWorkbook, QStringLiteral("the file is empty")};
    if (startsWith(file, "PK\x03\x04"))
        return {Kind::UnsupportedVersion,
                QStringLiteral("the file is a ZIP package, such as an Excel 2007 or later "
                               "workbook (.xlsx); only Excel 2.x to 2003 workbooks are read")};
    const QByteArrayView head = file.first(std::min<qsizetype>(file.size(), 512));
    const QByteArray lowered = head.toByteArray().toLower();
    if (lowered.contains("<html") || lowered.contains("<?xml") || lowered.contains("<table"))
        return {Kind::NotAWorkbook,
                QStringLiteral("the file is a web page or XML document with an .xls name, not an "
                               "Excel workbook")};
    return {Kind::NotAWorkbook, QStringLiteral("the file is not an Excel workbook")};
}

// The child stream of the root storage whose name matches, ignoring letter case as compound
// files do; nullptr when there is none. A stream whose sectors cannot be found is damage.
GPtr<GsfInput> childStream(GsfInfile* root, const char* name) {
    const int count = gsf_infile_num_children(root);
    for (int i = 0; i < count; ++i) {
        const char* childName = gsf_infile_name_by_index(root, i);
        if (childName == nullptr || g_ascii_strcasecmp(childName, name) != 0)
            continue;
        GPtr<GsfInput> child(gsf_infile_child_by_index(root, i));
        if (child == nullptr)
            throw ReadError(Kind::Corrupt,
                            QStringLiteral("the workbook stream is damaged: its container "
                                           "does not hold all of it"));
        return child;
    }
    return nullptr;
}

QByteArray readAll(GsfInput* stream, qsizetype sizeLimit) {
    const gsf_off_t size = gsf_input_size(stream);
    if (size < 0 || size > sizeLimit)
        throw ReadError(Kind::Corrupt, QStringLiteral("the workbook stream claims %1 bytes, more "
                                                      "than the file holds")
                                           .arg(size));
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (size > 0 && gsf_input_read(stream, static_cast<size_t>(size),
                                   reinterpret_cast<guint8*>(bytes.data())) == nullptr)
        throw ReadError(Kind::Corrupt,
                        QStringLiteral("the workbook stream cannot be read: its container is "
                                       "damaged"));
    return bytes;
}

} // namespace

QByteArray CompoundFile::workbookStreamOf(QByteArrayView file) {
    initialiseGsf();
    GPtr<GsfInput> input(
        gsf_input_memory_new(reinterpret_cast<const guint8*>(file.data()), file.size(), FALSE));
    GError* rawError = nullptr;
    GPtr<GsfInfile> root(gsf_infile_msole_new(input.get(), &rawError));
    const std::unique_ptr<GError, GErrorFree> error(rawError);
    if (root == nullptr) {
        if (startsWith(file, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
            throw ReadError(Kind::Corrupt,
                            QStringLiteral("the file's compound-file container is damaged (%1)")
                                .arg(QString::fromUtf8(error ? error->message : "")));
        // Bare record streams: later versions' BOF, or Excel 2.x's, 3.0's or 4.0's.
        for (const quint16 bof : {0x0809, 0x0009, 0x0209, 0x0409}) {
            if (startsWithBof(file, bof))
                return file.toByteArray();
        }
        throw notAContainer(file);
    }
    // libgsf leaves out the entries it finds damaged; a container left with none is damaged.
    if (gsf_infile_num_children(root.get()) <= 0)
        throw ReadError(Kind::Corrupt,
                        QStringLiteral("the file's compound-file container holds no readable "
                                       "stream"));
    for (const char* name : {"Workbook", "Book"}) {
        if (const GPtr<GsfInput> stream = childStream(root.get(), name))
            return readAll(stream.get(), file.size());
    }
    throw ReadError(Kind::NotAWorkbook,
                    QStringLiteral("the file is an OLE compound document without a workbook "
                                   "stream (another Office document?)"));
}

QByteArray CompoundFile::readWorkbookStream(const QString& path) {
    const QByteArray name = platform::encodeFileName(path);
    // O_NONBLOCK keeps a named pipe from blocking the open; it is refused below.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int openErrno = errno;
        if (openErrno == ENOENT || openErrno == ENOTDIR)
            throw ReadError(Kind::FileNotFound, QStringLiteral("the file does not exist"));
        throw ReadError(Kind::CannotOpen,
                        QStringLiteral("the file cannot be opened: %1")
                            .arg(QString::fromLocal8Bit(std::strerror(openErrno))));
    }
    const FileDescriptor closer(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        throw ReadError(Kind::CannotOpen, S_ISDIR(info.st_mode)
                                              ? QStringLiteral("the name is a folder, not a file")
                                              : QStringLiteral("the name is not an ordinary file"));
    // Refused before a byte is read: such a file would be read whole into memory.
    if (info.st_size > kLargestWorkbook)
        throw ReadError(Kind::CannotOpen,
                        QStringLiteral("the file is %1 bytes long, larger than any workbook the "
                                       ".xls format allows (%2 bytes)")
                            .arg(qint64{info.st_size})
                            .arg(kLargestWorkbook));

    QByteArray file(static_cast<qsizetype>(info.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < file.size()) {
        const ssize_t got = ::read(fd, file.data() + done, static_cast<size_t>(file.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw ReadError(Kind::CannotOpen,
                            QStringLiteral("the file cannot be read: %1")
                                .arg(QString::fromLocal8Bit(std::strerror(errno))));
        if (got == 0)
            break;
        done += got;
    }
    file.truncate(done);
    return workbookStreamOf(file);
}

} // namespace xls
