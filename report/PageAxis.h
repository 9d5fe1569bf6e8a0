#pragma once

#include "PageLayout.h"

#include <QList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace report {

// Rows (or columns) repeated on every page, and the space they take.
struct Titles {
    int first = 0;
    int last = -1;
    double size = 0;
    bool present() const { return last >= first; }
};

// The rows (or columns) of one print area along one direction, and where its pages start.
struct Axis {
    int own = 0;   // the area's first row: print titles it starts with are its own
    int first = 0; // the first row of the body, after print titles at the top of the area
    int last = -1;
    std::vector<int> starts;
    // Print titles repeat only where they leave room for the body on the page; where they
    // do not, the area's own titles are laid out as body.
    bool repeatsTitles = true;
    int afterTitles = 0; // the body's first row when the titles repeat
};

using SizeOf = std::function<double(int)>;

// The page of an axis that shows a row (column) of the area as its own: of its body, or one
// of the print titles the area starts with, which its first page shows. -1 when none does.
int pageOf(const Axis& axis, int index);
// The first and last page of an axis that show any of the rows (columns) first to last as
// their own.
std::optional<std::pair<int, int>> pagesOf(const Axis& axis, int first, int last);
// Print titles from first to last, clamped to the sheet's limit.
Titles titlesOf(int first, int last, int limit, const SizeOf& sizeOf);
// Body of an area: print titles at its top are printed as titles, not twice.
Axis axisOf(int first, int last, const Titles& titles);
// Where the pages of an axis start for pages of this capacity, with the titles repeated where
// they leave room for the body. A manual break starts a new page.
void breakAxis(Axis& axis, const SizeOf& sizeOf, double capacity, const Titles& titles,
               const QList<int>& manualBreaks);
// The bands one page of an axis shows, repeated titles first, from offset on.
QList<Band> bandsOf(const Axis& axis, int page, const Titles& titles, double offset,
                    const SizeOf& sizeOf);

} // namespace report
