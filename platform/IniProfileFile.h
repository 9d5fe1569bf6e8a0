#pragma once

#include "IProfileFile.h"

namespace platform {

// Our own reader and writer of profile files.
//
// Reading: "[section]" lines open a section, "key=value" lines give values, lines that begin
// with ";" or "#" are comments, anything else is ignored. Section and key names match without
// regard to letter case (ASCII), and the first match wins. Blanks around names and values are
// trimmed, and one pair of quotes around a value is removed. LF and CR LF line ends are both read.
//
// Writing replaces the first matching key, or adds the key at the end of its section, or the
// section at the end of the file; every other line stays as it was. The new file is written
// beside the old one and renamed over it, so a failure never leaves half a file. A name or value
// that would break the file's lines (a line break, "=" in a key, "]" in a section) is refused.
class IniProfileFile : public IProfileFile {
public:
    qint32 GetPrivateProfileInt(const QByteArray& section, const QByteArray& key, qint32 nDefault,
                                const QByteArray& fileName) override;
    quint32 GetPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                    const QByteArray& lpDefault, char* buffer, quint32 nSize,
                                    const QByteArray& fileName) override;
    int WritePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                  const QByteArray& value, const QByteArray& fileName) override;
};

} // namespace platform
