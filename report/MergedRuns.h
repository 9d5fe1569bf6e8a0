#pragma once

#include "BorderEdges.h"
#include "PageLayout.h"

#include "xls/Sheet.h"

#include <QRectF>

#include <vector>

namespace report {

class SheetMetrics;

// A run of adjacent slots of one axis of a page: both ends included.
struct SlotRun {
    int first = 0;
    int last = 0;
};

// A merged area as it shows in one run of a page's rows and one of its columns: an area
// split by a page's print titles, or across page breaks, shows in each of its runs whole,
// as if the bands beside them were shown too.
struct MergeOnPage {
    xls::CellRange range;
    QRectF rect;    // the whole merged area, reaching off the page where it does
    QRectF visible; // the part of it on this page
    SlotRun rows;
    SlotRun columns;
};

// Whether the slot next to `slot` in direction `step` stands beside it on the sheet's page.
bool standsBeside(const QList<Band>& bands, int slot, int step);

// The merged areas of a page, by slot.
class MergedRuns {
public:
    MergedRuns(const xls::Sheet& sheet, const SheetMetrics& metrics, const LaidOutPage& page);

    // The merged area slot (r, c) belongs to; null for none.
    const MergeOnPage* at(int r, int c) const {
        const int merge = m_mergeAt[index(r, c)];
        return merge < 0 ? nullptr : &m_merges[static_cast<size_t>(merge)];
    }
    // Whether slot (r, c) is the first slot of its merged area on the page, which shows the
    // area's value.
    bool anchors(int r, int c) const;
    // Whether a slot's edge lies inside its merged area, which goes on beyond the slot there.
    bool inside(int r, int c, Side side) const;

private:
    size_t index(int r, int c) const { return static_cast<size_t>(r * m_columns + c); }
    void place(const xls::CellRange& range, const SheetMetrics& metrics);

    const LaidOutPage& m_page;
    int m_columns = 0;
    std::vector<MergeOnPage> m_merges;
    std::vector<int> m_mergeAt; // per slot, into m_merges, -1 for none
};

} // namespace report
