#include "SystemInfoRegistry.h"

#include "ChildProcesses.h"

#include <cstring>

namespace platform {

namespace {
constexpr quint32 kReadOnlyAccess = IRegistry::KEY_READ;
} // namespace

qint32 SystemInfoRegistry::RegOpenKeyEx(Key root, const QByteArray& subKey, quint32 /*options*/,
                                        quint32 samDesired, Key& result) {
    result = 0;
    if (root != HKEY_LOCAL_MACHINE ||
        subKey.compare("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", Qt::CaseInsensitive) != 0)
        return ERROR_FILE_NOT_FOUND;
    if ((samDesired & ~kReadOnlyAccess) != 0)
        return ERROR_ACCESS_DENIED;
    result = kSystemInfoKey;
    ++m_openCount;
    return ERROR_SUCCESS;
}

qint32 SystemInfoRegistry::RegQueryValueEx(Key key, const QByteArray& valueName, quint32& type,
                                           char* data, quint32& size) {
    if (key != kSystemInfoKey || m_openCount == 0)
        return ERROR_INVALID_HANDLE;
    if (valueName.compare("PATH", Qt::CaseInsensitive) != 0)
        return ERROR_FILE_NOT_FOUND;
    for (const char* tool : {"hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        const auto found = findOnPath(tool);
        if (!found)
            continue;
        const auto needed = static_cast<quint32>(found->size() + 1);
        type = REG_SZ;
        if (data == nullptr || size < needed) {
            size = needed;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, found->constData(), needed);
        size = needed;
        return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

qint32 SystemInfoRegistry::RegCloseKey(Key key) {
    if (key != kSystemInfoKey || m_openCount == 0)
        return ERROR_INVALID_HANDLE;
    --m_openCount;
    return ERROR_SUCCESS;
}

} // namespace platform
