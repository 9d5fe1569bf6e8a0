#pragma once

#include <QByteArrayView>
#include <QString>

namespace xls {

// Turns byte strings of a Windows code page into text. Excel 5.0/95 workbooks keep their
// texts as bytes of the code page that their CODEPAGE record names (932 for Japanese ones).
// One object is shared by every thread that reads workbooks, so decode must be thread-safe.
class ICodePages {
public:
    virtual ~ICodePages() = default;

    // The text of bytes in codePage, a code page number as the CODEPAGE record gives it.
    // Bytes that the code page does not map become U+FFFD; a code page that is not known is
    // read as 1252, the Western Windows code page.
    virtual QString decode(int codePage, QByteArrayView bytes) const = 0;
};

} // namespace xls
