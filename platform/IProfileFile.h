#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace platform {

// Single values of settings files in the Windows profile (INI) format. Every text, the file name
// included, is in the locale's narrow encoding.
class IProfileFile {
public:
    virtual ~IProfileFile() = default;

    // The key's value read as a whole number: its leading decimal digits with their sign, 0 when
    // it has none; nDefault when the file, the section or the key is missing.
    virtual qint32 GetPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                        qint32 nDefault, const QByteArray& fileName) = 0;
    // Copies the key's value, or lpDefault when it is missing, into buffer (nSize bytes, ending
    // with a NUL) and returns the number of bytes copied. A value too long for the buffer is cut
    // to fit, never inside a multi-byte character.
    virtual quint32 GetPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                            const QByteArray& lpDefault, char* buffer,
                                            quint32 nSize, const QByteArray& fileName) = 0;
    // Sets the key's value, creating the file, the section or the key when missing. Returns
    // nonzero on success.
    virtual int WritePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                          const QByteArray& value, const QByteArray& fileName) = 0;
};

} // namespace platform
