#pragma once

#include "PageLayout.h"

#include "xls/CellRange.h"

#include <QRectF>

#include <optional>

namespace xls {
struct ObjectAnchor;
}

namespace report {

class SheetMetrics;

// The cells an anchored object covers: a corner at offset 0 of its row or column only touches
// that row or column and leaves it out. Clamped to the sheet's rows and columns.
xls::CellRange anchoredCells(const xls::ObjectAnchor& anchor);

// Where an anchored object lies on a laid-out page, in the points of the page's cell block
// (those the page layers paint in), reckoned from the page's own rows and columns, so that
// it may lie partly or wholly off the page. Empty when the page has no rows or columns of its
// own.
QRectF placeOnPage(const xls::ObjectAnchor& anchor, const LaidOutPage& page,
                   const SheetMetrics& metrics);

// The first and last of the page's own rows and columns, print titles left out; empty when it
// has none.
std::optional<xls::CellRange> ownCells(const LaidOutPage& page);

// The part of a page's cell block that objects print in: its own rows and columns, without
// the print titles and headings that objects never cover.
QRectF objectArea(const LaidOutPage& page);

} // namespace report
