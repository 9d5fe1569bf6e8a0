#pragma once

#include "xls/Chart.h"

#include <vector>

namespace report {

// A value axis' scale as the spreadsheet sets it: what the axis gives outright is honoured,
// the rest is automatic. Automatic linear scales start at zero for bars, columns and areas
// (and whenever zero lies close to the values), take a round major unit (1, 2 or 5 times a
// power of ten, no more than ten units across) and end on a whole unit past the values.
// Logarithmic scales run from power to power of ten.
class ChartScale {
public:
    ChartScale() = default;
    ChartScale(const xls::ValueScale& given, double low, double high, bool includeZero);

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    double majorUnit() const { return m_major; }
    bool logarithmic() const { return m_logarithmic; }
    // Where a value stands between the axis' start (0) and end (1), reversal applied; values
    // out of range fall outside 0..1.
    double fraction(double value) const;
    // The values of the major ticks, from the minimum up.
    std::vector<double> ticks() const;

private:
    void fitLinear(const xls::ValueScale& given, double low, double high, bool includeZero);
    void fitLogarithmic(const xls::ValueScale& given, double low, double high);

    double m_minimum = 0;
    double m_maximum = 1;
    double m_major = 0.2;
    bool m_logarithmic = false;
    bool m_reversed = false;
};

} // namespace report
