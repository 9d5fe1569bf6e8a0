#pragma once

#include "PageLayout.h"

#include "xls/CellRange.h"

#include <optional>
#include <vector>

class QPainter;

namespace xls {
class Sheet;
class Workbook;
struct SheetObject;
} // namespace xls

namespace report {

class CellFonts;
class SheetMetrics;

// The comments that print on a sheet's pages as their boxes: those shown on the sheet, when
// its page setup prints comments as displayed. Hidden comments never print there.
std::vector<const xls::SheetObject*> printedCommentBoxes(const xls::Sheet& sheet);

// The cells the printed comment boxes cover together; empty when none prints.
std::optional<xls::CellRange> commentBoxCells(const xls::Sheet& sheet);

// Paints the printed comment boxes that lie on the page, above its cells: fill, border and
// text with its runs, cut at the edge of the page's own rows and columns. The painter draws
// in the cell block's points, as for the page's other layers.
void paintCommentBoxes(QPainter& painter, const xls::Workbook& workbook, const xls::Sheet& sheet,
                       const LaidOutPage& page, const SheetMetrics& metrics,
                       const CellFonts& fonts);

} // namespace report
