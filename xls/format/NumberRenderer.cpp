#include "xls/format/NumberRenderer.h"

#include "xls/format/DecimalValue.h"
#include "xls/format/GeneralFormat.h"

#include <cmath>

namespace xls::format {

namespace {

QChar digitChar(int digit) {
    return QChar(u'0' + digit);
}

// Writes the integer digits of a value into the integer placeholders, right-aligned: the
// leftmost placeholder also takes every digit that has no placeholder of its own. Past the
// value's digits, 0 shows a zero, ? a blank and # nothing; a zero that would otherwise show
// nothing at all can be asked to show its units digit.
class IntegerWriter {
public:
    IntegerWriter(const DecimalValue& value, int placeholders, bool grouping, bool zeroShowsUnits)
        : m_value(value)
        , m_digits(value.integerDigitCount())
        , m_next(placeholders)
        , m_placeholders(placeholders)
        , m_grouping(grouping)
        , m_zeroShowsUnits(zeroShowsUnits && m_digits == 0) {}

    void writePlaceholder(QString& out, QChar placeholder) {
        const int power = --m_next;
        if (power == m_placeholders - 1)
            writeExcess(out, power + 1);
        if (power < m_digits)
            put(out, power, digitChar(m_value.digitAt(power)));
        else if (placeholder == u'0' || (power == 0 && m_zeroShowsUnits))
            put(out, power, u'0');
        else if (placeholder == u'?')
            put(out, power, u' ');
    }

    // With no integer placeholder at all the digits still show, before the decimal point.
    void writeWithoutPlaceholders(QString& out) {
        if (m_placeholders == 0)
            writeExcess(out, 0);
    }

private:
    void writeExcess(QString& out, int lowestPower) {
        for (int power = m_digits - 1; power >= lowestPower; --power)
            put(out, power, digitChar(m_value.digitAt(power)));
    }

    void put(QString& out, int power, QChar c) {
        out += c;
        if (m_grouping && power > 0 && power % 3 == 0)
            out += c == u' ' ? u' ' : u',';
    }

    const DecimalValue& m_value;
    int m_digits;
    int m_next;
    int m_placeholders;
    bool m_grouping;
    bool m_zeroShowsUnits;
};

// Decimal places: the value's digits up to its last non-zero one, then 0 shows a zero, ? a
// blank and # nothing.
class DecimalWriter {
public:
    explicit DecimalWriter(const DecimalValue& value)
        : m_value(value)
        , m_significant(value.isZero() ? 0 : std::max(0, -value.lowestPower())) {}

