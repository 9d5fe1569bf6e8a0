#include "FormulaText.h"

#include "Cell.h"
#include "FunctionNames.h"
#include "ReadError.h"
#include "RecordReader.h"

#include <QRegularExpression>

#include <vector>

namespace xls {

namespace {

// Token codes, without the class bits (0x20, 0x40, 0x60) of operands and functions.
enum Token : quint8 {
    kAdd = 0x03,
    kRange = 0x11,
    kPlus = 0x12,
    kMinus = 0x13,
    kPercent = 0x14,
    kParen = 0x15,
    kMissing = 0x16,
    kString = 0x17,
    kAttribute = 0x19,
    kError = 0x1C,
    kBoolean = 0x1D,
    kInteger = 0x1E,
    kNumber = 0x1F,
    kArray = 0x20,
    kFunction = 0x21,
    kFunctionVar = 0x22,
    kName = 0x23,
    kRef = 0x24,
    kArea = 0x25,
    kMemArea = 0x26,
    kMemError = 0x27,
    kMemNoMemory = 0x28,
    kMemFunction = 0x29,
    kRefError = 0x2A,
    kAreaError = 0x2B,
    kRefN = 0x2C,
    kAreaN = 0x2D,
    kNameX = 0x39,
    kRef3d = 0x3A,
    kArea3d = 0x3B,
    kRefError3d = 0x3C,
    kAreaError3d = 0x3D,
};

// The binary operators from ptgAdd (0x03) to ptgRange (0x11), in token order; intersection
// is a space.
constexpr const char* kOperators[] = {
    "+", "-", "*", "/", "^", "&", "<", "<=", "=", ">=", ">", "<>", " ", ",", ":"};

constexpr quint8 kAttrChoose = 0x04;
constexpr quint8 kAttrSum = 0x10;
constexpr int kUserFunction = 0xFF;
constexpr quint16 kCommandBit = 0x8000;

// Thrown inside the walk for a token this reader cannot show; the formula then has no text.
struct Unknown {};

QString columnName(int column) {
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

QString numberText(double value) {
    return QString::number(value, 'g', 15)
        .replace(QLatin1String("e+"), QLatin1String("E+"))
        .replace(QLatin1String("e-"), QLatin1String("E-"));
}

// A column offset of a shared formula's reference: one byte, signed.
int signedByte(int field) {
    return field >= 0x80 ? field - 0x100 : field;
}

// One end of a reference: where it points and which parts are relative.
struct Corner {
    int row = 0;
    int column = 0;
    bool rowRelative = false;
    bool columnRelative = false;

    QString columnText() const {
        return (columnRelative ? QString() : QStringLiteral("$")) + columnName(column);
    }
    QString rowText() const {
        return (rowRelative ? QString() : QStringLiteral("$")) + QString::number(row + 1);
    }
    QString text() const { return columnText() + rowText(); }
};

class Decompiler {
public:
    Decompiler(const ParsedFormula& formula, const Strings& strings, const FormulaNames& names)
        : m_formula(formula)
        , m_tokens(formula.tokens)
        , m_extra(Record{formula.tokens.code, formula.tokens.offset, formula.extra})
        , m_strings(strings)
        , m_names(names)
        , m_biff8(strings.version() == BiffVersion::Biff8) {}

    QString run() {
        while (!m_tokens.atEnd())
            readToken();
        if (m_stack.size() != 1)
            throw Unknown{};
        return QLatin1Char('=') + m_stack.back();
    }

private:
    void readToken();
    void readOperator(quint8 token);
    void readOperand(quint8 token);
    void readAttribute();
    void readFunction(int index, int count, bool command);
    QString arrayText();
    QString nameText(int index) const;
    QString sheetPrefix();
    Corner cornerOf(int rowField, int columnField, bool relativeToCell) const;
    Corner corner(bool relativeToCell);
    QString areaText(bool relativeToCell);

    QString pop() {
        if (m_stack.empty())
            throw Unknown{};
        QString top = std::move(m_stack.back());
        m_stack.pop_back();
        return top;
    }
    int maxRow() const { return m_biff8 ? 0xFFFF : 0x3FFF; }

    const ParsedFormula& m_formula;
    RecordReader m_tokens;
    RecordReader m_extra;
    const Strings& m_strings;
    const FormulaNames& m_names;
    bool m_biff8;
    std::vector<QString> m_stack;
};

void Decompiler::readToken() {
    const quint8 code = m_tokens.u8();
    if (code < kArray)
        readOperator(code);
    else
        readOperand(static_cast<quint8>((code & 0x1F) | 0x20));
}

void Decompiler::readOperator(quint8 token) {
    if (token >= kAdd && token <= kRange) {
        const QString right = pop();
        const QString left = pop();
        m_stack.push_back(left + QLatin1String(kOperators[token - kAdd]) + right);
        return;
    }
    switch (token) {
    case kPlus:
        m_stack.push_back(QLatin1Char('+') + pop());
        break;
    case kMinus:
        m_stack.push_back(QLatin1Char('-') + pop());
        break;
    case kPercent:
        m_stack.push_back(pop() + QLatin1Char('%'));
        break;
    case kParen:
        m_stack.push_back(QLatin1Char('(') + pop() + QLatin1Char(')'));
        break;
    case kMissing:
        m_stack.emplace_back();
        break;
    case kString: {
        QString text = m_strings.stringOfLength(m_tokens, m_tokens.u8());
        m_stack.push_back(QLatin1Char('"') + text.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                          QLatin1Char('"'));
        break;
    }
    case kAttribute:
        readAttribute();
        break;
    case kError:
        m_stack.push_back(errorText(static_cast<CellError>(m_tokens.u8())));
        break;
    case kBoolean:
        m_stack.push_back(m_tokens.u8() != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
        break;
    case kInteger:
        m_stack.push_back(QString::number(m_tokens.u16()));
        break;
    case kNumber:
        m_stack.push_back(numberText(m_tokens.f64()));
        break;
    default:
        // Shared and array formula markers are resolved before this; the rest is unknown.
        throw Unknown{};
    }
}

void Decompiler::readAttribute() {
    const quint8 kind = m_tokens.u8();
    const int data = m_tokens.u16();
    if (kind & kAttrChoose)
        m_tokens.skip(2 * static_cast<qsizetype>(data + 1)); // the jump table
    else if (kind & kAttrSum)
        m_stack.push_back(QStringLiteral("SUM(") + pop() + QLatin1Char(')'));
    // Volatility, jumps and spacing change nothing of the text shown here.
}

void Decompiler::readOperand(quint8 token) {
    switch (token) {
    case kArray:
        m_tokens.skip(7);
        m_stack.push_back(arrayText());
        break;
    case kFunction: {
        const int index = m_tokens.u16();
        const std::optional<FunctionName> function = builtInFunction(index);
        if (!function || function->fixedArguments < 0)
            throw Unknown{};
        readFunction(index, function->fixedArguments, false);
        break;
    }
    case kFunctionVar: {
        const int count = m_tokens.u8() & 0x7F;
        const quint16 index = m_tokens.u16();
        readFunction(index & 0x7FFF, count, (index & kCommandBit) != 0);
        break;
    }
    case kName:
        m_stack.push_back(nameText(m_tokens.u16()));
        m_tokens.skip(m_biff8 ? 2 : 12);
        break;
    case kRef:
    case kRefN:
        m_stack.push_back(corner(token == kRefN).text());
        break;
    case kArea:
    case kAreaN:
        m_stack.push_back(areaText(token == kAreaN));
        break;
    case kMemArea:
    case kMemError:
    case kMemNoMemory:
        // A precalculated reference subexpression: its tokens follow and give the text.
        m_tokens.skip(6);
        if (token == kMemArea)
            m_extra.skip((m_biff8 ? 8 : 6) * static_cast<qsizetype>(m_extra.u16()));
        break;
    case kMemFunction:
        m_tokens.skip(2);
        break;
    case kRefError:
        m_tokens.skip(m_biff8 ? 4 : 3);
        m_stack.push_back(errorText(CellError::Reference));
        break;
    case kAreaError:
        m_tokens.skip(m_biff8 ? 8 : 6);
        m_stack.push_back(errorText(CellError::Reference));
        break;
    case kRef3d:
    case kArea3d: {
        const QString prefix = sheetPrefix();
        m_stack.push_back(prefix + (token == kRef3d ? corner(false).text() : areaText(false)));
        break;
    }
    case kRefError3d:
    case kAreaError3d:
        m_tokens.skip(m_biff8 ? (token == kRefError3d ? 6 : 10) : (token == kRefError3d ? 17 : 20));
        m_stack.push_back(errorText(CellError::Reference));
        break;
    default:
        throw Unknown{};
    }
}

void Decompiler::readFunction(int index, int count, bool command) {
    if (count > static_cast<int>(m_stack.size()))
        throw Unknown{};
    QStringList arguments;
    for (int i = 0; i < count; ++i)
        arguments.prepend(pop());
    QString name;
    if (command) {
        const char* commandText = commandName(index);
        if (commandText == nullptr)
            throw Unknown{};
        name = QLatin1String(commandText);
    } else if (index == kUserFunction) {
        // A function of an add-in or a macro: its name is the first argument.
        if (arguments.isEmpty())
            throw Unknown{};
        name = arguments.takeFirst();
    } else {
        const std::optional<FunctionName> function = builtInFunction(index);
        if (!function)
            throw Unknown{};
        name = QLatin1String(function->name);
    }
    m_stack.push_back(name + QLatin1Char('(') + arguments.join(QLatin1Char(',')) +
                      QLatin1Char(')'));
}

// An array constant, from the data after the tokens: {1,2;"a",TRUE}.
QString Decompiler::arrayText() {
    // BIFF8 keeps the column count less one; Excel 5.0/95 the count, 0 meaning 256.
    const int columnField = m_extra.u8();
    const int columns = m_biff8 ? columnField + 1 : (columnField == 0 ? 256 : columnField);
    const int rows = m_extra.u16() + 1;
    QStringList rowTexts;
    for (int r = 0; r < rows; ++r) {
        QStringList values;
        for (int c = 0; c < columns; ++c) {
            switch (m_extra.u8()) {
            case 0x01:
                values.append(numberText(m_extra.f64()));
                break;
            case 0x02: {
                const qsizetype length = m_biff8 ? m_extra.u16() : m_extra.u8();
                values.append(QLatin1Char('"') + m_strings.stringOfLength(m_extra, length) +
                              QLatin1Char('"'));
                break;
            }
            case 0x04:
                values.append(m_extra.u8() != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
                m_extra.skip(7);
                break;
            case 0x10:
                values.append(errorText(static_cast<CellError>(m_extra.u8())));
                m_extra.skip(7);
                break;
            default:
                m_extra.skip(8);
                values.append(QString());
                break;
            }
        }
        rowTexts.append(values.join(QLatin1Char(',')));
    }
    return QLatin1Char('{') + rowTexts.join(QLatin1Char(';')) + QLatin1Char('}');
}

QString Decompiler::nameText(int index) const {
    if (index < 1 || index > m_names.definedNames.size())
        throw Unknown{};
    return m_names.definedNames[index - 1];
}

// The sheet part of a 3-D reference with its "!".
QString Decompiler::sheetPrefix() {
    QString sheets;
    if (m_biff8) {
        const int entry = m_tokens.u16();
        if (entry >= m_names.externSheets.size() || m_names.externSheets[entry].isEmpty())
            throw Unknown{};
        sheets = m_names.externSheets[entry];
    } else {
        const qint16 link = static_cast<qint16>(m_tokens.u16());
        m_tokens.skip(8);
        const int first = static_cast<qint16>(m_tokens.u16());
        const int last = static_cast<qint16>(m_tokens.u16());
        if (link >= 0 || first < 0 || first >= m_names.sheets.size() || last < first ||
            last >= m_names.sheets.size())
            throw Unknown{}; // another workbook's sheets
        sheets = m_names.sheets[first];
        if (last != first)
            sheets += QLatin1Char(':') + m_names.sheets[last];
        sheets = quotedSheetName(sheets);
    }
    return sheets + QLatin1Char('!');
}

// One cell of a reference from its row and column fields. In a shared formula
// (relativeToCell) a relative row or column is an offset from the formula's own cell.
Corner Decompiler::cornerOf(int rowField, int columnField, bool relativeToCell) const {
    Corner corner;
    int row = rowField;
    int column = columnField;
    if (m_biff8) {
        corner.rowRelative = (columnField & 0x8000) != 0;
        corner.columnRelative = (columnField & 0x4000) != 0;
        column = columnField & 0x3FFF;
        if (relativeToCell && corner.rowRelative)
            row = static_cast<qint16>(rowField);
        if (relativeToCell && corner.columnRelative)
            column = signedByte(columnField & 0xFF);
    } else {
        corner.rowRelative = (rowField & 0x8000) != 0;
        corner.columnRelative = (rowField & 0x4000) != 0;
        row = rowField & 0x3FFF;
        if (relativeToCell && corner.rowRelative && row >= 0x2000)
            row -= 0x4000;
        if (relativeToCell && corner.columnRelative)
            column = signedByte(columnField);
    }
    if (relativeToCell && corner.rowRelative)
        row += m_formula.row;
    if (relativeToCell && corner.columnRelative)
        column += m_formula.column;
    corner.row = row & maxRow();
    corner.column = column & 0xFF;
    return corner;
}

Corner Decompiler::corner(bool relativeToCell) {
    const int row = m_tokens.u16();
    const int column = m_biff8 ? m_tokens.u16() : m_tokens.u8();
    return cornerOf(row, column, relativeToCell);
}

// An area: both rows, then both columns (BIFF8 keeps the relative flags with the columns,
// Excel 5.0/95 with the rows). Whole columns and whole rows are written as "A:B" and "1:3".
QString Decompiler::areaText(bool relativeToCell) {
    const int firstRow = m_tokens.u16();
    const int lastRow = m_tokens.u16();
    const int firstColumn = m_biff8 ? m_tokens.u16() : m_tokens.u8();
    const int lastColumn = m_biff8 ? m_tokens.u16() : m_tokens.u8();
    const Corner first = cornerOf(firstRow, firstColumn, relativeToCell);
    const Corner last = cornerOf(lastRow, lastColumn, relativeToCell);
    if (first.row == 0 && last.row == maxRow())
        return first.columnText() + QLatin1Char(':') + last.columnText();
    if (first.column == 0 && last.column == 0xFF)
        return first.rowText() + QLatin1Char(':') + last.rowText();
    return first.text() + QLatin1Char(':') + last.text();
}

} // namespace

std::optional<QString> formulaText(const ParsedFormula& formula, const Strings& strings,
                                   const FormulaNames& names) {
    try {
        return Decompiler(formula, strings, names).run();
    } catch (const Unknown&) {
        return std::nullopt;
    } catch (const ReadError&) {
        return std::nullopt;
    }
}

QString quotedSheetName(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[\\w.]+$"));
    static const QRegularExpression cellLike(QStringLiteral("^[A-Za-z]{1,3}\\d+$"));
    const bool bare =
        plain.match(name).hasMatch() && !name.front().isDigit() && !cellLike.match(name).hasMatch();
    if (bare)
        return name;
    QString quoted = name;
    return QLatin1Char('\'') + quoted.replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

} // namespace xls
