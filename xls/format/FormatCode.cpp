#include "xls/format/FormatCode.h"

#include "xls/format/FormatScanner.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace xls::format {

namespace {

// [$-F800] and [$-F400] ask for the system's long date and time; on Japanese systems these are
// the formats below.
constexpr int SystemLongDate = 0xF800;
constexpr int SystemTime = 0xF400;
const char16_t* const JapaneseLongDate = u"yyyy\"年\"m\"月\"d\"日\"";
const char16_t* const JapaneseTime = u"h:mm:ss";

constexpr int MaxSections = 4;
constexpr int MaxDenominatorPlaceholders = 7;

FormatToken literalToken(const QString& text) {
    FormatToken token;
    token.text = text;
    return token;
}

FormatToken placeholderToken(TokenKind kind, QChar placeholder) {
    FormatToken token;
    token.kind = kind;
    token.placeholder = placeholder;
    return token;
}

// Literals and fills keep their meaning in every kind of section; any other token is shown as
// the text it was written with.
FormatToken plainToken(const RawToken& raw) {
    FormatToken token = literalToken(raw.text);
    if (raw.kind == RawKind::Fill)
        token.kind = TokenKind::Fill;
    return token;
}

void mergeLiterals(QList<FormatToken>& tokens) {
    QList<FormatToken> merged;
    merged.reserve(tokens.size());
    for (FormatToken& token : tokens) {
        if (token.kind == TokenKind::Literal && !merged.isEmpty() &&
            merged.last().kind == TokenKind::Literal)
            merged.last().text += token.text;
        else
            merged.append(std::move(token));
    }
    tokens = std::move(merged);
}

FormatSection startSection(const RawSection& raw, SectionKind kind) {
    FormatSection section;
    section.kind = kind;
    section.condition = raw.condition;
    section.color = raw.color;
    section.language = raw.language;
    return section;
}

FormatSection buildTextLike(const RawSection& raw, SectionKind kind) {
    FormatSection section = startSection(raw, kind);
    for (const RawToken& token : raw.tokens) {
        if (kind == SectionKind::Text && token.kind == RawKind::At)
            section.tokens.append(placeholderToken(TokenKind::Text, QChar()));
        else if (kind == SectionKind::General && token.kind == RawKind::General)
            section.tokens.append(placeholderToken(TokenKind::General, QChar()));
        else
            section.tokens.append(plainToken(token));
    }
    return section;
}

const RawToken* nearestDateToken(const QList<RawToken>& tokens, qsizetype from, int step) {
    for (qsizetype i = from + step; i >= 0 && i < tokens.size(); i += step) {
        if (isDateToken(tokens[i].kind))
            return &tokens[i];
    }
    return nullptr;
}

// m and mm are minutes right after an hour or right before a second, months otherwise.
bool isMinute(const QList<RawToken>& tokens, qsizetype i) {
    if (tokens[i].count > 2)
        return false;
    const RawToken* before = nearestDateToken(tokens, i, -1);
    if (before && (before->kind == RawKind::Hour || before->kind == RawKind::ElapsedHours))
        return true;
    const RawToken* after = nearestDateToken(tokens, i, 1);
    return after && (after->kind == RawKind::Second || after->kind == RawKind::ElapsedSeconds);
}

// The date and time tokens that carry over unchanged, with their count alone.
std::optional<TokenKind> plainDateKind(RawKind kind) {
    switch (kind) {
    case RawKind::Year:
        return TokenKind::Year;
    case RawKind::Day:
        return TokenKind::Day;
    case RawKind::Hour:
        return TokenKind::Hour;
    case RawKind::Second:
        return TokenKind::Second;
    case RawKind::ElapsedHours:
        return TokenKind::ElapsedHours;
    case RawKind::ElapsedMinutes:
        return TokenKind::ElapsedMinutes;
    case RawKind::ElapsedSeconds:
        return TokenKind::ElapsedSeconds;
    case RawKind::EraName:
        return TokenKind::EraName;
    case RawKind::EraYear:
        return TokenKind::EraYear;
    case RawKind::JapaneseWeekday:
        return TokenKind::JapaneseWeekday;
    default:
        return std::nullopt;
    }
}

FormatSection buildDateTime(const RawSection& raw) {
    FormatSection section = startSection(raw, SectionKind::DateTime);
    const QList<RawToken>& tokens = raw.tokens;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const RawToken& token = tokens[i];
        FormatToken out;
        out.count = token.count;
        if (const std::optional<TokenKind> kind = plainDateKind(token.kind)) {
            out.kind = *kind;
            section.tokens.append(out);
            continue;
        }
        switch (token.kind) {
        case RawKind::MonthOrMinute:
            out.kind = isMinute(tokens, i) ? TokenKind::Minute : TokenKind::Month;
            break;
        case RawKind::AmPm:
            out.kind = TokenKind::AmPm;
            out.text = token.text;
            out.alternative = token.alternative;
            section.twelveHour = true;
            break;
        case RawKind::Point: {
            // "ss.00": decimals of the second, at most three.
            qsizetype zeros = 0;
            while (i + 1 + zeros < tokens.size() && tokens[i + 1 + zeros].kind == RawKind::Digit &&
                   tokens[i + 1 + zeros].placeholder == u'0')
                ++zeros;
            const bool afterSecond = i > 0 && (tokens[i - 1].kind == RawKind::Second ||
                                               tokens[i - 1].kind == RawKind::ElapsedSeconds);
            if (!afterSecond || zeros == 0) {
                out = plainToken(token);
                break;
            }
            section.tokens.append(literalToken(QStringLiteral(".")));
            out.kind = TokenKind::SecondFraction;
            out.count = static_cast<int>(std::min<qsizetype>(zeros, 3));
            section.secondDecimals = std::max(section.secondDecimals, out.count);
            i += zeros;
            break;
        }
        default:
            out = plainToken(token);
            break;
        }
        section.tokens.append(out);
    }
    mergeLiterals(section.tokens);
    return section;
}

