#pragma once

#include "IRegistry.h"

namespace platform {

// The one registry value this system answers: "PATH" of the key
// "SOFTWARE\Microsoft\Shared Tools\MSINFO" below HKEY_LOCAL_MACHINE, a text naming the first
// system information program found on PATH (hardinfo, kinfocenter, gnome-system-monitor).
// Every other key is missing, and nothing may be opened for writing.
class SystemInfoRegistry : public IRegistry {
public:
    qint32 RegOpenKeyEx(Key root, const QByteArray& subKey, quint32 options, quint32 samDesired,
                        Key& result) override;
    qint32 RegQueryValueEx(Key key, const QByteArray& valueName, quint32& type, char* data,
                           quint32& size) override;
    qint32 RegCloseKey(Key key) override;

private:
    static constexpr Key kSystemInfoKey = 1;
    int m_openCount = 0;
};

} // namespace platform
