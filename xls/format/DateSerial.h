#pragma once

#include "xls/format/NumberFormat.h"

#include <QtGlobal>

#include <optional>

namespace xls::format {

// A date serial number split into calendar date and time of day the way the spreadsheet counts:
// in the 1900 system serial 1 is 1900-01-01, serial 0 the day before it shown as 1900-01-00, and
// serial 60 the 29th of February 1900 that never was (kept so that serials agree with old
// files); in the 1904 system serial 0 is 1904-01-01. The time is rounded to the smallest unit
// shown, whole seconds or 1 to 3 decimals of a second, and may carry into the next day.
class DateSerial {
public:
    // Nothing for a negative serial or one past 9999-12-31.
    static std::optional<DateSerial> fromSerial(double serial, DateSystem system,
                                                int secondDecimals);

    int year() const { return m_year; }
    int month() const { return m_month; }
    int day() const { return m_day; }
    // 0 is Sunday. In the 1900 system the weekdays before 1900-03-01 follow the phantom leap
    // day, so serial 1 is a Sunday.
    int weekday() const { return m_weekday; }

    int hour() const { return static_cast<int>(m_timeUnits / (3600 * m_unitsPerSecond)); }
    int minute() const { return static_cast<int>(m_timeUnits / (60 * m_unitsPerSecond) % 60); }
    int second() const { return static_cast<int>(m_timeUnits / m_unitsPerSecond % 60); }
    // The decimals of the second, in units of 10^-secondDecimals.
    int secondFraction() const { return static_cast<int>(m_timeUnits % m_unitsPerSecond); }

    // Whole hours, minutes and seconds since serial 0, for elapsed-time codes.
    qint64 elapsedSeconds() const { return m_days * 86400 + m_timeUnits / m_unitsPerSecond; }
    qint64 elapsedMinutes() const { return elapsedSeconds() / 60; }
    qint64 elapsedHours() const { return elapsedSeconds() / 3600; }

private:
    DateSerial() = default;

    qint64 m_days = 0;
    qint64 m_timeUnits = 0;
    qint64 m_unitsPerSecond = 1;
    int m_year = 0;
    int m_month = 0;
    int m_day = 0;
    int m_weekday = 0;
};

} // namespace xls::format
