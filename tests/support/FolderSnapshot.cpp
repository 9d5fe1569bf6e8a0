#include "FolderSnapshot.h"

#include "platform/FileName.h"

#include <QCryptographicHash>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

namespace {

QByteArray contentHash(int folderFd, const char* name) {
    const int fd = ::openat(folderFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return QByteArrayLiteral("unreadable");
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        return QByteArrayLiteral("dir");
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    char buffer[65536];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        hash.addData(QByteArrayView(buffer, got));
    ::close(fd);
    return hash.result().toHex();
}

} // namespace

FolderSnapshot::FolderSnapshot(const QString& folder) {
    DIR* dir = ::opendir(platform::encodeFileName(folder).constData());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        m_entries.insert(name, contentHash(::dirfd(dir), entry->d_name));
    }
    ::closedir(dir);
}

QStringList FolderSnapshot::differencesTo(const FolderSnapshot& later) const {
    QStringList result;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        const QString name = platform::decodeFileName(it.key());
        if (!later.m_entries.contains(it.key()))
            result.append(QStringLiteral("removed: ") + name);
        else if (later.m_entries.value(it.key()) != it.value())
            result.append(QStringLiteral("changed: ") + name);
    }
    for (auto it = later.m_entries.cbegin(); it != later.m_entries.cend(); ++it) {
        if (!m_entries.contains(it.key()))
            result.append(QStringLiteral("added: ") + platform::decodeFileName(it.key()));
    }
    return result;
}

} // namespace testsupport
