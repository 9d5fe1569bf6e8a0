#include "xls/format/DateSerial.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace xls::format {

namespace {

// Serials of 9999-12-31, the last day the spreadsheet shows.
constexpr qint64 LastSerial1900 = 2958465;
constexpr qint64 LastSerial1904 = 2957003;
constexpr qint64 SecondsPerDay = 86400;

// Day numbers count from 0000-03-01 of the proleptic Gregorian calendar. Years are taken from
// March to February so that a leap day is the last day of its year.
constexpr std::array<int, 12> DaysBeforeMonthFromMarch{0,   31,  61,  92,  122, 153,
                                                       184, 214, 245, 275, 306, 337};
constexpr qint64 DaysPer400Years = 146097;
constexpr qint64 DaysPer100Years = 36524;
constexpr qint64 DaysPer4Years = 1461;

qint64 dayNumber(int year, int month, int day) {
    const qint64 marchYear = month <= 2 ? year - 1 : year;
    const int monthFromMarch = month <= 2 ? month + 9 : month - 3;
    return marchYear * 365 + marchYear / 4 - marchYear / 100 + marchYear / 400 +
           DaysBeforeMonthFromMarch[static_cast<size_t>(monthFromMarch)] + day - 1;
}

void civilDate(qint64 number, int& year, int& month, int& day) {
    qint64 rest = number % DaysPer400Years;
    qint64 marchYear = number / DaysPer400Years * 400;
    const qint64 centuries = std::min<qint64>(rest / DaysPer100Years, 3);
    rest -= centuries * DaysPer100Years;
    const qint64 quads = rest / DaysPer4Years;
    rest -= quads * DaysPer4Years;
    const qint64 years = std::min<qint64>(rest / 365, 3);
    rest -= years * 365;
    marchYear += centuries * 100 + quads * 4 + years;
    int monthFromMarch = 11;
    while (DaysBeforeMonthFromMarch[static_cast<size_t>(monthFromMarch)] > rest)
        --monthFromMarch;
    day =
        static_cast<int>(rest) - DaysBeforeMonthFromMarch[static_cast<size_t>(monthFromMarch)] + 1;
    month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    year = static_cast<int>(marchYear) + (month <= 2 ? 1 : 0);
}

} // namespace

std::optional<DateSerial> DateSerial::fromSerial(double serial, DateSystem system,
                                                 int secondDecimals) {
    const qint64 lastSerial = system == DateSystem::Base1904 ? LastSerial1904 : LastSerial1900;
    if (!(serial >= 0.0) || serial >= static_cast<double>(lastSerial + 1))
        return std::nullopt;

    DateSerial result;
    for (int i = 0; i < secondDecimals; ++i)
        result.m_unitsPerSecond *= 10;
    const double wholeDays = std::floor(serial);
    const qint64 unitsPerDay = SecondsPerDay * result.m_unitsPerSecond;
    result.m_days = static_cast<qint64>(wholeDays);
    result.m_timeUnits = std::llround((serial - wholeDays) * static_cast<double>(unitsPerDay));
    if (result.m_timeUnits >= unitsPerDay) {
        ++result.m_days;
        result.m_timeUnits -= unitsPerDay;
    }
    if (result.m_days > lastSerial)
        return std::nullopt;

    const qint64 days = result.m_days;
    if (system == DateSystem::Base1904) {
        civilDate(dayNumber(1904, 1, 1) + days, result.m_year, result.m_month, result.m_day);
        result.m_weekday = static_cast<int>((days + 5) % 7); // 1904-01-01 was a Friday
        return result;
    }
    result.m_weekday = static_cast<int>((days + 6) % 7);
    if (days == 0) {
        result.m_year = 1900;
        result.m_month = 1;
        result.m_day = 0;
    } else if (days == 60) {
        result.m_year = 1900;
        result.m_month = 2;
        result.m_day = 29;
    } else {
        const qint64 base = dayNumber(1899, 12, days < 60 ? 31 : 30);
        civilDate(base + days, result.m_year, result.m_month, result.m_day);
    }
    return result;
}

} // namespace xls::format
