#pragma once

#include "xls/CellFormat.h"

#include <QColor>

namespace report {

class PrintOptions;

// A line along a cell edge; no line when its style is None.
struct EdgeLine {
    xls::BorderStyle style = xls::BorderStyle::None;
    QColor color;
    bool shown() const { return style != xls::BorderStyle::None; }
};

enum class Side { Top, Left, Bottom, Right };

// The border a format draws on a side; null for no format.
const xls::Border* borderOn(const xls::CellFormat* format, Side side);
// The line a border draws, in the colour the sheet prints it.
EdgeLine edgeLine(const xls::Border& border, const PrintOptions& options);
// The line on an edge two cells share: the heavier of the two, the first on a tie.
EdgeLine sharedLine(const xls::Border* own, const xls::Border* other, const PrintOptions& options);

} // namespace report
