#include "ConditionalFormatReader.h"

#include "Formatting.h"
#include "ReadError.h"

namespace xls {

namespace {

// The differential format's first flag word: which attributes are left as they are
// ("not changed" bits) and which blocks follow.
constexpr quint32 kLeftBorderUnchanged = 1U << 10;
constexpr quint32 kRightBorderUnchanged = 1U << 11;
constexpr quint32 kTopBorderUnchanged = 1U << 12;
constexpr quint32 kBottomBorderUnchanged = 1U << 13;
constexpr quint32 kPatternUnchanged = 1U << 16;
constexpr quint32 kPatternColorUnchanged = 1U << 17;
constexpr quint32 kBackgroundColorUnchanged = 1U << 18;
constexpr quint32 kHasNumberFormat = 1U << 25;
constexpr quint32 kHasFont = 1U << 26;
constexpr quint32 kHasAlignment = 1U << 27;
constexpr quint32 kHasBorders = 1U << 28;
constexpr quint32 kHasFill = 1U << 29;
constexpr quint32 kHasProtection = 1U << 30;
// In the second flag word: the number format is the file's own code, not a built-in index.
constexpr quint16 kOwnNumberFormat = 0x0001;

constexpr int kFontBlockSize = 118;
constexpr quint32 kNoColor = 0xFFFFFFFFU;
constexpr quint32 kItalic = 0x02;
constexpr quint32 kStrikeout = 0x80;

// Formula tokens that may make up a constant operand.
constexpr quint8 kTokenPlus = 0x12;
constexpr quint8 kTokenMinus = 0x13;
constexpr quint8 kTokenParentheses = 0x15;
constexpr quint8 kTokenText = 0x17;
constexpr quint8 kTokenInteger = 0x1E;
constexpr quint8 kTokenNumber = 0x1F;

int field(quint32 value, int first, int count) {
    return static_cast<int>((value >> first) & ((1U << count) - 1U));
}

// The font block: a font name that is not used, the font's style, weight, underline and
// colour, then flags that say which of them are left as they are.
void readFont(RecordReader& reader, DifferentialFormat& format) {
    const QByteArray block = reader.bytes(kFontBlockSize);
    RecordReader font(Record{reader.code(), reader.offset(), block});
    font.skip(68); // name and height
    const quint32 style = font.u32();
    const quint16 weight = font.u16();
    font.skip(2); // superscript and subscript
    const quint8 underline = font.u8();
    font.skip(3);
    const quint32 color = font.u32();
    font.skip(4);
    const quint32 styleUnchanged = font.u32();
    font.skip(4); // superscript and subscript unchanged
    const bool underlineUnchanged = font.u32() != 0;
    const bool weightUnchanged = font.u32() != 0;
    if (color != kNoColor)
        format.fontColorIndex = static_cast<int>(color & 0x7FFF);
    if ((styleUnchanged & kItalic) == 0)
        format.italic = (style & kItalic) != 0;
    if ((styleUnchanged & kStrikeout) == 0)
        format.strikeout = (style & kStrikeout) != 0;
    if (!weightUnchanged && weight != 0xFFFF)
        format.bold = weight >= 700;
    if (!underlineUnchanged)
        format.underline = Formatting::underline(underline);
}

void readBorders(RecordReader& reader, quint32 flags, DifferentialFormat& format) {
    const quint32 sides = reader.u32();
    const quint32 more = reader.u32();
    const auto border = [](int style, int color) {
        return Border{Formatting::borderStyle(style), color};
    };
    if ((flags & kLeftBorderUnchanged) == 0)
        format.left = border(field(sides, 0, 4), field(sides, 16, 7));
    if ((flags & kRightBorderUnchanged) == 0)
        format.right = border(field(sides, 4, 4), field(sides, 23, 7));
    if ((flags & kTopBorderUnchanged) == 0)
        format.top = border(field(sides, 8, 4), field(more, 0, 7));
    if ((flags & kBottomBorderUnchanged) == 0)
        format.bottom = border(field(sides, 12, 4), field(more, 7, 7));
}

void readFill(RecordReader& reader, quint32 flags, DifferentialFormat& format) {
    const quint16 pattern = reader.u16();
    const quint16 colors = reader.u16();
    if ((flags & kPatternUnchanged) == 0)
        format.fillPattern = field(pattern, 10, 6);
    if ((flags & kPatternColorUnchanged) == 0)
        format.patternColorIndex = field(colors, 0, 7);
    if ((flags & kBackgroundColorUnchanged) == 0)
        format.backgroundColorIndex = field(colors, 7, 7);
}

DifferentialFormat differentialFormat(RecordReader& reader) {
    DifferentialFormat format;
    const quint32 flags = reader.u32();
    const quint16 more = reader.u16();
    if ((flags & kHasNumberFormat) != 0) {
        // The file's own code: its size (which counts itself) and the code; else two bytes.
        reader.skip((more & kOwnNumberFormat) != 0 ? reader.u16() - 2 : 2);
    }
    if ((flags & kHasFont) != 0)
        readFont(reader, format);
    if ((flags & kHasAlignment) != 0)
        reader.skip(8);
    if ((flags & kHasBorders) != 0)
        readBorders(reader, flags, format);
    if ((flags & kHasFill) != 0)
        readFill(reader, flags, format);
    if ((flags & kHasProtection) != 0)
        reader.skip(2);
    return format;
}

// The constant an operand's formula stands for, when it is one number or text token with
// unary plus, minus or parentheses after it (the tokens are in reverse Polish order).
std::optional<Constant> constantOf(const RecordReader& owner, const QByteArray& formula,
                                   const Strings& strings) {
    if (formula.isEmpty())
        return std::nullopt;
    RecordReader tokens(Record{owner.code(), owner.offset(), formula});
    Constant constant;
    switch (tokens.u8()) {
    case kTokenInteger:
        constant = static_cast<double>(tokens.u16());
        break;
    case kTokenNumber:
        constant = tokens.f64();
        break;
    case kTokenText:
        constant = strings.shortString(tokens);
        break;
    default:
        return std::nullopt;
    }
    while (!tokens.atEnd()) {
        const quint8 token = tokens.u8();
        if (token == kTokenMinus && std::holds_alternative<double>(constant))
            constant = -std::get<double>(constant);
        else if (token != kTokenPlus && token != kTokenParentheses)
            return std::nullopt;
    }
    return constant;
}

} // namespace

std::optional<Condition> ConditionalFormatReader::condition(RecordReader& reader,
                                                            const Strings& strings) {
    try {
        Condition condition;
        const quint8 kind = reader.u8();
        if (kind != 1 && kind != 2)
            return std::nullopt;
        condition.kind = kind == 1 ? ConditionKind::CellValue : ConditionKind::Formula;
        const quint8 comparison = reader.u8();
        condition.comparison = comparison <= 8 ? static_cast<ComparisonOperator>(comparison)
                                               : ComparisonOperator::None;
        const quint16 size1 = reader.u16();
        const quint16 size2 = reader.u16();
        condition.format = differentialFormat(reader);
        condition.formula1 = reader.bytes(size1);
        condition.formula2 = reader.bytes(size2);
        if (condition.kind == ConditionKind::CellValue) {
            condition.constant1 = constantOf(reader, condition.formula1, strings);
            condition.constant2 = constantOf(reader, condition.formula2, strings);
        }
        return condition;
    } catch (const ReadError&) {
        return std::nullopt;
    }
}

} // namespace xls
