#pragma once

#include "EmfDeviceContext.h"
#include "EmfObjects.h"

#include <QByteArrayView>
#include <QList>
#include <QRectF>

#include <optional>

class QPainter;

namespace report {

class EmfCanvas;
class FontMapper;
struct EmfHeader;
struct EmfRecord;

// Plays an enhanced metafile (EMF) onto a QPainter as vectors, its frame filling a target
// rectangle: the mapping modes and world transform, pens, brushes and fonts, lines, polygons,
// Béziers, rectangles, ellipses, arcs, chords and pies, paths, text, the device context's
// stack, clipping regions and bitmaps. EMF+ records, which ride in comment records beside
// the EMF records that draw the same picture, are passed over. Every record is checked
// against its size: a damaged record is passed over, and one whose size does not fit the data
// ends the picture there.
class EmfPlayer {
public:
    explicit EmfPlayer(const FontMapper& fonts)
        : m_fonts(fonts) {}

    // The picture's frame in hundredths of a millimetre (where the header gives none, the
    // bounds of what it draws); none when the data is not an EMF or its frame is empty.
    static std::optional<QRectF> frame(QByteArrayView emf);

    // Paints the picture into target. False, with nothing painted, when the data is not an EMF.
    bool play(QPainter& painter, QByteArrayView emf, const QRectF& target);

private:
    void playRecord(const EmfRecord& record);
    bool state(const EmfRecord& record);
    bool objects(const EmfRecord& record);
    bool clipping(const EmfRecord& record);
    bool paths(const EmfRecord& record);
    bool lines(const EmfRecord& record);
    bool shapes(const EmfRecord& record);
    bool pictures(const EmfRecord& record);

    QTransform toDevice() const;
    // A shape in logical units: into the path under construction, else drawn.
    void shape(const QPainterPath& logical, bool fill, bool stroke);
    // Lines and curves from the current position on, which they move.
    void figure(const QPainterPath& logical, QPointF end);
    void restoreContext(qint32 level);
    void combineClip(const QPainterPath& region, quint32 mode);
    void text(const EmfRecord& record, bool wide);

    const FontMapper& m_fonts;
    EmfCanvas* m_canvas = nullptr;
    QSizeF m_pixelsPerMillimetre;
    QPainterPath m_everything; // the device's whole surface, as a clipping region
    EmfDeviceContext m_dc;
    QList<EmfDeviceContext> m_saved;
    EmfObjects m_objects;
};

} // namespace report