    void writePlaceholder(QString& out, QChar placeholder) {
        const int place = ++m_place;
        if (place <= m_significant)
            out += digitChar(m_value.digitAt(-place));
        else if (placeholder == u'0')
            out += u'0';
        else if (placeholder == u'?')
            out += u' ';
    }

private:
    const DecimalValue& m_value;
    int m_significant;
    int m_place = 0;
};

// Right-aligns digits in a run of placeholders: the unused leading ones show 0 as a zero, ? as
// a blank and # as nothing.
void writePadded(QString& out, const QString& digits, const QList<QChar>& placeholders) {
    for (qsizetype i = 0; i + digits.size() < placeholders.size(); ++i) {
        if (placeholders[i] == u'0')
            out += u'0';
        else if (placeholders[i] == u'?')
            out += u' ';
    }
    out += digits;
}

QList<QChar> placeholdersOf(const FormatSection& section, TokenKind kind) {
    QList<QChar> result;
    for (const FormatToken& token : section.tokens) {
        if (token.kind == kind)
            result.append(token.placeholder);
    }
    return result;
}

QString integerText(double value) {
    DecimalValue decimal = DecimalValue::fromDouble(value);
    decimal.roundToDecimals(0);
    QString text;
    const int digits = decimal.integerDigitCount();
    if (digits == 0)
        return QStringLiteral("0");
    for (int power = digits - 1; power >= 0; --power)
        text += digitChar(decimal.digitAt(power));
    return text;
}

void writeTokens(const FormatSection& section, const DecimalValue& value, int exponent,
                 FormattedValue& out) {
    const bool scientific = section.kind == SectionKind::Scientific;
    IntegerWriter integers(value, section.integerDigits, section.grouping, scientific);
    DecimalWriter decimals(value);
    bool exponentWritten = false;
    for (const FormatToken& token : section.tokens) {
        switch (token.kind) {
        case TokenKind::Literal:
            out.text += token.text;
            break;
        case TokenKind::Fill:
            markFill(token, out);
            break;
        case TokenKind::IntegerDigit:
            integers.writePlaceholder(out.text, token.placeholder);
            break;
        case TokenKind::DecimalPoint:
            integers.writeWithoutPlaceholders(out.text);
            out.text += u'.';
            break;
        case TokenKind::DecimalDigit:
            decimals.writePlaceholder(out.text, token.placeholder);
            break;
        case TokenKind::Exponent:
            out.text += token.text;
            if (exponent < 0)
                out.text += u'-';
            else if (token.placeholder == u'+')
                out.text += u'+';
            break;
        case TokenKind::ExponentDigit:
            if (!exponentWritten) {
                writePadded(out.text, QString::number(std::abs(exponent)),
                            placeholdersOf(section, TokenKind::ExponentDigit));
                exponentWritten = true;
            }
            break;
        default:
            break;
        }
    }
}

int floorDivide(int a, int b) {
    const int quotient = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? quotient - 1 : quotient;
}

// The exponent is a multiple of the number of integer placeholders, so ##0.0E+0 gives
// engineering notation; the mantissa is rounded to the places shown.
void renderScientific(const FormatSection& section, double magnitude, FormattedValue& out) {
    const DecimalValue exact = [&] {
        DecimalValue value = DecimalValue::fromDouble(magnitude);
        value.scaleByPowerOfTen(section.powerOfTen);
        return value;
    }();
    DecimalValue mantissa = exact;
    int shown = 0;
    if (!exact.isZero()) {
        const auto exponentFor = [&section](int leading) {
            return section.integerDigits > 0
                       ? floorDivide(leading, section.integerDigits) * section.integerDigits
                       : leading + 1;
        };
        shown = exponentFor(exact.exponent());
        mantissa.roundToSignificant(exact.exponent() - shown + 1 + section.decimalDigits);
        if (!mantissa.isZero() && mantissa.exponent() != exact.exponent()) {
            shown = exponentFor(mantissa.exponent());
            mantissa = exact;
            mantissa.roundToSignificant(exact.exponent() - shown + 1 + section.decimalDigits);
        }
        if (mantissa.isZero())
            shown = 0;
        mantissa.scaleByPowerOfTen(-shown);
    }
    writeTokens(section, mantissa, shown, out);
}

void renderGeneral(const FormatSection& section, double magnitude, FormattedValue& out) {
    for (const FormatToken& token : section.tokens) {
        if (token.kind == TokenKind::General)
            appendGeneral(out.text, magnitude);
        else if (token.kind == TokenKind::Fill)
            markFill(token, out);
        else
            out.text += token.text;
    }
}

// The closest fraction with a denominator up to maxDenominator, from the continued fraction of
// x: the last convergent within the bound or the best semiconvergent after it.
std::pair<double, double> closestFraction(double x, int maxDenominator) {
    double p0 = 0.0;
    double q0 = 1.0;
    double p1 = 1.0;
    double q1 = 0.0;
    double rest = x;
    for (int step = 0; step < 64; ++step) {
        const double a = std::floor(rest);
        const double p2 = a * p1 + p0;
        const double q2 = a * q1 + q0;
        if (q2 > maxDenominator) {
            const double t = std::floor((maxDenominator - q0) / q1);
            const double ps = t * p1 + p0;
            const double qs = t * q1 + q0;
            if (t > 0 && std::fabs(x - ps / qs) < std::fabs(x - p1 / q1))
                return {ps, qs};
            return {p1, q1};
        }
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
        const double remainder = rest - a;
        if (remainder < 1e-12 || std::fabs(x - p1 / q1) < 1e-15 * std::max(1.0, x))
            break;
        rest = 1.0 / remainder;
    }
    return {p1, q1};
}

// Values this large have no fraction worth showing within 15 digits.
constexpr double LargestFractionValue = 1e15;

void renderFraction(const FormatSection& section, double magnitude, FormattedValue& out) {
    const double x = magnitude * std::pow(10.0, section.powerOfTen);
    const bool mixed = section.integerDigits > 0;
    double whole = mixed ? std::floor(x) : 0.0;
    const double part = x >= LargestFractionValue ? 0.0 : x - whole;
    double numerator = 0.0;
    double denominator = 1.0;
    int fixedDenominator = 0;
    for (const FormatToken& token : section.tokens) {
        if (token.kind == TokenKind::FixedDenominator)
            fixedDenominator = token.count;
    }
    if (fixedDenominator > 0) {
        denominator = fixedDenominator;
        numerator = std::round(part * denominator);
    } else {
        std::tie(numerator, denominator) = closestFraction(part, section.maxDenominator);
    }
    if (!mixed && x >= LargestFractionValue)
        numerator = x;
    if (mixed && numerator >= denominator) {
        whole += 1.0;
        numerator = 0.0;
    }

    // A whole number leaves the fraction out: blanks of its width when its numerator has ?
    // placeholders, nothing when it has # only, and 0/denominator when it has a 0.
    const QList<QChar> numeratorPlaces = placeholdersOf(section, TokenKind::NumeratorDigit);
    const QList<QChar> denominatorPlaces = placeholdersOf(section, TokenKind::DenominatorDigit);
    const bool wholeOnly = mixed && numerator == 0.0 && !numeratorPlaces.contains(u'0');
    const bool blankFraction = wholeOnly && numeratorPlaces.contains(u'?');

    const DecimalValue wholeValue = DecimalValue::fromDouble(whole);
    // Zero with nothing else to show still shows its 0.
    const bool showZero = wholeValue.isZero() && (numerator == 0.0 || !mixed);
    IntegerWriter integers(wholeValue, section.integerDigits, section.grouping, showZero);
    bool numeratorWritten = false;
    bool denominatorWritten = false;
    for (qsizetype i = 0; i < section.tokens.size(); ++i) {
        const FormatToken& token = section.tokens[i];
        if (wholeOnly && i >= section.fractionBegin && i < section.fractionEnd) {
            if (!blankFraction)
                continue;
            qsizetype width = 1;
            if (token.kind == TokenKind::Literal)
                width = token.text.size();
            else if (token.kind == TokenKind::FixedDenominator)
                width = token.width;
            out.text += QString(width, u' ');
            continue;
        }
        switch (token.kind) {
        case TokenKind::Literal:
            out.text += token.text;
            break;
        case TokenKind::Fill:
            markFill(token, out);
            break;
        case TokenKind::IntegerDigit:
            integers.writePlaceholder(out.text, token.placeholder);
            break;
        case TokenKind::NumeratorDigit:
            if (!numeratorWritten)
                writePadded(out.text, integerText(numerator), numeratorPlaces);
            numeratorWritten = true;
            break;
        case TokenKind::FractionBar:
            out.text += u'/';
            break;
        case TokenKind::DenominatorDigit:
            if (!denominatorWritten) {
                const QString digits = integerText(denominator);
                QString trailing;
                QString leading;
                for (qsizetype k = digits.size(); k < denominatorPlaces.size(); ++k) {
                    if (denominatorPlaces[k] == u'?')
                        trailing += u' ';
                    else if (denominatorPlaces[k] == u'0')
                        leading += u'0';
                }
                out.text += leading + digits + trailing;
            }
            denominatorWritten = true;
            break;
        case TokenKind::FixedDenominator:
            out.text += QString::number(token.count);
            break;
        default:
            break;
        }
    }
}

} // namespace

void markFill(const FormatToken& token, FormattedValue& out) {
    if (out.fillAt < 0 && !token.text.isEmpty()) {
        out.fillAt = out.text.size();
        out.fillChar = token.text[0];
    }
}

void renderNumber(const FormatSection& section, double magnitude, bool minus, FormattedValue& out) {
    if (minus)
        out.text += u'-';
    switch (section.kind) {
    case SectionKind::Scientific:
        renderScientific(section, magnitude, out);
        break;
    case SectionKind::Fraction:
        renderFraction(section, magnitude, out);
        break;
    case SectionKind::General:
        renderGeneral(section, magnitude, out);
        break;
    default: {
        DecimalValue value = DecimalValue::fromDouble(magnitude);
        value.scaleByPowerOfTen(section.powerOfTen);
        value.roundToDecimals(section.decimalDigits);
        writeTokens(section, value, 0, out);
        break;
    }
    }
}

} // namespace xls::format
