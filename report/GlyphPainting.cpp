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

void drawGlyphRun(QPainter& painter, QPointF origin, const QGlyphRun& glyphs, const QFont& font,
                  const TextShaper& shaper) {
    PdfPaintEngine* pdf = PdfPaintEngine::of(painter);
    if (pdf == nullptr) {
        painter.drawGlyphRun(origin, glyphs);
        return;
    }
    const QRawFont raw = glyphs.rawFont();
    const QList<QPointF> positions = glyphs.positions();
    const QList<quint32> indexes = glyphs.glyphIndexes();
    pdf->syncState();
    // A layout's run gathers a font's glyphs of every line: each line is written on its own
    // baseline.
    for (qsizetype first = 0; first < positions.size();) {
        GlyphRun run{&shaper.face(raw), raw.pixelSize(), {}, {}, {}};
        qsizetype next = first;
        for (; next < positions.size() && positions[next].y() == positions[first].y(); ++next) {
            run.glyphs.push_back(indexes.value(next));
            run.x.push_back(positions[next].x());
        }
        run.characters.assign(run.glyphs.size(), 0);
        synthesize(run, font);
        pdf->drawGlyphRun(origin + QPointF(0, positions[first].y()), run);
        first = next;
    }
}

} // namespace report
