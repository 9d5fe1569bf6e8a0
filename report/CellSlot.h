#pragma once

#include "BorderEdges.h"

#include <QColor>
#include <QRectF>

namespace report {

struct CellFill {
    int pattern = 0; // 0 none, 1 solid, 2 to 18 the patterns
    QColor foreground;
    QColor background;
};

enum class SlotKind {
    Single,       // a cell of its own
    MergeAnchor,  // the first slot of a merged area on the page: it shows the area's value
    MergeCovered, // another slot of a merged area: only its share of the outline shows
};

// One row and column slot of a page.
struct CellSlot {
    int row = 0; // the sheet's row and column
    int column = 0;
    SlotKind kind = SlotKind::Single;
    QRectF cell; // the slot's own cell
    // What the slot's value, fill and diagonals cover: an anchor's whole merged area,
    // reaching off the page where it does; else the cell.
    QRectF area;
    QRectF visible; // the part of `area` on the page
    CellFill fill;  // of singles and anchors, over `area` within `visible`
    // The borders on the slot's edges, each edge resolved between the two cells that share
    // it (neighbours off the page included); none inside a merged area. An edge between two
    // adjacent slots of a run belongs to the lower (right) one: the upper's bottom and the
    // left one's right are none.
    EdgeLine top;
    EdgeLine left;
    EdgeLine bottom;
    EdgeLine right;
    EdgeLine diagonal; // singles and anchors, across `area`
    bool diagonalDown = false;
    bool diagonalUp = false;
    // Which edges a printed gridline follows, owned as the borders are: none inside a merged
    // area, nor where text flows across.
    bool gridTop = true;
    bool gridLeft = true;
    bool gridBottom = false;
    bool gridRight = false;
    int text = -1; // into CellLayout::texts(), -1 for none
};

} // namespace report