enum class NumberPart : quint8 { Integer, Decimal, Exponent };

bool hasDigitIn(const QList<RawToken>& tokens, const QList<NumberPart>& parts, qsizetype from,
                qsizetype to, NumberPart part) {
    for (qsizetype i = std::max<qsizetype>(from, 0); i < to && i < tokens.size(); ++i) {
        if (tokens[i].kind == RawKind::Digit && parts[i] == part)
            return true;
    }
    return false;
}

// A comma between integer placeholders turns on thousands grouping; commas right after the
// last placeholder of a part divide by 1000 each; any other comma is shown as it is.
enum class CommaRole : quint8 { Grouping, Scaling, Literal };

// afterScalingComma: the token before i is a comma that scales.
CommaRole commaRole(const QList<RawToken>& tokens, const QList<NumberPart>& parts, qsizetype i,
                    bool afterScalingComma) {
    const NumberPart part = parts[i];
    const bool digitAfter = hasDigitIn(tokens, parts, i + 1, tokens.size(), part);
    if (part == NumberPart::Integer && digitAfter && hasDigitIn(tokens, parts, 0, i, part))
        return CommaRole::Grouping;
    if (!digitAfter && i > 0 && (tokens[i - 1].kind == RawKind::Digit || afterScalingComma))
        return CommaRole::Scaling;
    return CommaRole::Literal;
}

// The numerator's placeholders right before a '/', and a denominator of placeholders or digits
// right after it.
struct FractionShape {
    qsizetype numeratorBegin = -1;
    qsizetype bar = -1;
    qsizetype denominatorEnd = -1;
};

bool isLiteralDigit(const RawToken& token) {
    return token.kind == RawKind::Literal && token.text.size() == 1 && token.text[0].isDigit() &&
           token.text[0].unicode() < 128;
}

std::optional<FractionShape> findFraction(const QList<RawToken>& tokens) {
    for (qsizetype bar = 1; bar + 1 < tokens.size(); ++bar) {
        if (tokens[bar].kind != RawKind::Slash || tokens[bar - 1].kind != RawKind::Digit)
            continue;
        qsizetype end = bar + 1;
        while (end < tokens.size() &&
               (tokens[end].kind == RawKind::Digit || isLiteralDigit(tokens[end])))
            ++end;
        if (end == bar + 1)
            continue;
        qsizetype begin = bar - 1;
        while (begin > 0 && tokens[begin - 1].kind == RawKind::Digit)
            --begin;
        return FractionShape{begin, bar, end};
    }
    return std::nullopt;
}

