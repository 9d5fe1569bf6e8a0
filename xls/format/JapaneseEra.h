#pragma once

#include <QString>

namespace xls::format {

// A Japanese era as date codes show it: g gives the letter, gg the first character, ggg the
// name; e the year of the era, counted from 1 in the year the era began.
struct JapaneseEra {
    int startYear;
    int startMonth;
    int startDay;
    char16_t letter;
    const char16_t* name;
};

// The era of a date from Meiji on; nullptr before it.
const JapaneseEra* japaneseEraOf(int year, int month, int day);

} // namespace xls::format
