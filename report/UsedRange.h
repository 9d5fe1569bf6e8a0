#pragma once

#include "xls/CellRange.h"

#include <optional>

namespace xls {
class Cell;
class Sheet;
class Workbook;
} // namespace xls

namespace report {

class SheetMetrics;

// How far a cell's text reaches past its own cell, in points, when it flows into empty
// neighbours: to the left and to the right. Both 0 for a cell whose text stays in it.
struct TextReach {
    double left = 0;
    double right = 0;
};

class TextReachMeasure {
public:
    virtual ~TextReachMeasure() = default;
    // cellWidth: the width of the cell's column, in points.
    virtual TextReach reach(const xls::Cell& cell, double cellWidth) const = 0;
};

// Widens range to take in part; an empty range becomes part.
void include(std::optional<xls::CellRange>& range, const xls::CellRange& part);

// The part of a sheet that prints when it has no print area: the smallest range holding every
// cell with a value and every blank cell whose format shows on paper (a border or a fill),
// merged areas whole. Empty when nothing prints.
std::optional<xls::CellRange> usedRange(const xls::Workbook& workbook, const xls::Sheet& sheet);

// The used range widened, as the spreadsheet widens it, to the last column that text flowing
// past its left or right edge reaches. Only the first and last filled cell of a row can flow
// past the range, so at most two cells a row are measured.
std::optional<xls::CellRange> printedRange(const xls::Workbook& workbook, const xls::Sheet& sheet,
                                           const SheetMetrics& metrics,
                                           const TextReachMeasure& measure);

} // namespace report
