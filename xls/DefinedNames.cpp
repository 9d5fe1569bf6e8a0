#include "DefinedNames.h"

#include <algorithm>

namespace xls {

namespace {

constexpr quint16 kBuiltIn = 0x0020;
constexpr char16_t kPrintAreaCode = 0x06;
constexpr char16_t kPrintTitlesCode = 0x07;
constexpr int kLastColumn = 255;
// The character count of a SUPBOOK that stands for the workbook itself.
constexpr quint16 kOwnWorkbook = 0x0401;

// Formula tokens, without the class bits (0x20, 0x40) that say how an operand is used.
constexpr quint8 kList = 0x10;
constexpr quint8 kParenthesis = 0x15;
constexpr quint8 kMemArea = 0x06;
constexpr quint8 kMemFunc = 0x09;
constexpr quint8 kRef = 0x04;
constexpr quint8 kArea = 0x05;
constexpr quint8 kRef3d = 0x1A;
constexpr quint8 kArea3d = 0x1B;

// A 16-bit column field of Excel 97-2003 keeps relative-reference flags in its top bits.
int biff8Column(quint16 field) {
    return std::min<int>(field & 0x3FFF, kLastColumn);
}

// A 16-bit row field of Excel 5.0/95 keeps the flags in its top bits.
int biff5Row(quint16 field) {
    return field & 0x3FFF;
}

// A built-in name by its one-character code, or a name written out in full.
bool isName(const QString& name, bool builtIn, char16_t code, QLatin1String text) {
    if (builtIn && name.size() == 1)
        return name[0] == code;
    return name.compare(text, Qt::CaseInsensitive) == 0;
}

// The names of the built-in names by their one-character codes, as formulas show them.
QString builtInName(char16_t code) {
    static const char* const names[] = {
        "Consolidate_Area", "Auto_Open",       "Auto_Close",   "Extract",        "Database",
        "Criteria",         "Print_Area",      "Print_Titles", "Recorder",       "Data_Form",
        "Auto_Activate",    "Auto_Deactivate", "Sheet_Title",  "_FilterDatabase"};
    return code < std::size(names) ? QLatin1String(names[code]) : QString();
}

CellRange normalised(CellRange range) {
    if (range.firstRow > range.lastRow)
        std::swap(range.firstRow, range.lastRow);
    if (range.firstColumn > range.lastColumn)
        std::swap(range.firstColumn, range.lastColumn);
    return range;
}

} // namespace

DefinedNames::DefinedNames(BiffVersion version)
    : m_version(version) {}

int DefinedNames::lastRow() const {
    return m_version == BiffVersion::Biff8 ? 0xFFFF : 0x3FFF;
}

CellRange DefinedNames::areaOperand(RecordReader& formula) const {
    CellRange range;
    if (m_version == BiffVersion::Biff8) {
        range.firstRow = formula.u16();
        range.lastRow = formula.u16();
        range.firstColumn = biff8Column(formula.u16());
        range.lastColumn = biff8Column(formula.u16());
    } else {
        range.firstRow = biff5Row(formula.u16());
        range.lastRow = biff5Row(formula.u16());
        range.firstColumn = formula.u8();
        range.lastColumn = formula.u8();
    }
    return normalised(range);
}

CellRange DefinedNames::cellOperand(RecordReader& formula) const {
    CellRange range;
    if (m_version == BiffVersion::Biff8) {
        range.firstRow = range.lastRow = formula.u16();
        range.firstColumn = range.lastColumn = biff8Column(formula.u16());
    } else {
        range.firstRow = range.lastRow = biff5Row(formula.u16());
        range.firstColumn = range.lastColumn = formula.u8();
    }
    return range;
}

void DefinedNames::readSupportingBook(RecordReader& reader) {
    reader.u16(); // sheet count
    m_ownBooks.append(reader.u16() == kOwnWorkbook);
}

void DefinedNames::readExternSheet(RecordReader& reader) {
    const int count = reader.u16();
    for (int i = 0; i < count && reader.remaining() >= 6; ++i) {
        ExternSheet entry;
        entry.book = reader.u16();
        entry.firstSheet = static_cast<qint16>(reader.u16());
        entry.lastSheet = static_cast<qint16>(reader.u16());
        m_externSheets.append(entry);
    }
}

int DefinedNames::sheetOfReference(int externSheet) const {
    if (externSheet < 0 || externSheet >= m_externSheets.size() || linksElsewhere(externSheet))
        return -1;
    return std::max(-1, m_externSheets[externSheet].firstSheet);
}

// True when an EXTERNSHEET entry of a 3-D reference leads to a SUPBOOK of another workbook
// (or of an add-in, DDE or OLE link). An entry the file does not hold is taken as this
// workbook's: writers that refer to nothing else may leave the tables out.
bool DefinedNames::linksElsewhere(int externSheet) const {
    if (externSheet >= m_externSheets.size())
        return false;
    const int book = m_externSheets[externSheet].book;
    return book < m_ownBooks.size() && !m_ownBooks[book];
}

QList<CellRange> DefinedNames::rangesOf(RecordReader& formula) const {
    QList<CellRange> ranges;
    // The sheet part of a 3-D reference: an EXTERNSHEET index (BIFF8), or an index, eight
    // reserved bytes and the first and last sheet (BIFF5). Into this workbook, the name's own
    // sheet is used.
    const auto intoThisWorkbook = [&] {
        if (m_version != BiffVersion::Biff8) {
            formula.skip(14);
            return true;
        }
        return !linksElsewhere(formula.u16());
    };
    while (!formula.atEnd()) {
        const quint8 token = formula.u8();
        const quint8 base = token >= 0x20 ? (token & 0x1F) : token;
        if (token == kList || token == kParenthesis)
            continue;
        if (token < 0x20)
            return {};
        switch (base) {
        case kMemFunc:
            formula.skip(2);
            break;
        case kMemArea:
            formula.skip(6);
            break;
        case kArea:
            ranges.append(areaOperand(formula));
            break;
        case kRef:
            ranges.append(cellOperand(formula));
            break;
        case kArea3d:
            if (!intoThisWorkbook())
                return {};
            ranges.append(areaOperand(formula));
            break;
        case kRef3d:
            if (!intoThisWorkbook())
                return {};
            ranges.append(cellOperand(formula));
            break;
        default:
            return {};
        }
    }
    return ranges;
}

void DefinedNames::read(RecordReader& reader, const Strings& strings) {
    m_texts.append(QString());
    const quint16 flags = reader.u16();
    reader.u8(); // keyboard shortcut
    const quint8 nameLength = reader.u8();
    const quint16 formulaSize = reader.u16();
    reader.u16();
    const int sheet = reader.u16(); // from 1; 0 for a name of the whole workbook
    reader.skip(4);                 // lengths of menu, description, help and status texts
    // A built-in name is a one-character code; Excel 5.0/95 keeps it as one byte, whatever
    // the code page.
    const bool builtIn = (flags & kBuiltIn) != 0;
    const QString name = builtIn && nameLength == 1 && m_version == BiffVersion::Biff5
                             ? QString(QChar(reader.u8()))
                             : strings.stringOfLength(reader, nameLength);
    m_texts.last() = builtIn && name.size() == 1 ? builtInName(name[0].unicode()) : name;
    if (sheet == 0)
        return;

    const bool titles = isName(name, builtIn, kPrintTitlesCode, QLatin1String("Print_Titles"));
    if (!titles && !isName(name, builtIn, kPrintAreaCode, QLatin1String("Print_Area")))
        return;

    if (formulaSize > reader.remaining())
        throw reader.corrupt(QStringLiteral("the formula of a defined name is longer than its "
                                            "record"));
    Record formulaRecord{reader.code(), reader.offset(), {}};
    const QByteArray formulaBytes = reader.bytes(formulaSize);
    formulaRecord.data = formulaBytes;
    RecordReader formula(formulaRecord);
    const QList<CellRange> ranges = rangesOf(formula);
    if (!ranges.isEmpty())
        m_names.append({sheet - 1, titles, ranges});
}

void DefinedNames::applyTo(std::vector<Sheet>& sheets) const {
    for (const PrintName& printName : m_names) {
        if (printName.sheet >= static_cast<int>(sheets.size()))
            continue;
        Sheet& sheet = sheets[static_cast<size_t>(printName.sheet)];
        if (!printName.titles) {
            sheet.setPrintAreas(printName.ranges);
            continue;
        }
        for (const CellRange& range : printName.ranges) {
            if (range.firstColumn == 0 && range.lastColumn >= kLastColumn)
                sheet.setTitleRows(range);
            else if (range.firstRow == 0 && range.lastRow >= lastRow())
                sheet.setTitleColumns(range);
        }
    }
}

FormulaNames DefinedNames::formulaNames(const QStringList& sheetNames) const {
    FormulaNames names;
    names.definedNames = m_texts;
    names.sheets = sheetNames;
    for (qsizetype i = 0; i < m_externSheets.size(); ++i) {
        const ExternSheet& entry = m_externSheets[i];
        const bool inRange = entry.firstSheet >= 0 && entry.lastSheet < sheetNames.size() &&
                             entry.firstSheet <= entry.lastSheet;
        if (linksElsewhere(static_cast<int>(i)) || !inRange) {
            names.externSheets.append(QString());
            continue;
        }
        QString sheets = sheetNames[entry.firstSheet];
        if (entry.lastSheet != entry.firstSheet)
            sheets += QLatin1Char(':') + sheetNames[entry.lastSheet];
        names.externSheets.append(quotedSheetName(sheets));
    }
    return names;
}

} // namespace xls
