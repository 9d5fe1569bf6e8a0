#include "UsedRange.h"

#include "xls/Workbook.h"

#include <algorithm>

namespace report {

namespace {

bool formatPrints(const xls::CellFormat& format) {
    const auto drawn = [](const xls::Border& border) {
        return border.style != xls::BorderStyle::None;
    };
    const bool diagonal = (format.diagonalDown || format.diagonalUp) && drawn(format.diagonal);
    return drawn(format.left) || drawn(format.right) || drawn(format.top) || drawn(format.bottom) ||
           diagonal || format.fillPattern != 0;
}

bool cellPrints(const xls::Workbook& workbook, const xls::Cell& cell) {
    return cell.type() != xls::CellType::Blank ||
           formatPrints(workbook.cellFormat(cell.formatIndex()));
}

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
