#include "xls/format/GeneralFormat.h"

#include "xls/format/DecimalValue.h"

#include <algorithm>
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

} // namespace

void appendGeneral(QString& out, double magnitude) {
    const DecimalValue exact = DecimalValue::fromDouble(magnitude);
    if (exact.isZero()) {
        out += u'0';
        return;
    }
    const int exponent = exact.exponent();
    if (exponent >= LowestFixedExponent && exponent < MaxIntegerDigits) {
        // Room after the integer digits and the decimal point; below 1 the "0." takes two.
        const int decimals =
            exponent >= 0 ? std::max(0, MaxWidth - 1 - (exponent + 1)) : MaxWidth - 2;
        DecimalValue rounded = exact;
        rounded.roundToDecimals(decimals);
        if (rounded.integerDigitCount() <= MaxIntegerDigits) {
            appendFixed(out, rounded);
            return;
        }
    }
    appendExponential(out, exact);
}

} // namespace xls::format
