#pragma once

#include "CellFormat.h"
#include "ColumnInfo.h"
#include "Font.h"
#include "RecordReader.h"
#include "RowInfo.h"
#include "Strings.h"
#include "Workbook.h"

#include <optional>

// The record numbers of Excel 2.x, 3.0 and 4.0 streams (BIFF2, BIFF3, BIFF4) that the reader
// looks at, where they differ from later versions. The page setup records, CODEPAGE,
// DATEMODE, COLINFO, DEFCOLWIDTH, STANDARDWIDTH and PALETTE keep their later numbers.
namespace xls::oldrecord {

constexpr quint16 kBofBiff2 = 0x0009;
constexpr quint16 kBofBiff3 = 0x0209;
constexpr quint16 kBofBiff4 = 0x0409;

// Excel 2.x cells, each with three bytes of cell attributes after its position.
constexpr quint16 kBlank2 = 0x0001;
constexpr quint16 kInteger2 = 0x0002;
constexpr quint16 kNumber2 = 0x0003;
constexpr quint16 kLabel2 = 0x0004;
constexpr quint16 kBoolErr2 = 0x0005;
constexpr quint16 kFormula2 = 0x0006;
constexpr quint16 kString2 = 0x0007;
constexpr quint16 kRow2 = 0x0008;
constexpr quint16 kColWidth2 = 0x0024;
constexpr quint16 kDefaultRowHeight2 = 0x0025;
constexpr quint16 kFontColor2 = 0x0045;

// Excel 3.0 and 4.0 cells, each with a cell format index after its position.
constexpr quint16 kBlank = 0x0201;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kLabel = 0x0204;
constexpr quint16 kBoolErr = 0x0205;
constexpr quint16 kFormula3 = 0x0206;
constexpr quint16 kFormula4 = 0x0406;
constexpr quint16 kString = 0x0207;
constexpr quint16 kRk = 0x027E;
constexpr quint16 kRow = 0x0208;
constexpr quint16 kDefaultRowHeight = 0x0225;

// Formatting: FONT of Excel 2.x (the same number as later versions' own layout), FONT of 3.0
// and 4.0, XF of 3.0 and 4.0, FORMAT of 2.x and 3.0, and of 4.0.
constexpr quint16 kFont2 = 0x0031;
constexpr quint16 kFont3 = 0x0231;
constexpr quint16 kXf3 = 0x0243;
constexpr quint16 kXf4 = 0x0443;
constexpr quint16 kFormat2 = 0x001E;
constexpr quint16 kFormat4 = 0x041E;

// An Excel 4.0 workbook's list of its sheets.
constexpr quint16 kBundleSheet = 0x008F;

} // namespace xls::oldrecord

namespace xls {

// Decodes the records of Excel 2.x, 3.0 and 4.0 streams whose layout is their own: fonts,
// cell formats (Excel 2.x keeps them in each cell's attributes), rows and column widths.
// Colour indices come out in the later numbering, so that the palette reads them alike.
class OldBiffRecords {
public:
    // The version that a BOF record number stands for, if it is one of these versions'.
    static std::optional<BiffVersion> versionOfBof(quint16 code);

    // Each record is decoded by the layout its number names, whatever the BOF said.
    static Font font(RecordReader& reader, const Strings& strings);
    // An XF record of Excel 3.0 or 4.0.
    static CellFormat cellFormat(RecordReader& reader);
    // The cell format that Excel 2.x cell attributes give: their second byte (number format
    // and font) and third (alignment, borders, shading).
    static CellFormat attributeFormat(quint8 formatAndFont, quint8 style);
    // A ROW record. Excel 2.x rows may carry cell attributes of their own, which come back
    // in attributes (second and third byte, as attributeFormat takes them).
    static RowInfo row(RecordReader& reader, std::optional<quint16>& attributes);
    // An Excel 2.x COLWIDTH record (COLINFO from 3.0 on).
    static ColumnInfo columnWidth(RecordReader& reader);
    static ColumnInfo columnInfo(RecordReader& reader);
};

} // namespace xls
