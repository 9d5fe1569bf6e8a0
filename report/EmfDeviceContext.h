#pragma once

#include "EmfObjects.h"

#include <QPainterPath>
#include <QSizeF>
#include <QTransform>

#include <optional>

namespace report {

struct EmfRecord;

// The drawing state of a metafile's device context, as SAVEDC keeps and RESTOREDC brings
// back: the world transform and the mapping mode that take logical units to the reference
// device's pixels, the objects selected, colours and modes, the current position, the clipping
// region and the path under construction (both in device units).
struct EmfDeviceContext {
    enum MapMode {
        Text = 1,
        LoMetric,
        HiMetric,
        LoEnglish,
        HiEnglish,
        Twips,
        Isotropic,
        Anisotropic
    };

    QTransform world;
    int mapMode = Text;
    QPointF windowOrigin;
    QSizeF windowExtent{1, 1};
    QPointF viewportOrigin;
    QSizeF viewportExtent{1, 1};

    EmfPen pen;
    EmfBrush brush;
    EmfFont font;
    QColor textColor = Qt::black;
    QColor backgroundColor = Qt::white;
    bool opaqueBackground = true;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    quint32 textAlign = 0;
    bool clockwise = false;
    QPointF position; // logical units

    std::optional<QPainterPath> clip; // none: the whole device
    bool inPath = false;
    QPainterPath path;

    // Logical units to device pixels: the world transform, then the window mapped onto the
    // viewport as the mapping mode says. pixelsPerMillimetre is the reference device's.
    QTransform toDevice(QSizeF pixelsPerMillimetre) const;

    // Takes in a record that sets the mapping mode, the window, the viewport or the world
    // transform; false for other records. Extents of zero and transforms that are not finite
    // are passed over.
    bool setMapping(const EmfRecord& record);

private:
    QSizeF pageScale(QSizeF pixelsPerMillimetre) const;
};

} // namespace report
