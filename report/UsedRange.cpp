#include "UsedRange.h"

#include "CellPrints.h"
#include "SheetLimits.h"

#include "xls/Workbook.h"

#include <algorithm>

namespace report {

PrintedContent::PrintedContent(const xls::Workbook& workbook, const xls::Sheet& sheet,
                               const std::vector<xls::CellRange>& objectCells,
                               const TextSpills* spills) {
    m_firstRow.fill(kLastRow + 1);
    m_lastRow.fill(-1);
    for (const xls::Cell& cell : sheet.cells()) {
        if (cellPrints(workbook, cell))
            add({cell.row(), cell.row(), cell.column(), cell.column()});
    }
    // A merged area shows its top left cell over the whole area.
    for (const xls::CellRange& merged : sheet.mergedRanges()) {
        const xls::Cell* topLeft = sheet.cell(merged.firstRow, merged.firstColumn);
        if (topLeft != nullptr && cellPrints(workbook, *topLeft))
            add(merged);
    }
    for (const xls::CellRange& cells : objectCells)
        add(cells);
    if (spills != nullptr) {
        for (const Spill& spill : spills->all())
            add({spill.row, spill.row, spill.firstColumn, spill.lastColumn});
    }
}

void PrintedContent::add(const xls::CellRange& cells) {
    const int first = std::clamp(cells.firstColumn, 0, kLastColumn);
    const int last = std::clamp(cells.lastColumn, 0, kLastColumn);
    for (int column = first; column <= last; ++column) {
        const auto at = static_cast<size_t>(column);
        m_firstRow[at] = std::min(m_firstRow[at], cells.firstRow);
        m_lastRow[at] = std::max(m_lastRow[at], cells.lastRow);
    }
}

std::optional<xls::CellRange> PrintedContent::printedRange() const {
    return trimmed({0, kLastRow, 0, kLastColumn});
}

std::optional<xls::CellRange> PrintedContent::trimmed(xls::CellRange area) const {
    // As a file may give it: its ends in either order, or past the sheet's edges.
    area = {std::clamp(std::min(area.firstRow, area.lastRow), 0, kLastRow),
            std::clamp(std::max(area.firstRow, area.lastRow), 0, kLastRow),
            std::clamp(std::min(area.firstColumn, area.lastColumn), 0, kLastColumn),
            std::clamp(std::max(area.firstColumn, area.lastColumn), 0, kLastColumn)};
    // The last row is exact for the area's columns; the last column is the last one holding
    // something between the area's first and last rows, wherever between them it lies.
    std::optional<xls::CellRange> content;
    for (int column = area.firstColumn; column <= area.lastColumn; ++column) {
        const auto at = static_cast<size_t>(column);
        if (m_firstRow[at] > area.lastRow || m_lastRow[at] < area.firstRow)
            continue;
        const int lastRow = std::min(m_lastRow[at], area.lastRow);
        if (!content)
            content = xls::CellRange{area.firstRow, lastRow, area.firstColumn, column};
        content->lastRow = std::max(content->lastRow, lastRow);
        content->lastColumn = column;
    }
    return content;
}

} // namespace report
