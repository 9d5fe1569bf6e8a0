#include "CellLayout.h"

#include "CellStyles.h"
#include "CellTextReach.h"
#include "MergedRuns.h"
#include "PageFlow.h"
#include "PrintOptions.h"
#include "TextPlacement.h"

#include "xls/Sheet.h"

#include <algorithm>
#include <optional>

namespace report {

namespace {

bool isEmptyCell(const xls::Cell* cell) {
    return cell == nullptr || cell->type() == xls::CellType::Blank;
}

} // namespace

// Builds a page's slot table: merged areas first, then each slot's formats, borders and
// gridlines, then the texts (those flowing in from beside the page's columns too), which may
// flow across the gridlines of their neighbours.
class CellLayoutBuilder {
public:
    CellLayoutBuilder(const CellSources& sources, const LaidOutPage& page, QPaintDevice* device,
                      CellLayout& out)
        : m_sources(sources)
        , m_page(page)
        , m_device(device)
        , m_out(out)
        , m_styles(sources.workbook, sources.sheet)
        , m_merges(sources.sheet, sources.metrics, page) {}

    void build() {
        m_out.m_rows = static_cast<int>(m_page.rows.size());
        m_out.m_columns = static_cast<int>(m_page.columns.size());
        const auto count = static_cast<size_t>(m_out.m_rows) * static_cast<size_t>(m_out.m_columns);
        m_out.m_slots.assign(count, CellSlot{});
        m_formats.assign(count, nullptr);
        if (count == 0)
            return;
        forEachSlot([this](int r, int c) { placeSlot(r, c); });
        forEachSlot([this](int r, int c) { resolveEdges(r, c); });
        placeTexts();
    }

private:
    template <typename Step> void forEachSlot(const Step& step) {
        for (int r = 0; r < m_out.m_rows; ++r) {
            for (int c = 0; c < m_out.m_columns; ++c)
                step(r, c);
        }
    }
    size_t index(int r, int c) const {
        return static_cast<size_t>(r) * static_cast<size_t>(m_out.m_columns) +
               static_cast<size_t>(c);
    }
    CellSlot& at(int r, int c) { return m_out.m_slots[index(r, c)]; }

    // The border a slot's own format draws on a side, none inside a merged area.
    const xls::Border* sideOf(int r, int c, Side side) const {
        return m_merges.inside(r, c, side) ? nullptr : borderOn(m_formats[index(r, c)], side);
    }
    const xls::Border* borderAt(int row, int column, Side side) {
        return borderOn(m_styles.at(row, column), side);
    }
    EdgeLine shared(const xls::Border* own, const xls::Border* other) const {
        return sharedLine(own, other, m_sources.options);
    }

    void placeSlot(int r, int c);
    void resolveEdges(int r, int c);
    void placeTexts();
    void placeText(int r, int c, const PageFlow& flow, const TextPlacement& placement);
    void keep(int r, int c, SlotText text, const std::optional<SlotSpan>& flowing);