FormatSection buildFraction(const RawSection& raw, const FractionShape& shape) {
    FormatSection section = startSection(raw, SectionKind::Fraction);
    const QList<RawToken>& tokens = raw.tokens;
    QList<NumberPart> parts(tokens.size(), NumberPart::Decimal);
    for (qsizetype i = 0; i < shape.numeratorBegin; ++i)
        parts[i] = NumberPart::Integer;
    bool afterScalingComma = false; // the token before i is a comma that scales

    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const RawToken& token = tokens[i];
        const bool scalingBefore = std::exchange(afterScalingComma, false);
        if (i == shape.numeratorBegin) {
            for (; i < shape.bar; ++i)
                section.tokens.append(
                    placeholderToken(TokenKind::NumeratorDigit, tokens[i].placeholder));
            section.tokens.append(placeholderToken(TokenKind::FractionBar, QChar()));
            QString digits;
            int placeholders = 0;
            bool fixed = false;
            for (qsizetype d = shape.bar + 1; d < shape.denominatorEnd; ++d) {
                if (tokens[d].kind == RawKind::Digit) {
                    ++placeholders;
                    if (tokens[d].placeholder == u'0')
                        digits += u'0';
                } else {
                    digits += tokens[d].text;
                    fixed = fixed || tokens[d].text != u"0";
                }
            }
            const int denominator = fixed ? digits.toInt() : 0;
            if (denominator > 0) {
                FormatToken token = placeholderToken(TokenKind::FixedDenominator, QChar());
                token.count = denominator;
                token.width = placeholders;
                section.tokens.append(token);
            } else {
                for (qsizetype d = shape.bar + 1; d < shape.denominatorEnd; ++d)
                    section.tokens.append(
                        placeholderToken(TokenKind::DenominatorDigit, tokens[d].placeholder));
                int maxDenominator = 1;
                for (int k = 0; k < std::min(placeholders, MaxDenominatorPlaceholders); ++k)
                    maxDenominator *= 10;
                section.maxDenominator = maxDenominator - 1;
            }
            i = shape.denominatorEnd - 1;
            continue;
        }
        switch (token.kind) {
        case RawKind::Digit:
            if (parts[i] == NumberPart::Integer) {
                section.tokens.append(placeholderToken(TokenKind::IntegerDigit, token.placeholder));
                ++section.integerDigits;
            } else {
                section.tokens.append(literalToken(token.text));
            }
            break;
        case RawKind::Comma: {
            const CommaRole role = parts[i] == NumberPart::Integer
                                       ? commaRole(tokens, parts, i, scalingBefore)
                                       : CommaRole::Literal;
            afterScalingComma = role == CommaRole::Scaling;
            if (role == CommaRole::Grouping)
                section.grouping = true;
            else
                section.tokens.append(literalToken(token.text));
            break;
        }
        case RawKind::Percent:
            section.powerOfTen += 2;
            section.tokens.append(literalToken(token.text));
            break;
        default:
            section.tokens.append(plainToken(token));
            break;
        }
    }
    mergeLiterals(section.tokens);
    section.fractionBegin = -1;
    for (qsizetype i = 0; i < section.tokens.size(); ++i) {
        const TokenKind kind = section.tokens[i].kind;
        if (kind == TokenKind::IntegerDigit)
            section.fractionBegin = i + 1;
        else if (kind == TokenKind::NumeratorDigit && section.fractionBegin < 0)
            section.fractionBegin = i;
        else if (kind == TokenKind::DenominatorDigit || kind == TokenKind::FixedDenominator)
            section.fractionEnd = i + 1;
    }
    return section;
}

