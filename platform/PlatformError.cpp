#include "PlatformError.h"

#include <cerrno>
#include <cstring>

namespace platform {

PlatformError::PlatformError(int number, const QString& description)
    : std::runtime_error(description.toStdString())
    , m_number(number)
    , m_description(description) {}

PlatformError PlatformError::fromErrno(int errnoValue, const QString& path) {
    int number = kPathFileAccess;
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        number = kPathNotFound;
        break;
    case EACCES:
    case EPERM:
        number = kPermissionDenied;
        break;
    default:
        break;
    }
    return {number,
            path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errnoValue))};
}

} // namespace platform
