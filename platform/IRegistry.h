#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace platform {

// Read access to a registry of keys and typed values, as the system-information lookup uses it.
// Key paths are separated by backslashes and match without regard to letter case.
class IRegistry {
public:
    using Key = quintptr;
    static constexpr Key HKEY_LOCAL_MACHINE = 0x80000002;

    static constexpr quint32 KEY_QUERY_VALUE = 0x0001;
    static constexpr quint32 KEY_READ = 0x20019;

    static constexpr quint32 REG_SZ = 1;
    static constexpr quint32 REG_DWORD = 4;

    static constexpr qint32 ERROR_SUCCESS = 0;
    static constexpr qint32 ERROR_FILE_NOT_FOUND = 2;
    static constexpr qint32 ERROR_ACCESS_DENIED = 5;
    static constexpr qint32 ERROR_INVALID_HANDLE = 6;
    static constexpr qint32 ERROR_MORE_DATA = 234;

    virtual ~IRegistry() = default;
    // Opens subKey below root for the access in samDesired; result receives the open key.
    virtual qint32 RegOpenKeyEx(Key root, const QByteArray& subKey, quint32 options,
                                quint32 samDesired, Key& result) = 0;
    // Copies the value's data (a text value with its terminating zero) into data; size holds the
    // buffer's size going in and the data's size coming out.
    virtual qint32 RegQueryValueEx(Key key, const QByteArray& valueName, quint32& type,
                                   char* data, quint32& size) = 0;
    virtual qint32 RegCloseKey(Key key) = 0;
};

} // namespace platform
