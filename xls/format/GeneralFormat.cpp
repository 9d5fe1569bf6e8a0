#include "xls/format/GeneralFormat.h"

#include "xls/format/DecimalValue.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace xls::format {

namespace {

constexpr int MaxWidth = 11;
constexpr int MaxIntegerDigits = 11;
constexpr int LowestFixedExponent = -4;

void appendDigit(QString& out, int digit) {
    out += QChar(u'0' + digit);
}

void appendFixed(QString& out, const DecimalValue& value) {
    const int integerDigits = value.integerDigitCount();
    if (integerDigits == 0)
        out += u'0';
    for (int power = integerDigits - 1; power >= 0; --power)
        appendDigit(out, value.digitAt(power));
    if (value.lowestPower() < 0) {
        out += u'.';
        for (int power = -1; power >= value.lowestPower(); --power)
            appendDigit(out, value.digitAt(power));
    }
}

// A value already rounded to the digits it shows, in exponent notation: "1.25E+07".
void appendScientific(QString& out, const DecimalValue& value) {
    const int exponent = value.exponent();
    appendDigit(out, value.digitAt(exponent));
    if (value.lowestPower() < exponent) {
        out += u'.';
        for (int power = exponent - 1; power >= value.lowestPower(); --power)
            appendDigit(out, value.digitAt(power));
    }
    out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    const int magnitude = std::abs(exponent);
    if (magnitude < 10)
        out += u'0';
    out += QString::number(magnitude);
}

void appendExponential(QString& out, const DecimalValue& exact) {
    DecimalValue value = exact;
    // "E+xx" takes four characters, five from E+100 on; the rest is the mantissa.
    int exponentWidth = std::abs(value.exponent()) >= 100 ? 5 : 4;
    value.roundToSignificant(MaxWidth - exponentWidth - 1);
    if (std::abs(value.exponent()) >= 100 && exponentWidth == 4) {
        exponentWidth = 5;
        value = exact;
        value.roundToSignificant(MaxWidth - exponentWidth - 1);
    }
    appendScientific(out, value);
}

bool inFixedRange(int exponent) {
    return exponent >= LowestFixedExponent && exponent < MaxIntegerDigits;
}

// The decimals General shows in fixed notation: what is left of its width after the integer
// digits and the decimal point; below 1 the "0." takes two.
int fixedDecimals(int exponent) {
    return exponent >= 0 ? std::max(0, MaxWidth - 1 - (exponent + 1)) : MaxWidth - 2;
}

} // namespace

void appendGeneral(QString& out, double magnitude) {
    const DecimalValue exact = DecimalValue::fromDouble(magnitude);
    if (exact.isZero()) {
        out += u'0';
        return;
    }
    const int exponent = exact.exponent();
    if (inFixedRange(exponent)) {
        DecimalValue rounded = exact;
        rounded.roundToDecimals(fixedDecimals(exponent));
        if (rounded.integerDigitCount() <= MaxIntegerDigits) {
            appendFixed(out, rounded);
            return;
        }
    }
    appendExponential(out, exact);
}

QString narrowedGeneral(double value, const std::function<bool(const QString&)>& fits) {
    if (!std::isfinite(value))
        return {};
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    QString candidate = sign;
    appendGeneral(candidate, std::fabs(value));
    if (fits(candidate))
        return candidate;
    const DecimalValue exact = DecimalValue::fromDouble(std::fabs(value));
    if (exact.isZero())
        return {};
    if (inFixedRange(exact.exponent())) {
        for (int decimals = fixedDecimals(exact.exponent()) - 1; decimals >= 0; --decimals) {
            DecimalValue rounded = exact;
            rounded.roundToDecimals(decimals);
            if (rounded.isZero() || rounded.integerDigitCount() > MaxIntegerDigits)
                continue;
            candidate = sign;
            appendFixed(candidate, rounded);
            if (fits(candidate))
                return candidate;
        }
    }
    // Exponent notation with at most five decimals of the mantissa, as General's width allows.
    for (int digits = 6; digits >= 1; --digits) {
        DecimalValue rounded = exact;
        rounded.roundToSignificant(digits);
        candidate = sign;
        appendScientific(candidate, rounded);
        if (fits(candidate))
            return candidate;
    }
    return {};
}

} // namespace xls::format
