#include "UsedRange.h"

#include "CellPrints.h"
#include "SheetMetrics.h"

#include "xls/Workbook.h"

#include <algorithm>

namespace report {

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

namespace {

constexpr int kLastColumn = 255;

bool isFilled(const xls::Cell& cell) {
    return cell.type() != xls::CellType::Blank;
}

// The furthest column text flowing from `column` of `row` may reach in direction step (1 to
// the right, -1 to the left) before a merged area stops it; the column itself when it is
// merged.
int flowLimit(const xls::Sheet& sheet, int row, int column, int step) {
    int limit = step > 0 ? kLastColumn : 0;
    for (const xls::CellRange& merged : sheet.mergedRanges()) {
        if (row < merged.firstRow || row > merged.lastRow)
            continue;
        if (column >= merged.firstColumn && column <= merged.lastColumn)
            return column;
        if (step > 0 && merged.firstColumn > column)
            limit = std::min(limit, merged.firstColumn - 1);
        if (step < 0 && merged.lastColumn < column)
            limit = std::max(limit, merged.lastColumn + 1);
    }
    return limit;
}

// The column text from `cell` reaches when it flows `need` points in direction step past its
// own column, through the empty columns up to the used range's edge and beyond it.
int reachedColumn(const xls::Sheet& sheet, const SheetMetrics& metrics, const xls::Cell& cell,
                  double need, int step, int edge) {
    int column = cell.column();
    double gained = 0;
    while (gained < need && column != edge) {
        column += step;
        gained += metrics.columnWidth(column);
    }
    if (gained >= need)
        return column;
    // Only now, when the text leaves the range, are the merged areas looked at.
    const int limit = flowLimit(sheet, cell.row(), cell.column(), step);
    if ((limit - edge) * step < 0)
        return cell.column();
    while (gained < need && column != limit) {
        column += step;
        gained += metrics.columnWidth(column);
    }
    return column;
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

std::optional<xls::CellRange> printedRange(const xls::Workbook& workbook, const xls::Sheet& sheet,
                                           const SheetMetrics& metrics,
                                           const TextReachMeasure& measure) {
    const std::optional<xls::CellRange> used = usedRange(workbook, sheet);
    if (!used)
        return used;
    xls::CellRange printed = *used;
    const std::vector<xls::Cell>& cells = sheet.cells();
    for (size_t begin = 0; begin < cells.size();) {
        const int row = cells[begin].row();
        const xls::Cell* first = nullptr;
        const xls::Cell* last = nullptr;
        size_t end = begin;
        for (; end < cells.size() && cells[end].row() == row; ++end) {
            if (!isFilled(cells[end]))
                continue;
            if (first == nullptr)
                first = &cells[end];
            last = &cells[end];
        }
        begin = end;
        if (first == nullptr || metrics.rowHeight(row) <= 0)
            continue;
        // Text cannot flow past the sheet's first or last column: those cells go unmeasured.
        const auto reachOf = [&](const xls::Cell& cell) {
            return measure.reach(cell, metrics.columnWidth(cell.column()));
        };
        TextReach lastReach;
        if (last->column() < kLastColumn)
            lastReach = reachOf(*last);
        if (lastReach.right > 0)
            printed.lastColumn =
                std::max(printed.lastColumn, reachedColumn(sheet, metrics, *last, lastReach.right,
                                                           1, used->lastColumn));
        if (first->column() == 0)
            continue;
        const bool measured = first == last && last->column() < kLastColumn;
        const TextReach firstReach = measured ? lastReach : reachOf(*first);
        if (firstReach.left > 0)
            printed.firstColumn =
                std::min(printed.firstColumn, reachedColumn(sheet, metrics, *first, firstReach.left,
                                                            -1, used->firstColumn));
    }
    return printed;
}

} // namespace report
