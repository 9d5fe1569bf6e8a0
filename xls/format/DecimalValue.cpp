#include "xls/format/DecimalValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace xls::format {

DecimalValue DecimalValue::fromDouble(double value) {
    DecimalValue result;
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0 || !std::isfinite(magnitude))
        return result;

    // Far more digits than kept, so that a tie at the 16th digit is seen as one and rounds
    // away from zero like every other rounding here (a correctly rounded 15-digit conversion
    // would round it to even).
    constexpr int ConvertedDigits = 24;
    std::array<char, 48> buffer{};
    const auto converted = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                         std::chars_format::scientific, ConvertedDigits - 1);
    std::array<signed char, ConvertedDigits> digits{};
    int count = 0;
    const char* p = buffer.data();
    const char* end = converted.ptr;
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9' && count < ConvertedDigits)
            digits[static_cast<size_t>(count++)] = static_cast<signed char>(*p - '0');
    }
    int exponent = 0;
    if (p < end)
        std::from_chars(p[1] == '+' ? p + 2 : p + 1, end, exponent);

    result.m_count = std::min(count, MaxDigits);
    for (int i = 0; i < result.m_count; ++i)
        result.m_digits[static_cast<size_t>(i)] = digits[static_cast<size_t>(i)];
    result.m_exponent = exponent;
    const bool roundUp = count > MaxDigits && digits[MaxDigits] >= 5;
    if (roundUp)
        result.addUnitAt(result.m_count);
    result.trimTrailingZeros();
    return result;
}

int DecimalValue::digitAt(int power) const {
    const int index = m_exponent - power;
    if (index < 0 || index >= m_count)
        return 0;
    return m_digits[static_cast<size_t>(index)];
}

void DecimalValue::scaleByPowerOfTen(int power) {
    if (m_count > 0)
        m_exponent += power;
}

void DecimalValue::roundToDecimals(int decimals) {
    if (m_count > 0)
        keepLeadingDigits(m_exponent + decimals + 1);
}

void DecimalValue::roundToSignificant(int digits) {
    if (m_count > 0)
        keepLeadingDigits(digits);
}

void DecimalValue::keepLeadingDigits(int keep) {
    if (keep >= m_count)
        return;
    if (keep < 0) {
        m_count = 0;
        m_exponent = 0;
        return;
    }
    const bool roundUp = m_digits[static_cast<size_t>(keep)] >= 5;
    m_count = keep;
    if (roundUp)
        addUnitAt(keep);
    trimTrailingZeros();
}

void DecimalValue::addUnitAt(int count) {
    int index = count - 1;
    while (index >= 0 && m_digits[static_cast<size_t>(index)] == 9)
        --index;
    if (index < 0) {
        m_digits[0] = 1;
        m_count = 1;
        ++m_exponent;
    } else {
        ++m_digits[static_cast<size_t>(index)];
        m_count = index + 1;
    }
}

void DecimalValue::trimTrailingZeros() {
    while (m_count > 0 && m_digits[static_cast<size_t>(m_count - 1)] == 0)
        --m_count;
    if (m_count == 0)
        m_exponent = 0;
}

} // namespace xls::format
