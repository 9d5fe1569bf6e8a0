#pragma once

#include "CellFormat.h"
#include "Font.h"
#include "Palette.h"
#include "RecordReader.h"
#include "Strings.h"
#include "Workbook.h"

#include <QString>

#include <utility>

namespace xls {

// Decodes the formatting records of the workbook globals: fonts, cell formats (XF), number
// formats and the palette, in their Excel 5.0/95 and Excel 97-2003 layouts.
class Formatting {
public:
    static Font font(RecordReader& reader, const Strings& strings);
    static CellFormat cellFormat(RecordReader& reader, BiffVersion version);
    // The format index and code of a FORMAT record.
    static std::pair<int, QString> numberFormat(RecordReader& reader, const Strings& strings);
    // Sets the palette colours that a PALETTE record lists.
    static void readPalette(RecordReader& reader, Palette& palette);
    // An underline and a border line style by their codes in the file; unknown codes are none.
    static Underline underline(quint8 code);
    static BorderStyle borderStyle(int code);
};

} // namespace xls
