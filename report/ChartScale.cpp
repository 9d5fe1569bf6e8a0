#include "ChartScale.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

// Major units across the axis at most, and ticks drawn at most (a guard against a tiny unit
// given in the file).
constexpr double kMostUnits = 10;
constexpr int kMostTicks = 1000;
// An automatic maximum leaves this share of the values' span above them.
constexpr double kHeadroom = 0.05;
// Zero joins an automatic scale when the values' span reaches this share of their maximum.
constexpr double kZeroReach = 1.0 / 6;

bool usable(const std::optional<double>& value) {
    return value && std::isfinite(*value);
}

// The smallest round unit (1, 2 or 5 times a power of ten) that crosses span in kMostUnits.
double roundUnit(double span) {
    if (!(span > 0) || !std::isfinite(span))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(span / kMostUnits)));
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (span / (step * power) <= kMostUnits)
            return step * power;
    }
    return 10 * power;
}

} // namespace

ChartScale::ChartScale(const xls::ValueScale& given, double low, double high, bool includeZero)
    : m_logarithmic(given.logarithmic)
    , m_reversed(given.reversed) {
    if (!std::isfinite(low) || !std::isfinite(high) || low > high) {
        low = 0;
        high = 1;
    }
    if (m_logarithmic)
        fitLogarithmic(given, low, high);
    else
        fitLinear(given, low, high, includeZero);
    // Values too far apart for a double to measure fall back to a plain scale.
    if (!std::isfinite(m_maximum - m_minimum) || !std::isfinite(m_major) ||
        (m_logarithmic && !std::isfinite(std::log(m_maximum / m_minimum)))) {
        m_minimum = m_logarithmic ? 1 : 0;
        m_maximum = m_logarithmic ? 10 : 1;
        m_major = m_logarithmic ? 10 : 0.2;
    }
}

void ChartScale::fitLinear(const xls::ValueScale& given, double low, double high,
                           bool includeZero) {
    if (includeZero || (low > 0 && (high - low) >= high * kZeroReach))
        low = std::min(low, 0.0);
    if (includeZero || (high < 0 && (high - low) >= -low * kZeroReach))
        high = std::max(high, 0.0);
    if (usable(given.minimum))
        low = *given.minimum;
    if (usable(given.maximum))
        high = *given.maximum;
    if (high <= low)
        high = low + 1;
    const double headroom = usable(given.maximum) || high == 0 ? 0 : (high - low) * kHeadroom;
    m_major = usable(given.majorUnit) && *given.majorUnit > 0 ? *given.majorUnit
                                                              : roundUnit(high + headroom - low);
    m_minimum = usable(given.minimum) ? low : std::floor(low / m_major) * m_major;
    m_maximum = usable(given.maximum) ? high : std::ceil((high + headroom) / m_major) * m_major;
    if (m_maximum <= m_minimum)
        m_maximum = m_minimum + m_major;
}

void ChartScale::fitLogarithmic(const xls::ValueScale& given, double low, double high) {
    low = low > 0 ? low : 1;
    high = std::max(high, low);
    m_minimum = usable(given.minimum) && *given.minimum > 0
                    ? *given.minimum
                    : std::pow(10.0, std::floor(std::log10(low)));
    m_maximum = usable(given.maximum) && *given.maximum > m_minimum
                    ? *given.maximum
                    : std::pow(10.0, std::ceil(std::log10(high)));
    if (m_maximum <= m_minimum)
        m_maximum = m_minimum * 10;
    m_major = usable(given.majorUnit) && *given.majorUnit > 1 ? *given.majorUnit : 10;
}

double ChartScale::fraction(double value) const {
    double at = 0;
    if (m_logarithmic)
        at = value > 0 ? std::log(value / m_minimum) / std::log(m_maximum / m_minimum) : -1;
    else
        at = (value - m_minimum) / (m_maximum - m_minimum);
    return m_reversed ? 1 - at : at;
}

std::vector<double> ChartScale::ticks() const {
    std::vector<double> values;
    const double slack = m_logarithmic ? m_maximum * 1e-9 : m_major * 1e-9;
    double value = m_minimum;
    for (int i = 0; i < kMostTicks && value <= m_maximum + slack; ++i) {
        values.push_back(std::abs(value) < slack ? 0 : value);
        value =
            m_logarithmic ? m_minimum * std::pow(m_major, i + 1) : m_minimum + m_major * (i + 1);
    }
    return values;
}

} // namespace report