FormatSection buildNumber(const RawSection& raw) {
    const QList<RawToken>& tokens = raw.tokens;
    qsizetype exponent = -1;
    for (qsizetype i = 0; i < tokens.size() && exponent < 0; ++i) {
        if (tokens[i].kind != RawKind::Exponent)
            continue;
        const bool digitBefore =
            std::any_of(tokens.begin(), tokens.begin() + i,
                        [](const RawToken& t) { return t.kind == RawKind::Digit; });
        const bool digitAfter =
            std::any_of(tokens.begin() + i + 1, tokens.end(),
                        [](const RawToken& t) { return t.kind == RawKind::Digit; });
        if (digitBefore && digitAfter)
            exponent = i;
    }
    FormatSection section =
        startSection(raw, exponent >= 0 ? SectionKind::Scientific : SectionKind::Number);

    qsizetype point = -1;
    QList<NumberPart> parts(tokens.size(), NumberPart::Integer);
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (exponent >= 0 && i > exponent)
            parts[i] = NumberPart::Exponent;
        else if (point >= 0 && i > point)
            parts[i] = NumberPart::Decimal;
        else if (point < 0 && tokens[i].kind == RawKind::Point)
            point = i;
    }

    bool afterScalingComma = false; // the token before i is a comma that scales
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const RawToken& token = tokens[i];
        const bool scalingBefore = std::exchange(afterScalingComma, false);
        switch (token.kind) {
        case RawKind::Digit: {
            const TokenKind kind = parts[i] == NumberPart::Integer   ? TokenKind::IntegerDigit
                                   : parts[i] == NumberPart::Decimal ? TokenKind::DecimalDigit
                                                                     : TokenKind::ExponentDigit;
            section.tokens.append(placeholderToken(kind, token.placeholder));
            if (kind == TokenKind::IntegerDigit)
                ++section.integerDigits;
            else if (kind == TokenKind::DecimalDigit)
                ++section.decimalDigits;
            break;
        }
        case RawKind::Point:
            if (i == point)
                section.tokens.append(placeholderToken(TokenKind::DecimalPoint, QChar()));
            else
                section.tokens.append(literalToken(token.text));
            break;
        case RawKind::Exponent:
            if (i == exponent) {
                FormatToken out = placeholderToken(TokenKind::Exponent, token.placeholder);
                out.text = token.text.left(1);
                section.tokens.append(out);
            } else {
                section.tokens.append(literalToken(token.text));
            }
            break;
        case RawKind::Comma: {
            const CommaRole role = commaRole(tokens, parts, i, scalingBefore);
            afterScalingComma = role == CommaRole::Scaling;
            if (role == CommaRole::Grouping)
                section.grouping = true;
            else if (role == CommaRole::Scaling)
                section.powerOfTen -= 3;
            else
                section.tokens.append(literalToken(token.text));
            break;
        }
        case RawKind::Percent:
            section.powerOfTen += 2;
            section.tokens.append(literalToken(token.text));
            break;
        default:
            section.tokens.append(plainToken(token));
            break;
        }
    }
    mergeLiterals(section.tokens);
    return section;
}

std::optional<FormatSection> buildSection(RawSection raw) {
    if (raw.language == SystemLongDate || raw.language == SystemTime) {
        const QString replacement =
            QString::fromUtf16(raw.language == SystemLongDate ? JapaneseLongDate : JapaneseTime);
        RawSection system;
        qsizetype pos = 0;
        bool moreSections = false;
        if (!scanSection(replacement, pos, system, moreSections))
            return std::nullopt;
        raw.tokens = system.tokens;
        raw.language = 0x411;
    }
    const auto has = [&raw](auto predicate) {
        return std::any_of(raw.tokens.begin(), raw.tokens.end(), predicate);
    };
    if (raw.hasAt)
        return buildTextLike(raw, SectionKind::Text);
    if (has([](const RawToken& t) { return isDateToken(t.kind); }))
        return buildDateTime(raw);
    if (has([](const RawToken& t) { return t.kind == RawKind::General; }))
        return buildTextLike(raw, SectionKind::General);
    if (const auto shape = findFraction(raw.tokens))
        return buildFraction(raw, *shape);
    return buildNumber(raw);
}

} // namespace

bool Condition::matches(double value) const {
    switch (op) {
    case Op::None:
        return true;
    case Op::Less:
        return value < operand;
    case Op::LessEqual:
        return value <= operand;
    case Op::Greater:
        return value > operand;
    case Op::GreaterEqual:
        return value >= operand;
    case Op::Equal:
        return value == operand;
    case Op::NotEqual:
        return value != operand;
    }
    return false;
}

bool Condition::onlyNonPositive() const {
    return (op == Op::Less || op == Op::LessEqual) && operand <= 0.0;
}

std::optional<FormatCode> FormatCode::parse(const QString& code) {
    QList<RawSection> raws;
    qsizetype pos = 0;
    bool moreSections = true;
    while (moreSections) {
        RawSection raw;
        if (!scanSection(code, pos, raw, moreSections) || raws.size() == MaxSections)
            return std::nullopt;
        raws.append(std::move(raw));
    }

    // The fourth section is for text; so is a last one that shows the text with @.
    FormatCode result;
    qsizetype numberSections = raws.size();
    if (raws.size() == MaxSections || raws.back().hasAt) {
        result.textSection = buildTextLike(raws.back(), SectionKind::Text);
        --numberSections;
    }
    for (qsizetype i = 0; i < numberSections; ++i) {
        auto section = buildSection(raws[i]);
        if (!section)
            return std::nullopt;
        result.numberSections.append(std::move(*section));
    }
    return result;
}

} // namespace xls::format
