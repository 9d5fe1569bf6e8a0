#pragma once

#include <array>

namespace xls::format {

// A non-negative number as the spreadsheet sees it: rounded to 15 significant decimal digits and
// kept as those digits, so that rounding to a number of places is exact decimal rounding (1.005
// rounds to 1.01 although the nearest double lies below 1.005).
class DecimalValue {
public:
    static constexpr int MaxDigits = 15;

    // |value| to 15 significant digits; value must be finite.
    static DecimalValue fromDouble(double value);

    bool isZero() const { return m_count == 0; }
    // The power of ten of the leading digit (2 for 123.4, -2 for 0.05); 0 for zero.
    int exponent() const { return m_exponent; }
    // The power of ten of the last non-zero digit; 0 for zero.
    int lowestPower() const { return m_count == 0 ? 0 : m_exponent - m_count + 1; }
    // How many digits stand before the decimal point (0 below 1).
    int integerDigitCount() const { return m_count == 0 || m_exponent < 0 ? 0 : m_exponent + 1; }
    // The digit that stands for 10^power.
    int digitAt(int power) const;

    void scaleByPowerOfTen(int power);
    // Both round half away from zero.
    void roundToDecimals(int decimals);
    void roundToSignificant(int digits);

private:
    void keepLeadingDigits(int keep);
    // Adds one unit in the last of the first `count` digits, which become the digits.
    void addUnitAt(int count);
    void trimTrailingZeros();

    std::array<signed char, MaxDigits> m_digits{};
    int m_count = 0;
    int m_exponent = 0;
};

} // namespace xls::format
