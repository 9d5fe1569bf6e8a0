#pragma once

#include "xls/format/FormatCode.h"

namespace xls::format {

// Tokens as they are read, before a section's kind decides what each one means.
enum class RawKind : quint8 {
    Literal,
    Fill,
    At,
    General,
    Digit,
    Point,
    Comma,
    Percent,
    Slash,
    Exponent,
    Year,
    MonthOrMinute,
    Day,
    Hour,
    Second,
    AmPm,
    ElapsedHours,
    ElapsedMinutes,
    ElapsedSeconds,
    EraName,
    EraYear,
    JapaneseWeekday,
};

struct RawToken {
    RawKind kind = RawKind::Literal;
    QChar placeholder;
    int count = 1;
    QString text; // the code's own text; for a literal, what it shows
    QString alternative;
};

struct RawSection {
    QList<RawToken> tokens;
    Condition condition;
    int color = 0;
    int language = 0;
    bool hasAt = false;
};

bool isDateToken(RawKind kind);

// Reads one section of a code from pos up to the next ';', which it steps over, telling whether
// a section follows; false for a code it cannot read.
bool scanSection(const QString& code, qsizetype& pos, RawSection& section, bool& moreSections);

} // namespace xls::format