    const CellSources& m_sources;
    const LaidOutPage& m_page;
    QPaintDevice* m_device;
    CellLayout& m_out;
    CellStyles m_styles;
    MergedRuns m_merges;
    std::vector<const xls::CellFormat*> m_formats; // per slot, its own position's format
};

void CellLayoutBuilder::placeSlot(int r, int c) {
    CellSlot& slot = at(r, c);
    const Band& row = m_page.rows[r];
    const Band& column = m_page.columns[c];
    slot.row = row.index;
    slot.column = column.index;
    slot.cell = slot.area = slot.visible = QRectF(column.offset, row.offset, column.size, row.size);
    m_formats[index(r, c)] = m_styles.at(slot.row, slot.column);
    const MergeOnPage* merge = m_merges.at(r, c);
    if (merge != nullptr && !m_merges.anchors(r, c)) {
        slot.kind = SlotKind::MergeCovered;
        return;
    }
    // A merged area is filled and crossed from its top left cell, whose format it takes.
    const xls::CellFormat* format =
        merge != nullptr ? m_styles.at(merge->range.firstRow, merge->range.firstColumn)
                         : m_formats[index(r, c)];
    if (merge != nullptr) {
        slot.kind = SlotKind::MergeAnchor;
        slot.area = merge->rect;
        slot.visible = merge->visible;
    }
    if (format == nullptr)
        return;
    if (format->fillPattern > 0 && m_sources.options.printsCellFills()) {
        slot.fill.pattern = format->fillPattern;
        slot.fill.foreground = m_sources.options.ink(format->patternColorIndex, Qt::black);
        slot.fill.background = m_sources.options.ink(format->backgroundColorIndex, Qt::white);
    }
    slot.diagonal = edgeLine(format->diagonal, m_sources.options);
    slot.diagonalDown = format->diagonalDown && slot.diagonal.shown();
    slot.diagonalUp = format->diagonalUp && slot.diagonal.shown();
}

void CellLayoutBuilder::resolveEdges(int r, int c) {
    CellSlot& slot = at(r, c);
    const bool above = standsBeside(m_page.rows, r, -1);
    const bool below = standsBeside(m_page.rows, r, 1);
    const bool before = standsBeside(m_page.columns, c, -1);
    const bool after = standsBeside(m_page.columns, c, 1);
    // The other side of an edge: the slot beside it on the page, else the sheet's cell
    // beyond the run (off the page, or across from a print title).
    slot.gridTop = !m_merges.inside(r, c, Side::Top);
    if (slot.gridTop)
        slot.top = shared(sideOf(r, c, Side::Top),
                          above ? sideOf(r - 1, c, Side::Bottom)
                                : borderAt(slot.row - 1, slot.column, Side::Bottom));
    slot.gridLeft = !m_merges.inside(r, c, Side::Left);
    if (slot.gridLeft)
        slot.left = shared(sideOf(r, c, Side::Left),
                           before ? sideOf(r, c - 1, Side::Right)
                                  : borderAt(slot.row, slot.column - 1, Side::Right));
    slot.gridBottom = !below && !m_merges.inside(r, c, Side::Bottom);
    if (slot.gridBottom)
        slot.bottom =
            shared(sideOf(r, c, Side::Bottom), borderAt(slot.row + 1, slot.column, Side::Top));
    slot.gridRight = !after && !m_merges.inside(r, c, Side::Right);
    if (slot.gridRight)
        slot.right =
            shared(sideOf(r, c, Side::Right), borderAt(slot.row, slot.column + 1, Side::Left));
}

void CellLayoutBuilder::placeTexts() {
    const PageFlow flow(m_page, m_sources.sheet, m_sources.metrics, CellTextReach(m_sources));
    const TextPlacement placement(m_sources, m_page, m_merges, m_formats, m_device);
    for (int r = 0; r < m_out.m_rows; ++r) {
        for (int c = 0; c < m_out.m_columns; ++c)
            placeText(r, c, flow, placement);
        for (const IncomingText& in : flow.incoming(r)) {
            SlotText text;
            text.firstColumnSlot = text.lastColumnSlot = in.covered.first;
            if (!isEmptyCell(in.cell) && placement.shape(r, -1, *in.cell, in.cellRect, text))
                keep(r, -1, std::move(text), in.covered);
        }
    }
}

void CellLayoutBuilder::placeText(int r, int c, const PageFlow& flow,
                                  const TextPlacement& placement) {
    const CellSlot& slot = at(r, c);
    if (slot.kind == SlotKind::MergeCovered)
        return;
    const MergeOnPage* merge = m_merges.at(r, c);
    const int row = merge != nullptr ? merge->range.firstRow : slot.row;
    const int column = merge != nullptr ? merge->range.firstColumn : slot.column;
    const xls::Cell* cell = m_sources.sheet.cell(row, column);
    SlotText text;
    text.firstColumnSlot = c;
    text.lastColumnSlot = merge != nullptr ? merge->columns.last : c;
    text.clip = slot.visible;
    if (!isEmptyCell(cell) && placement.shape(r, c, *cell, slot.area, text))
        keep(r, c, std::move(text), merge == nullptr ? flow.covered(r, c) : std::nullopt);
}

// Keeps a text, flowing across the slots of its row that it covers (its own among them); the
// gridlines it crosses are left out.
void CellLayoutBuilder::keep(int r, int c, SlotText text, const std::optional<SlotSpan>& flowing) {
    if (flowing) {
        text.firstColumnSlot = std::min(text.firstColumnSlot, flowing->first);
        text.lastColumnSlot = std::max(text.lastColumnSlot, flowing->last);
        text.clip = text.clip.united(flowing->rect);
        for (int slot = flowing->first + 1; slot <= flowing->last; ++slot)
            at(r, slot).gridLeft = false;
    }
    if (c >= 0)
        at(r, c).text = static_cast<int>(m_out.m_texts.size());
    m_out.m_texts.push_back(std::move(text));
}

CellLayout::CellLayout(const CellSources& sources, const LaidOutPage& page, QPaintDevice* device) {
    CellLayoutBuilder(sources, page, device, *this).build();
}

} // namespace report
