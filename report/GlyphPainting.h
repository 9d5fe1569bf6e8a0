#pragma once

#include "GlyphRuns.h"

#include <QPointF>

class QPainter;

namespace report {

// Draws a shaped line with its baseline starting at origin, in the painter's pen colour:
// straight into the document when the painter writes our PDF, else as Qt glyph runs of the
// same glyphs at the same places.
void drawShapedLine(QPainter& painter, QPointF origin, const ShapedLine& line);

} // namespace report
