#include "ProfileSlot.h"

#include "AutomationError.h"
#include "platform/FileName.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace office {

namespace {

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// mkdir -p, with folders only the user can enter.
bool makeFolders(const QByteArray& path) {
    for (qsizetype slash = path.indexOf('/', 1); slash != -1;
         slash = path.indexOf('/', slash + 1)) {
        if (::mkdir(path.left(slash).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return ::mkdir(path.constData(), 0700) == 0 || errno == EEXIST;
}

} // namespace

ProfileSlot::ProfileSlot(const QString& root) {
    if (!makeFolders(platform::encodeFileName(root)))
        throw AutomationError(
            QStringLiteral("Cannot create the profile folder %1: %2").arg(root, errnoText(errno)));
    for (int slot = 0; slot < kMaximumSlots; ++slot) {
        const QString folder = root + QStringLiteral("/profile-%1").arg(slot);
        const QByteArray lockPath = platform::encodeFileName(folder + QStringLiteral(".lock"));
        const int fd =
            ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            throw AutomationError(QStringLiteral("Cannot open the profile lock %1.lock: %2")
                                      .arg(folder, errnoText(errno)));
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_folder = folder;
            m_lock = fd;
            return;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK)
            throw AutomationError(
                QStringLiteral("Cannot lock the profile %1: %2").arg(folder, errnoText(error)));
    }
    throw AutomationError(QStringLiteral("All %1 LibreOffice profiles in %2 are in use")
                              .arg(kMaximumSlots)
                              .arg(root));
}

ProfileSlot::~ProfileSlot() {
    ::close(m_lock);
}

} // namespace office
