#include "MergedRuns.h"

#include "SheetMetrics.h"

#include <algorithm>

namespace report {

namespace {

// The runs of slots whose sheet index lies within [first, last]; title and body bands never
// share a run, since they stand apart on the sheet.
std::vector<SlotRun> runsWithin(const QList<Band>& bands, int first, int last) {
    std::vector<SlotRun> runs;
    for (int slot = 0; slot < bands.size(); ++slot) {
        const Band& band = bands[slot];
        if (band.index < first || band.index > last)
            continue;
        const bool joins =
            !runs.empty() && runs.back().last == slot - 1 && bands[slot - 1].title == band.title;
        if (joins)
            runs.back().last = slot;
        else
            runs.push_back({slot, slot});
    }
    return runs;
}

// Where a run's first band would start if the bands before it on the sheet were shown.
template <typename SizeOf>
double runStart(const QList<Band>& bands, const SlotRun& run, int first, const SizeOf& sizeOf) {
    double offset = bands[run.first].offset;
    for (int index = first; index < bands[run.first].index; ++index)
        offset -= sizeOf(index);
    return offset;
}

} // namespace

bool standsBeside(const QList<Band>& bands, int slot, int step) {
    const int next = slot + step;
    return next >= 0 && next < bands.size() && bands[next].title == bands[slot].title;
}

MergedRuns::MergedRuns(const xls::Sheet& sheet, const SheetMetrics& metrics,
                       const LaidOutPage& page)
    : m_page(page)
    , m_columns(static_cast<int>(page.columns.size())) {
    m_mergeAt.assign(static_cast<size_t>(page.rows.size() * page.columns.size()), -1);
    if (m_mergeAt.empty())
        return;
    const auto byIndex = [](const Band& a, const Band& b) { return a.index < b.index; };
    const int firstRow = std::min_element(page.rows.begin(), page.rows.end(), byIndex)->index;
    const int lastRow = std::max_element(page.rows.begin(), page.rows.end(), byIndex)->index;
    for (const xls::CellRange& range : sheet.mergedRanges()) {
        if (range.lastRow >= firstRow && range.firstRow <= lastRow)
            place(range, metrics);
    }
}

void MergedRuns::place(const xls::CellRange& range, const SheetMetrics& metrics) {
    const std::vector<SlotRun> rowRuns = runsWithin(m_page.rows, range.firstRow, range.lastRow);
    if (rowRuns.empty())
        return;
    const std::vector<SlotRun> columnRuns =
        runsWithin(m_page.columns, range.firstColumn, range.lastColumn);
    const auto rowSize = [&metrics](int row) { return metrics.rowHeight(row); };
    const auto columnSize = [&metrics](int column) { return metrics.columnWidth(column); };
    double height = 0;
    for (int row = range.firstRow; row <= range.lastRow; ++row)
        height += rowSize(row);
    double width = 0;
    for (int column = range.firstColumn; column <= range.lastColumn; ++column)
        width += columnSize(column);
    for (const SlotRun& rowRun : rowRuns) {
        for (const SlotRun& columnRun : columnRuns) {
            MergeOnPage merge{range, {}, {}, rowRun, columnRun};
            merge.rect =
                QRectF(runStart(m_page.columns, columnRun, range.firstColumn, columnSize),
                       runStart(m_page.rows, rowRun, range.firstRow, rowSize), width, height);
            const Band& lastRowBand = m_page.rows[rowRun.last];
            const Band& lastColumnBand = m_page.columns[columnRun.last];
            merge.visible = QRectF(
                QPointF(m_page.columns[columnRun.first].offset, m_page.rows[rowRun.first].offset),
                QPointF(lastColumnBand.offset + lastColumnBand.size,
                        lastRowBand.offset + lastRowBand.size));
            const int number = static_cast<int>(m_merges.size());
            m_merges.push_back(merge);
            for (int r = rowRun.first; r <= rowRun.last; ++r) {
                for (int c = columnRun.first; c <= columnRun.last; ++c)
                    m_mergeAt[index(r, c)] = number;
            }
        }
    }
}

bool MergedRuns::anchors(int r, int c) const {
    const MergeOnPage* merge = at(r, c);
    return merge != nullptr && merge->rows.first == r && merge->columns.first == c;
}

bool MergedRuns::inside(int r, int c, Side side) const {
    const MergeOnPage* merge = at(r, c);
    if (merge == nullptr)
        return false;
    const int row = m_page.rows[r].index;
    const int column = m_page.columns[c].index;
    switch (side) {
    case Side::Top:
        return row != merge->range.firstRow;
    case Side::Left:
        return column != merge->range.firstColumn;
    case Side::Bottom:
        return row != merge->range.lastRow;
    case Side::Right:
        return column != merge->range.lastColumn;
    }
    return false;
}

} // namespace report
