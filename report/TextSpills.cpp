#include "TextSpills.h"

#include "SheetLimits.h"
#include "SheetMetrics.h"

#include "xls/Sheet.h"

#include <algorithm>

namespace report {

namespace {

// A text cell with room beside it: the columns its text may take before it is measured.
struct Candidate {
    const xls::Cell* cell = nullptr;
    int leftLimit = 0; // the furthest column to the left its text may reach
    int rightLimit = 0;
    bool merged = false; // the cell lies in a merged area: its text stays there
};

// The text cells of shown rows and columns whose neighbours leave them room: up to the next
// filled cell on either side. A filled cell in a hidden column does not stop the text.
std::vector<Candidate> candidatesOf(const xls::Sheet& sheet, const SheetMetrics& metrics) {
    std::vector<Candidate> candidates;
    std::vector<const xls::Cell*> filled; // of one row, in column order
    const std::vector<xls::Cell>& cells = sheet.cells();
    for (size_t begin = 0; begin < cells.size();) {
        const int row = cells[begin].row();
        size_t end = begin;
        for (; end < cells.size() && cells[end].row() == row; ++end) {
        }
        filled.clear();
        if (metrics.rowHeight(row) > 0) {
            for (size_t i = begin; i < end; ++i) {
                if (cells[i].type() != xls::CellType::Blank &&
                    metrics.columnWidth(cells[i].column()) > 0)
                    filled.push_back(&cells[i]);
            }
        }
        for (size_t k = 0; k < filled.size(); ++k) {
            const xls::Cell& cell = *filled[k];
            if (cell.type() != xls::CellType::Text)
                continue;
            const int left = k > 0 ? filled[k - 1]->column() + 1 : 0;
            const int right = k + 1 < filled.size() ? filled[k + 1]->column() - 1 : kLastColumn;
            if (left < cell.column() || right > cell.column())
                candidates.push_back({&cell, left, right});
        }
        begin = end;
    }
    return candidates;
}

// A merged area stops the text of the cells beside it in its rows, and keeps the text of its
// own cells in it.
void stopAtMergedAreas(const xls::Sheet& sheet, std::vector<Candidate>& candidates) {
    const auto byRow = [](const Candidate& candidate, int row) {
        return candidate.cell->row() < row;
    };
    for (const xls::CellRange& merged : sheet.mergedRanges()) {
        auto at = std::lower_bound(candidates.begin(), candidates.end(), merged.firstRow, byRow);
        for (; at != candidates.end() && at->cell->row() <= merged.lastRow; ++at) {
            const int column = at->cell->column();
            if (column >= merged.firstColumn && column <= merged.lastColumn)
                at->merged = true;
            else if (merged.lastColumn < column)
                at->leftLimit = std::max(at->leftLimit, merged.lastColumn + 1);
            else
                at->rightLimit = std::min(at->rightLimit, merged.firstColumn - 1);
        }
    }
}

// The column text reaches when it flows `need` points from `column` in direction step (1 to
// the right, -1 to the left), going no further than limit.
int reachedColumn(const SheetMetrics& metrics, int column, double need, int step, int limit) {
    double gained = 0;
    while (gained < need && column != limit) {
        column += step;
        gained += metrics.columnWidth(column);
    }
    return column;
}

} // namespace

TextSpills::TextSpills(const xls::Sheet& sheet, const SheetMetrics& metrics,
                       const TextReachMeasure& measure) {
    std::vector<Candidate> candidates = candidatesOf(sheet, metrics);
    stopAtMergedAreas(sheet, candidates);
    for (const Candidate& candidate : candidates) {
        const xls::Cell& cell = *candidate.cell;
        const int column = cell.column();
        if (candidate.merged || (candidate.leftLimit >= column && candidate.rightLimit <= column))
            continue;
        const TextReach reach = measure.reach(cell, metrics.columnWidth(column));
        Spill spill{cell.row(), column, column, column};
        if (reach.left > 0 && candidate.leftLimit < column)
            spill.firstColumn = reachedColumn(metrics, column, reach.left, -1, candidate.leftLimit);
        if (reach.right > 0 && candidate.rightLimit > column)
            spill.lastColumn = reachedColumn(metrics, column, reach.right, 1, candidate.rightLimit);
        if (spill.firstColumn < column || spill.lastColumn > column)
            m_spills.push_back(spill);
    }
}

std::span<const Spill> TextSpills::inRow(int row) const {
    const auto first = std::lower_bound(m_spills.begin(), m_spills.end(), row,
                                        [](const Spill& spill, int r) { return spill.row < r; });
    auto last = first;
    while (last != m_spills.end() && last->row == row)
        ++last;
    return {first, last};
}

const Spill* TextSpills::find(int row, int column) const {
    for (const Spill& spill : inRow(row)) {
        if (spill.column == column)
            return &spill;
    }
    return nullptr;
}

} // namespace report
