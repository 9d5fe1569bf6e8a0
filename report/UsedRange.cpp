#include "UsedRange.h"

#include "CellPrints.h"

#include "xls/Workbook.h"

#include <algorithm>

namespace report {

namespace {

void include(std::optional<xls::CellRange>& range, const xls::CellRange& part) {
    if (!range) {
        range = part;
        return;
    }
    range->firstRow = std::min(range->firstRow, part.firstRow);
    range->lastRow = std::max(range->lastRow, part.lastRow);
    range->firstColumn = std::min(range->firstColumn, part.firstColumn);
    range->lastColumn = std::max(range->lastColumn, part.lastColumn);
}

} // namespace

std::optional<xls::CellRange> usedRange(const xls::Workbook& workbook, const xls::Sheet& sheet) {
    std::optional<xls::CellRange> range;
    for (const xls::Cell& cell : sheet.cells()) {
        if (cellPrints(workbook, cell))
            include(range, {cell.row(), cell.row(), cell.column(), cell.column()});
    }
    // A merged area shows its top left cell over the whole area.
    for (const xls::CellRange& merged : sheet.mergedRanges()) {
        const xls::Cell* topLeft = sheet.cell(merged.firstRow, merged.firstColumn);
        if (topLeft != nullptr && cellPrints(workbook, *topLeft))
            include(range, merged);
    }
    return range;
}

} // namespace report
