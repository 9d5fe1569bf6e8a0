#pragma once

#include "ShapedText.h"

#include "xls/CellFormat.h"
#include "xls/Font.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

namespace report {

// A piece of a phonetic guide, drawn in the guide's font with its baseline at `baseline`.
struct GuidePiece {
    QString text;
    QPointF baseline;
};

// The phonetic guide over a line of text.
struct PhoneticGuide {
    QFont font;
    QColor color;
    std::vector<GuidePiece> pieces;
};

enum class TextShape {
    Line,    // one line, which may flow into empty neighbours
    Wrapped, // broken into lines within the cell
    Rotated, // one line turned by `rotation` degrees, counter-clockwise
    Stacked, // letters top to bottom
};

// The text a cell shows on the page, decided once: what is drawn, in which font and colour,
// and where.
struct SlotText {
    QString text; // after narrowing, `*` fill or repetition; never more than the cell shows
    QFont font;   // the cell's, shrunk when the cell shrinks its text to fit
    QColor color; // the cell's; `shaped` gives each piece its own font and colour
    xls::Underline underline = xls::Underline::None;
    TextShape shape = TextShape::Line;
    // Left, Center, Right, Justify or Distributed: General, Fill and centring across the
    // selection are resolved.
    xls::HorizontalAlignment horizontal = xls::HorizontalAlignment::Left;
    xls::VerticalAlignment vertical = xls::VerticalAlignment::Bottom;
    double rotation = 0;     // Rotated: degrees counter-clockwise, -90 to 90
    QRectF content;          // the cell (or area) less its padding
    double indent = 0;       // from the aligned edge, for left and right alignment
    QRectF clip;             // where the text may ink: its cell, or the cells it flows across
    int firstColumnSlot = 0; // the column slots `clip` spans
    int lastColumnSlot = 0;
    // Line: the start of the baseline. Other shapes are placed within `content` when drawn.
    QPointF baseline;
    std::shared_ptr<const ShapedText> shaped; // the text in the fonts of its pieces
    // Line: the phonetic guide over the text, when the sheet shows it; else null.
    std::shared_ptr<const PhoneticGuide> guide;
};

} // namespace report
