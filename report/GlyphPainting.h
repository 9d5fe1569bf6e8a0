#pragma once

#include "GlyphRuns.h"

#include <QPointF>

class QFont;
class QGlyphRun;
class QPainter;

namespace report {

class TextShaper;

// Draws a shaped line with its baseline starting at origin, in the painter's pen colour:
// straight into the document when the painter writes our PDF, else as Qt glyph runs of the
// same glyphs at the same places.
void drawShapedLine(QPainter& painter, QPointF origin, const ShapedLine& line);
// Draws a glyph run of Qt's text layout in font at origin: into our PDF as the same glyphs of
// the same face, known to the shaper, else as Qt draws it.
void drawGlyphRun(QPainter& painter, QPointF origin, const QGlyphRun& glyphs, const QFont& font,
                  const TextShaper& shaper);

} // namespace report
