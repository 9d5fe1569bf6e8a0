#include "PageFlow.h"

#include "SheetMetrics.h"

#include "xls/Sheet.h"

namespace report {

namespace {

// Whether column `after` follows column `before` on the sheet, hidden columns between them.
bool followsOnSheet(int before, int after, const SheetMetrics& metrics) {
    if (after <= before)
        return false;
    for (int column = before + 1; column < after; ++column) {
        if (metrics.columnWidth(column) > 0)
            return false;
    }
    return true;
}

// The points of the sheet's columns first to last; 0 when last is before first.
double widthOf(int first, int last, const SheetMetrics& metrics) {
    double width = 0;
    for (int column = first; column <= last; ++column)
        width += metrics.columnWidth(column);
    return width;
}

} // namespace

PageFlow::PageFlow(const LaidOutPage& page, const xls::Sheet& sheet, const SheetMetrics& metrics,
                   const TextReachMeasure& measure)
    : m_page(page)
    , m_sheet(sheet)
    , m_metrics(metrics)
    , m_spills(page.spills ? page.spills
                           : std::make_shared<const TextSpills>(sheet, metrics, measure)) {
    const QList<Band>& columns = page.columns;
    for (int slot = 0; slot < columns.size(); ++slot) {
        const Band& band = columns[slot];
        const bool joins =
            !m_runs.empty() && (columns[slot - 1].title == band.title ||
                                followsOnSheet(columns[slot - 1].index, band.index, metrics));
        if (joins) {
            m_runs.back().last = slot;
            m_runs.back().titlesOnly = m_runs.back().titlesOnly && band.title;
        } else {
            m_runs.push_back({slot, slot, band.title});
        }
    }
}

std::optional<SlotSpan> PageFlow::span(int r, const Run& run, const Spill& spill) const {
    std::optional<SlotSpan> covered;
    for (int slot = run.first; slot <= run.last; ++slot) {
        const int index = m_page.columns[slot].index;
        if (index < spill.firstColumn || index > spill.lastColumn)
            continue;
        if (!covered)
            covered = SlotSpan{slot, slot, {}};
        covered->last = slot;
    }
    if (covered) {
        const Band& row = m_page.rows[r];
        const Band& first = m_page.columns[covered->first];
        const Band& last = m_page.columns[covered->last];
        covered->rect = QRectF(QPointF(first.offset, row.offset),
                               QPointF(last.offset + last.size, row.offset + row.size));
    }
    return covered;
}

std::optional<SlotSpan> PageFlow::covered(int r, int c) const {
    const Spill* spill = m_spills->find(m_page.rows[r].index, m_page.columns[c].index);
    for (const Run& run : m_runs) {
        if (spill != nullptr && c >= run.first && c <= run.last)
            return span(r, run, *spill);
    }
    return std::nullopt;
}

std::vector<IncomingText> PageFlow::incoming(int r) const {
    std::vector<IncomingText> texts;
    const Band& row = m_page.rows[r];
    const std::span<const Spill> spills = m_spills->inRow(row.index);
    for (const Run& run : m_runs) {
        const Band& first = m_page.columns[run.first];
        const Band& last = m_page.columns[run.last];
        for (const Spill& spill : run.titlesOnly ? std::span<const Spill>() : spills) {
            const bool beside = spill.column < first.index || spill.column > last.index;
            const bool inArea =
                spill.column >= m_page.area.firstColumn && spill.column <= m_page.area.lastColumn;
            const auto covered = beside && inArea ? span(r, run, spill) : std::nullopt;
            if (!covered)
                continue;
            // Where the cell would stand if the columns between it and the run were shown.
            const double left =
                spill.column < first.index
                    ? first.offset - widthOf(spill.column, first.index - 1, m_metrics)
                    : last.offset + last.size +
                          widthOf(last.index + 1, spill.column - 1, m_metrics);
            texts.push_back(
                {m_sheet.cell(row.index, spill.column),
                 QRectF(left, row.offset, m_metrics.columnWidth(spill.column), row.size),
                 *covered});
        }
    }
    return texts;
}

} // namespace report
