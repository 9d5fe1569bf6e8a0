#include "GlyphPainting.h"

#include "FontFace.h"

#include <QGlyphRun>
#include <QPainter>

namespace report {

void drawShapedLine(QPainter& painter, QPointF origin, const ShapedLine& line) {
    for (const GlyphRun& run : line.runs) {
        QRawFont raw = run.face->rawFont();
        raw.setPixelSize(run.pointSize);
        QList<QPointF> positions;
        positions.reserve(static_cast<qsizetype>(run.x.size()));
        for (const double x : run.x)
            positions.append({x, 0});
        QGlyphRun glyphs;
        glyphs.setRawFont(raw);
        glyphs.setGlyphIndexes(QList<quint32>(run.glyphs.begin(), run.glyphs.end()));
        glyphs.setPositions(positions);
        painter.drawGlyphRun(origin, glyphs);
    }
}

} // namespace report
