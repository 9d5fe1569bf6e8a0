#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace xls::format {

enum class TokenKind : quint8 {
    Literal,          // text: shown as it is
    Fill,             // text: the character repeated to fill the cell
    Text,             // @: the cell's text
    General,          // the number as the General format shows it
    IntegerDigit,     // placeholder: '0', '#' or '?'
    DecimalPoint,     //
    DecimalDigit,     // placeholder
    Exponent,         // text: "E" or "e"; placeholder: '+' or '-'
    ExponentDigit,    // placeholder
    NumeratorDigit,   // placeholder
    FractionBar,      //
    DenominatorDigit, // placeholder
    FixedDenominator, // count: the denominator; width: placeholders it is written with
    Year,             // count: letters
    Month,            // count
    Day,              // count
    Hour,             // count
    Minute,           // count
    Second,           // count
    SecondFraction,   // count: decimals
    AmPm,             // text: the morning text, alternative: the afternoon text
    ElapsedHours,     // count
    ElapsedMinutes,   // count
    ElapsedSeconds,   // count
    EraName,          // count
    EraYear,          // count
    JapaneseWeekday,  // count
};

struct FormatToken {
    TokenKind kind = TokenKind::Literal;
    QChar placeholder;
    int count = 1;
    int width = 0;
    QString text;
    QString alternative;
};

struct Condition {
    enum class Op : quint8 { None, Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };
    Op op = Op::None;
    double operand = 0.0;

    bool isSet() const { return op != Op::None; }
    bool matches(double value) const;
    // True when only values below or at zero can meet it: such a section writes its own sign.
    bool onlyNonPositive() const;
};

enum class SectionKind : quint8 { Number, Scientific, Fraction, General, DateTime, Text };

struct FormatSection {
    SectionKind kind = SectionKind::Number;
    QList<FormatToken> tokens;
    Condition condition;
    int color = 0;
    int language = 0; // the language of a [$-LCID] prefix, 0x411 for Japanese

    // Numbers: placeholder counts, thousands grouping, and the power of ten the value is
    // multiplied by (2 for each %, -3 for each thousands-scaling comma).
    int integerDigits = 0;
    int decimalDigits = 0;
    bool grouping = false;
    int powerOfTen = 0;
    // Fractions: the tokens [fractionBegin, fractionEnd) are the fraction after the integer.
    qsizetype fractionBegin = 0;
    qsizetype fractionEnd = 0;
    int maxDenominator = 0;
    // Dates: decimals of the second, and whether hours count to 12.
    int secondDecimals = 0;
    bool twelveHour = false;

    bool japanese() const { return language == 0x411; }
};

struct FormatCode {
    QList<FormatSection> numberSections;
    std::optional<FormatSection> textSection;

    // Nothing when the code cannot be parsed.
    static std::optional<FormatCode> parse(const QString& code);
};

} // namespace xls::format
