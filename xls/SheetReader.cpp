#include "SheetReader.h"

#include "CellValues.h"
#include "ConditionalFormatReader.h"
#include "PageSetupRecords.h"
#include "ReadError.h"
#include "RecordCodes.h"
#include "RecordReader.h"
#include "RecordStream.h"

#include <QtEndian>
#include <QtGlobal>

#include <algorithm>

namespace xls {

namespace {

// A layout, format or page setup record whose fields run past its end, in a stream whose
// records are otherwise whole, is kept as far as it was read: what it governs keeps its
// default (a header none, a column its standard width), and the sheet prints. Cells stay
// strict, as a lost value would change what the page says.
template <typename Read> void passOverDamage(Read read) {
    try {
        read();
    } catch (const ReadError& error) {
        qWarning("%s; read on without it", qPrintable(error.message()));
    }
}

constexpr int kColumnCount = 256;
constexpr quint16 kBofChart = 0x0020;
constexpr quint16 kBofModule = 0x0006;

// The kind of substream a BOF starts, or 0 when the record is too short to say.
quint16 substreamType(const Record& bof) {
    return bof.data.size() >= 4 ? qFromLittleEndian<quint16>(bof.data.data() + 2) : 0;
}

} // namespace

SheetReader::SheetReader(QByteArrayView stream, BiffVersion version, const Strings& strings,
                         const SharedStrings& sharedStrings, std::vector<RichText>& richTexts,
                         ChartReference chartReferences)
    : m_stream(stream)
    , m_version(version)
    , m_strings(strings)
    , m_sharedStrings(sharedStrings)
    , m_richTexts(richTexts)
    , m_rowCount(version == BiffVersion::Biff8 ? 65536 : 16384)
    , m_chartReader(strings, std::move(chartReferences))
    , m_olderObjects(version, strings)
    , m_formulas(strings, m_formulaNames) {}

// Whether the window of the sheet whose BOF is at offset displays formulas. A macro sheet
// without a window setting does, as the spreadsheet makes new macro sheets.
bool SheetReader::displaysFormulas(qsizetype offset, SheetKind kind) const {
    RecordStream records(m_stream, offset);
    Record record;
    int depth = -1; // the sheet's own BOF comes first
    while (records.next(record)) {
        if (record.code == record::kBof) {
            ++depth;
        } else if (record.code == record::kEof) {
            if (depth-- == 0)
                break;
        } else if (depth == 0 && record.code == record::kWindow2 && record.data.size() >= 2) {
            return (static_cast<quint8>(record.data[0]) & 0x01) != 0;
        }
    }
    return kind == SheetKind::MacroSheet;
}

bool SheetReader::validPosition(int row, int column) const {
    return row < m_rowCount && column < kColumnCount;
}

void SheetReader::addCell(Cell cell) {
    m_pendingString = -1;
    if (validPosition(cell.row(), cell.column()))
        m_cells.push_back(std::move(cell));
}

qsizetype SheetReader::read(qsizetype offset, Sheet& sheet) {
    m_sheet = &sheet;
    m_cells.clear();
    m_rows.clear();
    m_columns.clear();
    m_merged.clear();
    m_conditionalFormats.clear();
    m_pendingConditions = 0;
    m_pendingString = -1;
    m_drawing.clear();
    m_charts.clear();
    m_chartReader.take();
    m_olderObjects.clear();
    m_headerFooterDrawing.clear();
    m_inCustomView = false;
    m_formulas.clear();

    RecordStream records(m_stream, offset);
    Record record;
    if (offset >= m_stream.size() || !records.next(record) || record.code != record::kBof)
        throw ReadError(
            ReadError::Kind::Corrupt,
            QStringLiteral("sheet \"%1\" does not start with a BOF record").arg(sheet.name()));
    RecordReader bof(record);
    bof.u16();
    const quint16 type = bof.u16();
    // Charts and modules have no cells, whether their BOF or the sheet list says so.
    const bool hasCells =
        type != kBofChart && type != kBofModule &&
        (sheet.kind() == SheetKind::Worksheet || sheet.kind() == SheetKind::MacroSheet);
    m_showFormulas = hasCells && displaysFormulas(offset, sheet.kind());
    const bool chartSheet = type == kBofChart;

    int depth = 0;                // substreams nested inside this one
    bool inEmbeddedChart = false; // in the chart substream that follows a chart object
    while (records.next(record)) {
        if (record.code == record::kBof) {
            ++depth;
            inEmbeddedChart = depth == 1 && hasCells && substreamType(record) == kBofChart;
        } else if (record.code == record::kEof) {
            if (depth == 0) {
                if (chartSheet)
                    sheet.setChart(m_chartReader.take());
                finish(sheet);
                return records.position();
            }
            if (depth == 1 && inEmbeddedChart)
                m_charts.push_back(m_chartReader.take());
            inEmbeddedChart = false;
            --depth;
        } else if (chartSheet && depth == 0) {
            m_chartReader.read(record, records);
            passOverDamage(
                [&] { PageSetupRecords::read(record, m_version, m_strings, sheet.pageSetup()); });
        } else if (inEmbeddedChart && depth == 1) {
            m_chartReader.read(record, records);
        } else if (depth == 0 && hasCells) {
            readRecord(record, records);
        }
    }
    throw ReadError(
        ReadError::Kind::Corrupt,
        QStringLiteral("the workbook stream ends inside sheet \"%1\"").arg(sheet.name()));
}

// Gives the sheet what its records held, at its EOF.
void SheetReader::finish(Sheet& sheet) {
    m_formulas.showIn(m_cells);
    sheet.setCells(std::move(m_cells));
    sheet.setRows(std::move(m_rows));
    sheet.setColumns(std::move(m_columns));
    sheet.setMergedRanges(m_merged);
    std::vector<SheetObject> objects = m_drawing.objects();
    const std::vector<SheetObject>& older = m_olderObjects.objects();
    objects.insert(objects.end(), older.begin(), older.end());
    attachCharts(objects);
    sheet.setObjects(std::move(objects));
    if (m_headerFooterStore != nullptr)
        sheet.setHeaderFooterPictures(m_headerFooterDrawing.pictures(*m_headerFooterStore));
    sheet.setConditionalFormats(m_conditionalFormats);
}

// Each chart substream follows its chart object, so the charts go to the chart objects in
// drawing order.
void SheetReader::attachCharts(std::vector<SheetObject>& objects) {
    for (SheetObject& object : objects) {
        if (object.kind == ObjectKind::Chart && !m_charts.empty()) {
            object.chart = m_charts.front();
            m_charts.pop_front();
        }
        attachCharts(object.children);
    }
}

void SheetReader::readRecord(const Record& record, RecordStream& records) {
    // A custom view keeps its own page setup, which prints only when that view is chosen;
    // printing the sheet uses the sheet's own.
    if (record.code == record::kUsersViewBegin || record.code == record::kUsersViewEnd) {
        m_inCustomView = record.code == record::kUsersViewBegin;
        return;
    }
    if (m_inCustomView)
        return;
    if (m_olderObjects.takes(record)) {
        m_olderObjects.read(record, records);
        return;
    }
    if (m_version == BiffVersion::Biff8 && DrawingReader::isDrawingRecord(record.code)) {
        m_drawing.read(record, records);
        return;
    }
    if (m_version == BiffVersion::Biff8 && record.code == record::kHfPicture) {
        m_headerFooterDrawing.read(record, false);
        return;
    }
    switch (record.code) {
    case record::kBlank:
    case record::kMulBlank:
    case record::kNumber:
    case record::kRk:
    case record::kMulRk:
    case record::kLabel:
    case record::kLabelSst:
    case record::kRString:
    case record::kBoolErr:
    case record::kFormula:
    case record::kString:
        readCellRecord(record, records);
        break;
    case record::kShrFmla:
    case record::kArray:
        if (m_showFormulas)
            passOverDamage([&] { m_formulas.readGroup(record); });
        break;
    case record::kRow:
    case record::kColInfo:
    case record::kDefColWidth:
    case record::kStandardWidth:
    case record::kDefaultRowHeight:
    case record::kMergedCells:
        passOverDamage([&] { readLayoutRecord(record); });
        break;
    case record::kPhoneticInfo:
    case record::kCondFmt:
    case record::kCf:
        passOverDamage([&] { readFormatRecord(record); });
        break;
    default:
        passOverDamage(
            [&] { PageSetupRecords::read(record, m_version, m_strings, m_sheet->pageSetup()); });
        break;
    }
}

void SheetReader::readCellRecord(const Record& record, RecordStream& records) {
    RecordReader reader(record);
    if (record.code == record::kString) {
        // The text result of the formula just before it.
        RecordReader text(record, records.takeContinues());
        const QString value = m_strings.longString(text);
        if (m_pendingString >= 0) {
            Cell& cell = m_cells[static_cast<size_t>(m_pendingString)];
            cell = Cell::text(cell.row(), cell.column(), cell.formatIndex(), value);
            cell.setFormula(true);
            m_pendingString = -1;
        }
        return;
    }
    const int row = reader.u16();
    const int column = reader.u16();
    switch (record.code) {
    case record::kBlank:
        addCell(Cell::blank(row, column, reader.u16()));
        break;
    case record::kMulBlank: {
        const qsizetype count = (reader.remaining() - 2) / 2;
        for (qsizetype i = 0; i < count; ++i)
            addCell(Cell::blank(row, column + static_cast<int>(i), reader.u16()));
        break;
    }
    case record::kNumber: {
        const int format = reader.u16();
        addCell(Cell::number(row, column, format, reader.f64()));
        break;
    }
    case record::kRk: {
        const int format = reader.u16();
        addCell(Cell::number(row, column, format, CellValues::rkValue(reader.u32())));
        break;
    }
    case record::kMulRk: {
        const qsizetype count = (reader.remaining() - 2) / 6;
        for (qsizetype i = 0; i < count; ++i) {
            const int format = reader.u16();
            addCell(Cell::number(row, column + static_cast<int>(i), format,
                                 CellValues::rkValue(reader.u32())));
        }
        break;
    }
    case record::kLabel: {
        const int format = reader.u16();
        addCell(Cell::text(row, column, format, m_strings.longString(reader)));
        break;
    }
    case record::kRString: {
        const int format = reader.u16();
        addText(row, column, format, m_strings.formattedString(reader));
        break;
    }
    case record::kLabelSst: {
        const int format = reader.u16();
        const quint32 index = reader.u32();
        const QList<QString>& texts = m_sharedStrings.texts;
        if (index >= static_cast<quint32>(texts.size()))
            throw reader.corrupt(QStringLiteral("shared string %1 does not exist; the table "
                                                "holds %2")
                                     .arg(index)
                                     .arg(texts.size()));
        addCell(Cell::text(row, column, format, texts[index],
                           m_sharedStrings.richTextOf.value(index, -1)));
        break;
    }
    case record::kBoolErr: {
        const int format = reader.u16();
        const quint8 value = reader.u8();
        if (reader.u8() != 0)
            addCell(Cell::error(row, column, format, CellValues::errorOf(value)));
        else
            addCell(Cell::boolean(row, column, format, value != 0));
        break;
    }
    case record::kFormula: {
        const int format = reader.u16();
        FormulaResult result = CellValues::formulaResult(row, column, format, reader.bytes(8));
        addCell(std::move(result.cell));
        if (!validPosition(row, column))
            break;
        if (result.textFollows)
            m_pendingString = static_cast<qsizetype>(m_cells.size()) - 1;
        if (m_showFormulas)
            passOverDamage(
                [&] { m_formulas.read(reader, record, m_cells.size() - 1, row, column); });
        break;
    }
    default:
        break;
    }
}

void SheetReader::readLayoutRecord(const Record& record) {
    RecordReader reader(record);
    switch (record.code) {
    case record::kRow: {
        RowInfo info;
        info.row = reader.u16();
        reader.skip(4); // first and last column
        const quint16 height = reader.u16();
        reader.skip(4);
        const quint16 flags = reader.u16();
        const quint16 format = reader.u16();
        info.height = height & 0x7FFF;
        info.defaultHeight = (height & 0x8000) != 0;
        info.hidden = (flags & 0x0020) != 0;
        info.customHeight = (flags & 0x0040) != 0;
        info.formatIndex = (flags & 0x0080) != 0 ? (format & 0x0FFF) : -1;
        if (info.row < m_rowCount)
            m_rows.push_back(info);
        break;
    }
    case record::kColInfo: {
        ColumnInfo info;
        info.firstColumn = reader.u16();
        info.lastColumn = std::min<int>(reader.u16(), kColumnCount - 1);
        info.width = reader.u16();
        info.formatIndex = reader.u16();
        info.hidden = (reader.u16() & 0x0001) != 0;
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
    case record::kDefaultRowHeight: {
        const quint16 flags = reader.u16();
        m_sheet->setDefaultRowHeight(reader.u16() & 0x7FFF, (flags & 0x0002) != 0);
        break;
    }
    case record::kMergedCells:
        m_merged.append(cellRanges(reader));
        break;
    default:
        break;
    }
}

void SheetReader::addText(int row, int column, int format, FormattedString text) {
    int richText = -1;
    if (!text.rich.isEmpty() && validPosition(row, column)) {
        richText = static_cast<int>(m_richTexts.size());
        m_richTexts.push_back(std::move(text.rich));
    }
    addCell(Cell::text(row, column, format, text.text, richText));
}

// A count, then that many ranges as first row, last row, first column and last column; those
// that start outside the sheet or end before they start are left out.
QList<CellRange> SheetReader::cellRanges(RecordReader& reader) const {
    const int count = reader.u16();
    QList<CellRange> ranges;
    for (int i = 0; i < count; ++i) {
        CellRange range;
        range.firstRow = reader.u16();
        range.lastRow = std::min(static_cast<int>(reader.u16()), m_rowCount - 1);
        range.firstColumn = reader.u16();
        range.lastColumn = std::min(static_cast<int>(reader.u16()), kColumnCount - 1);
        if (range.firstRow <= range.lastRow && range.firstColumn <= range.lastColumn)
            ranges.append(range);
    }
    return ranges;
}

// Phonetic guide settings and conditional formats. A damaged one is left out; the sheet is
// read on.
void SheetReader::readFormatRecord(const Record& record) {
    RecordReader reader(record);
    if (record.code == record::kCf) {
        if (m_pendingConditions == 0)
            return;
        --m_pendingConditions;
        if (const std::optional<Condition> condition =
                ConditionalFormatReader::condition(reader, m_strings))
            m_conditionalFormats.back().conditions.append(*condition);
        return;
    }
    m_pendingConditions = 0;
    try {
        if (record.code == record::kPhoneticInfo) {
            PhoneticSettings settings;
            settings.fontIndex = reader.u16();
            const quint16 flags = reader.u16();
            settings.type = static_cast<PhoneticType>(flags & 0x03);
            settings.alignment = static_cast<PhoneticAlignment>((flags >> 2) & 0x03);
            settings.shownRanges = cellRanges(reader);
            m_sheet->setPhoneticSettings(settings);
            return;
        }
        const int conditions = reader.u16();
        reader.skip(10); // recalculation flag and identifier, the bounds of the ranges
        ConditionalFormat format;
        format.ranges = cellRanges(reader);
        m_conditionalFormats.append(format);
        m_pendingConditions = conditions;
    } catch (const ReadError&) {
        // Left out; so are the CF records that follow a damaged CONDFMT.
    }
}

} // namespace xls
