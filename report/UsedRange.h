#pragma once

#include "SheetLimits.h"
#include "TextSpills.h"

#include "xls/CellRange.h"

#include <array>
#include <optional>
#include <vector>

namespace xls {
class Sheet;
class Workbook;
} // namespace xls

namespace report {

// Where a sheet holds something that prints: every cell with a value and every blank cell
// whose format shows on paper (a border or a fill), merged areas whole, the cells that
// printing drawing objects cover and the columns that text flows into.
class PrintedContent {
public:
    // objectCells: the cells each printing object covers. spills: null for none.
    PrintedContent(const xls::Workbook& workbook, const xls::Sheet& sheet,
                   const std::vector<xls::CellRange>& objectCells, const TextSpills* spills);

    // The part of a sheet that prints when it has no print area: from A1, where the
    // spreadsheet starts it, to the last row and column that hold something. Empty when
    // nothing prints.
    std::optional<xls::CellRange> printedRange() const;
    // A print area cut back, before its pages are laid out and its scale chosen, to the last
    // of its rows and columns that hold something within it: whole columns (or rows) end at
    // the sheet's content. Empty when nothing in it prints. The area's start stays; its ends
    // are taken in either order and held to the sheet.
    std::optional<xls::CellRange> trimmed(xls::CellRange area) const;

private:
    void add(const xls::CellRange& cells);

    // For each column, the first and last row holding something; first > last for none.
    std::array<int, kColumnCount> m_firstRow;
    std::array<int, kColumnCount> m_lastRow;
};

} // namespace report
