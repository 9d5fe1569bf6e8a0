#include "xls/format/JapaneseEra.h"

#include <array>

namespace xls::format {

namespace {

constexpr std::array<JapaneseEra, 5> Eras{{
    {1868, 10, 23, u'M', u"明治"},
    {1912, 7, 30, u'T', u"大正"},
    {1926, 12, 25, u'S', u"昭和"},
    {1989, 1, 8, u'H', u"平成"},
    {2019, 5, 1, u'R', u"令和"},
}};

bool startsOnOrBefore(const JapaneseEra& era, int year, int month, int day) {
    if (era.startYear != year)
        return era.startYear < year;
    if (era.startMonth != month)
        return era.startMonth < month;
    return era.startDay <= day;
}

} // namespace

const JapaneseEra* japaneseEraOf(int year, int month, int day) {
    for (auto era = Eras.rbegin(); era != Eras.rend(); ++era) {
        if (startsOnOrBefore(*era, year, month, day))
            return &*era;
    }
    return nullptr;
}

} // namespace xls::format
