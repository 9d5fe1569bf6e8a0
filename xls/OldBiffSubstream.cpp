#include "OldBiffSubstream.h"

#include "CellValues.h"
#include "Formatting.h"
#include "OldBiffRecords.h"
#include "PageSetupRecords.h"
#include "ReadError.h"
#include "RecordCodes.h"
#include "RecordReader.h"
#include "RecordStream.h"

#include <QtGlobal>

namespace xls {

namespace {

constexpr int kRowCount = 16384;
constexpr int kColumnCount = 256;

// A record about formatting, layout or page setup whose fields run past its end is kept as
// far as it was read, as in later versions: what it governs keeps its default.
template <typename Read> void passOverDamage(Read read) {
    try {
        read();
    } catch (const ReadError& error) {
        qWarning("%s; read on without it", qPrintable(error.message()));
    }
}

bool isOldBof(quint16 code) {
    return OldBiffRecords::versionOfBof(code).has_value();
}

// Cell records of Excel 2.x carry three bytes of attributes after the position.
bool hasAttributes(quint16 code) {
    return code <= oldrecord::kString2;
}

} // namespace

OldBiffSubstream::OldBiffSubstream(BiffVersion version, Strings& strings, Workbook& workbook)
    : m_version(version)
    , m_strings(strings)
    , m_workbook(workbook) {}

void OldBiffSubstream::read(RecordStream& records, Sheet* sheet) {
    m_sheet = sheet;
    int depth = 0; // substreams nested inside this one, skipped
    Record record;
    while (records.next(record)) {
        if (isOldBof(record.code)) {
            ++depth;
        } else if (record.code == record::kEof) {
            if (depth == 0)
                return;
            --depth;
        } else if (depth == 0) {
            readRecord(record);
        }
    }
    throw ReadError(ReadError::Kind::Corrupt,
                    QStringLiteral("the workbook stream ends inside a sheet"));
}

void OldBiffSubstream::readRecord(const Record& record) {
    if (record.code == record::kFilePass)
        throw ReadError(ReadError::Kind::Encrypted,
                        QStringLiteral("the worksheet is protected by a password to open"));
    if (readFormatting(record))
        return;
    if (m_sheet == nullptr || m_sheet->kind() == SheetKind::Chart)
        return;
    if (readCell(record))
        return;
    passOverDamage([&] {
        readLayout(record);
        PageSetupRecords::read(record, m_version, m_strings, m_sheet->pageSetup());
    });
}

// Workbook settings and the substream's formatting tables. A damaged font or cell format
// keeps its place with the defaults, a damaged number format becomes General.
bool OldBiffSubstream::readFormatting(const Record& record) {
    RecordReader reader(record);
    try {
        switch (record.code) {
        case record::kCodePage:
            m_workbook.setCodePage(reader.u16());
            m_strings.setCodePage(m_workbook.codePage());
            return true;
        case record::kDateMode:
            m_workbook.setUses1904Dates(reader.u16() == 1);
            return true;
        case oldrecord::kFont2:
        case oldrecord::kFont3:
            m_formats.fonts.append(Font{});
            m_formats.fonts.back() = OldBiffRecords::font(reader, m_strings);
            return true;
        case oldrecord::kFontColor2:
            if (!m_formats.fonts.isEmpty())
                m_formats.fonts.back().colorIndex = reader.u16();
            return true;
        case oldrecord::kXf3:
        case oldrecord::kXf4:
            m_formats.cellFormats.append(CellFormat{});
            m_formats.cellFormats.back() = OldBiffRecords::cellFormat(reader);
            return true;
        case oldrecord::kFormat2:
        case oldrecord::kFormat4:
            m_formats.numberFormats.append(QStringLiteral("General"));
            if (record.code == oldrecord::kFormat4)
                reader.skip(2); // a format number, unused: formats are named by their place
            m_formats.numberFormats.back() = m_strings.shortString(reader);
            return true;
        case record::kPalette:
            Formatting::readPalette(reader, m_workbook.palette());
            return true;
        case oldrecord::kBundleSheet:
            reader.skip(6); // where the sheet starts and its options
            m_sheetNames.append(QString());
            m_sheetNames.back() = m_strings.shortString(reader);
            return true;
        default:
            return false;
        }
    } catch (const ReadError& error) {
        qWarning("%s; read on without it", qPrintable(error.message()));
        return true;
    }
}

bool OldBiffSubstream::readCell(const Record& record) {
    RecordReader reader(record);
    if (record.code == oldrecord::kString2 || record.code == oldrecord::kString) {
        readString(reader, record.code);
        return true;
    }
    switch (record.code) {
    case oldrecord::kBlank2:
    case oldrecord::kInteger2:
    case oldrecord::kNumber2:
    case oldrecord::kLabel2:
    case oldrecord::kBoolErr2:
    case oldrecord::kFormula2:
    case oldrecord::kBlank:
    case oldrecord::kNumber:
    case oldrecord::kLabel:
    case oldrecord::kBoolErr:
    case oldrecord::kFormula3:
    case oldrecord::kFormula4:
    case oldrecord::kRk:
        break;
    default:
        return false;
    }
    const int row = reader.u16();
    const int column = reader.u16();
    const int format = cellFormatOf(reader, record.code);
    switch (record.code) {
    case oldrecord::kBlank2:
    case oldrecord::kBlank:
        addCell(Cell::blank(row, column, format));
        break;
    case oldrecord::kInteger2:
        addCell(Cell::number(row, column, format, reader.u16()));
        break;
    case oldrecord::kNumber2:
    case oldrecord::kNumber:
        addCell(Cell::number(row, column, format, reader.f64()));
        break;
    case oldrecord::kRk:
        addCell(Cell::number(row, column, format, CellValues::rkValue(reader.u32())));
        break;
    case oldrecord::kLabel2:
        addCell(Cell::text(row, column, format, m_strings.shortString(reader)));
        break;
    case oldrecord::kLabel:
        addCell(Cell::text(row, column, format, m_strings.longString(reader)));
        break;
    case oldrecord::kBoolErr2:
    case oldrecord::kBoolErr: {
        const quint8 value = reader.u8();
        addCell(reader.u8() != 0 ? Cell::error(row, column, format, CellValues::errorOf(value))
                                 : Cell::boolean(row, column, format, value != 0));
        break;
    }
    default: {
        FormulaResult result = CellValues::formulaResult(row, column, format, reader.bytes(8));
        addCell(std::move(result.cell), result.textFollows);
        break;
    }
    }
    return true;
}

// The text result of the formula just before it: a byte string, its length in one byte in
// Excel 2.x and in two from 3.0 on.
void OldBiffSubstream::readString(RecordReader& reader, quint16 code) {
    const QString text =
        code == oldrecord::kString2 ? m_strings.shortString(reader) : m_strings.longString(reader);
    if (m_pendingString < 0)
        return;
    Cell& cell = m_cells[static_cast<size_t>(m_pendingString)];
    cell = Cell::text(cell.row(), cell.column(), cell.formatIndex(), text);
    cell.setFormula(true);
    m_pendingString = -1;
}

int OldBiffSubstream::cellFormatOf(RecordReader& reader, quint16 code) {
    if (!hasAttributes(code))
        return reader.u16();
    reader.u8(); // protection and the cell format index, which the other two bytes repeat
    const quint8 formatAndFont = reader.u8();
    return attributeFormat(static_cast<quint16>(formatAndFont | (reader.u8() << 8)));
}

int OldBiffSubstream::attributeFormat(quint16 attributes) {
    const auto found = m_formats.attributeFormats.constFind(attributes);
    if (found != m_formats.attributeFormats.constEnd())
        return *found;
    const int index = static_cast<int>(m_formats.cellFormats.size());
    m_formats.cellFormats.append(OldBiffRecords::attributeFormat(
        static_cast<quint8>(attributes & 0xFF), static_cast<quint8>(attributes >> 8)));
    m_formats.attributeFormats.insert(attributes, index);
    return index;
}

void OldBiffSubstream::addCell(Cell cell, bool textFollows) {
    m_pendingString = -1;
    if (cell.row() >= kRowCount || cell.column() >= kColumnCount)
        return;
    m_cells.push_back(std::move(cell));
    if (textFollows)
        m_pendingString = static_cast<qsizetype>(m_cells.size()) - 1;
}

void OldBiffSubstream::readLayout(const Record& record) {
    RecordReader reader(record);
    switch (record.code) {
    case oldrecord::kRow2:
    case oldrecord::kRow: {
        std::optional<quint16> attributes;
        RowInfo info = OldBiffRecords::row(reader, attributes);
        if (attributes)
            info.formatIndex = attributeFormat(*attributes);
        if (info.row < kRowCount)
            m_rows.push_back(info);
        break;
    }
    case oldrecord::kColWidth2:
    case record::kColInfo: {
        const ColumnInfo info = record.code == record::kColInfo
                                    ? OldBiffRecords::columnInfo(reader)
                                    : OldBiffRecords::columnWidth(reader);
        if (info.firstColumn <= info.lastColumn)
            m_columns.push_back(info);
        break;
    }
    case record::kDefColWidth:
        m_sheet->setDefaultColumnWidth(reader.u16());
        break;
    case record::kStandardWidth:
        m_sheet->setStandardColumnWidth(reader.u16());
        break;
    case oldrecord::kDefaultRowHeight2:
        m_sheet->setDefaultRowHeight(reader.u16() & 0x7FFF, false);
        break;
    case oldrecord::kDefaultRowHeight: {
        const quint16 flags = reader.u16();
        m_sheet->setDefaultRowHeight(reader.u16() & 0x7FFF, (flags & 0x0002) != 0);
        break;
    }
    default:
        break;
    }
}

void OldBiffSubstream::finish(Sheet& sheet, const OldBiffPlacement& placement) {
    for (Cell& cell : m_cells)
        cell.setFormatIndex(placement.cellFormat(cell.formatIndex()));
    for (RowInfo& row : m_rows) {
        if (row.formatIndex >= 0)
            row.formatIndex = placement.cellFormat(row.formatIndex);
    }
    for (ColumnInfo& column : m_columns) {
        if (column.formatIndex >= 0)
            column.formatIndex = placement.cellFormat(column.formatIndex);
    }
    sheet.setCells(std::move(m_cells));
    sheet.setRows(std::move(m_rows));
    sheet.setColumns(std::move(m_columns));
}

} // namespace xls
