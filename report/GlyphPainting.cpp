#include "GlyphPainting.h"

#include "FontFace.h"
#include "PdfPaintEngine.h"
#include "TextShaper.h"

#include <QGlyphRun>
#include <QPainter>

namespace report {

void drawShapedLine(QPainter& painter, QPointF origin, const ShapedLine& line) {
    if (PdfPaintEngine* pdf = PdfPaintEngine::of(painter)) {
        // The painter hands its pen and transform to the engine only when it draws itself.
        pdf->syncState();
        for (const GlyphRun& run : line.runs)
            pdf->drawGlyphRun(origin, run);
        return;
    }
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

void drawGlyphRun(QPainter& painter, QPointF origin, const QGlyphRun& glyphs,
                  const TextShaper& shaper) {
    PdfPaintEngine* pdf = PdfPaintEngine::of(painter);
    const QList<QPointF> positions = glyphs.positions();
    if (pdf == nullptr || positions.isEmpty()) {
        painter.drawGlyphRun(origin, glyphs);
        return;
    }
    const QRawFont raw = glyphs.rawFont();
    GlyphRun run;
    run.face = &shaper.face(raw);
    run.pointSize = raw.pixelSize();
    const QList<quint32> indexes = glyphs.glyphIndexes();
    run.glyphs.assign(indexes.begin(), indexes.end());
    // A run of a layout stands on one line: its glyphs share the line's baseline.
    for (const QPointF& position : positions)
        run.x.push_back(position.x());
    run.characters.assign(run.glyphs.size(), 0);
    pdf->syncState();
    pdf->drawGlyphRun(origin + QPointF(0, positions.front().y()), run);
}

} // namespace report
