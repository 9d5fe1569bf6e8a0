#include "FlockInstanceLock.h"

#include "FileName.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

FlockInstanceLock::FlockInstanceLock(const QString& lockPath) {
    // O_CLOEXEC keeps the lock out of every program we start, so none of them can hold it on.
    m_fd = ::open(encodeFileName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
                  0600);
    if (m_fd < 0)
        return; // Without a lock file no copy can hold it either: start normally.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        m_heldElsewhere = errno == EWOULDBLOCK;
        ::close(m_fd);
        m_fd = -1;
    }
}

FlockInstanceLock::~FlockInstanceLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QString FlockInstanceLock::defaultLockPath() {
    const QByteArray runtimeDir = qgetenv("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty())
        return decodeFileName(runtimeDir) + QStringLiteral("/tessaly.lock");
    return QDir::tempPath() + QStringLiteral("/tessaly-%1.lock").arg(::getuid());
}

} // namespace platform
