#include "PageAxis.h"

#include <algorithm>

namespace report {

namespace {

// Sums of band sizes are compared with a little slack so that bands that fill a page
// exactly are not pushed to the next one by rounding.
constexpr double kSlack = 1e-6;

// A page's titles repeat when its body starts after them.
bool titlesOnPage(const Titles& titles, int start) {
    return titles.present() && start > titles.last;
}

// Greedy breaks: a page takes bands until the next one would not fit; a manual break starts a
// new page at its index (or at the next shown band when that one is hidden). A band larger
// than a page still gets a page of its own.
std::vector<int> pageStarts(const Axis& axis, const SizeOf& sizeOf, double capacity,
                            const Titles& titles, const QList<int>& manualBreaks) {
    std::vector<int> starts;
    auto nextBreak = manualBreaks.cbegin();
    double used = 0;
    double room = 0;
    for (int index = axis.first; index <= axis.last; ++index) {
        const double size = sizeOf(index);
        if (size <= 0)
            continue;
        bool forced = false;
        while (nextBreak != manualBreaks.cend() && *nextBreak <= index) {
            if (!starts.empty() && *nextBreak > starts.back())
                forced = true;
            ++nextBreak;
        }
        if (starts.empty() || forced || used + size > room + kSlack) {
            starts.push_back(index);
            used = 0;
            room = capacity - (titlesOnPage(titles, index) ? titles.size : 0);
        }
        used += size;
    }
    return starts;
}

// The print titles an axis repeats: none when they would fill its pages.
Titles repeated(const Axis& axis, const Titles& titles) {
    return axis.repeatsTitles ? titles : Titles{};
}

} // namespace

int pageOf(const Axis& axis, int index) {
    if (index < axis.own || index > axis.last || axis.starts.empty())
        return -1;
    if (index < axis.first)
        return 0;
    const auto after = std::upper_bound(axis.starts.begin(), axis.starts.end(), index);
    return static_cast<int>(after - axis.starts.begin()) - 1;
}

std::optional<std::pair<int, int>> pagesOf(const Axis& axis, int first, int last) {
    first = std::max(first, axis.own);
    last = std::min(last, axis.last);
    if (first > last || axis.starts.empty())
        return std::nullopt;
    const int lastPage = pageOf(axis, last);
    if (lastPage < 0 && first >= axis.first) // hidden rows before the first page's only
        return std::nullopt;
    return std::pair{std::max(0, pageOf(axis, first)), std::max(0, lastPage)};
}

Titles titlesOf(int first, int last, int limit, const SizeOf& sizeOf) {
    Titles titles;
    titles.first = std::clamp(first, 0, limit);
    titles.last = std::clamp(last, 0, limit);
    for (int index = titles.first; index <= titles.last; ++index)
        titles.size += sizeOf(index);
    return titles;
}

void breakAxis(Axis& axis, const SizeOf& sizeOf, double capacity, const Titles& titles,
               const QList<int>& manualBreaks) {
    axis.repeatsTitles = titles.size < capacity;
    axis.first = axis.repeatsTitles ? axis.afterTitles : axis.own;
    axis.starts = pageStarts(axis, sizeOf, capacity, repeated(axis, titles), manualBreaks);
}

Axis axisOf(int first, int last, const Titles& titles) {
    Axis axis{first, first, last, {}};
    if (titles.present() && first >= titles.first && first <= titles.last && titles.last < last)
        axis.first = titles.last + 1;
    axis.afterTitles = axis.first;
    return axis;
}

QList<Band> bandsOf(const Axis& axis, int page, const Titles& titles, double offset,
                    const SizeOf& sizeOf) {
    QList<Band> result;
    const auto add = [&](int index, bool title) {
        const double size = sizeOf(index);
        if (size <= 0)
            return;
        result.append({index, offset, size, title});
        offset += size;
    };
    const int start = axis.starts[static_cast<size_t>(page)];
    if (titlesOnPage(repeated(axis, titles), start)) {
        for (int index = titles.first; index <= titles.last; ++index)
            add(index, true);
    }
    const bool lastPage = static_cast<size_t>(page) + 1 == axis.starts.size();
    const int end = lastPage ? axis.last : axis.starts[static_cast<size_t>(page) + 1] - 1;
    for (int index = start; index <= end; ++index)
        add(index, false);
    return result;
}

} // namespace report
