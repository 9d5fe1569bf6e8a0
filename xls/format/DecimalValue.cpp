#include "xls/format/DecimalValue.h"

#include <charconv>
#include <cmath>

namespace xls::format {

DecimalValue DecimalValue::fromDouble(double value) {
    DecimalValue result;
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0 || !std::isfinite(magnitude))
        return result;

    // "d.dddddddddddddde±x": correctly rounded to 15 significant digits.
    std::array<char, 32> buffer{};
    const auto converted = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                         std::chars_format::scientific, MaxDigits - 1);
    const char* p = buffer.data();
    const char* end = converted.ptr;
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            result.m_digits[static_cast<size_t>(result.m_count++)] =
                static_cast<signed char>(*p - '0');
    }
    int exponent = 0;
    if (p < end)
        std::from_chars(p[1] == '+' ? p + 2 : p + 1, end, exponent);
    result.m_exponent = exponent;
    while (result.m_count > 0 && result.m_digits[static_cast<size_t>(result.m_count - 1)] == 0)
        --result.m_count;
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
    if (roundUp) {
        int index = keep - 1;
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
    while (m_count > 0 && m_digits[static_cast<size_t>(m_count - 1)] == 0)
        --m_count;
    if (m_count == 0)
        m_exponent = 0;
}

} // namespace xls::format
