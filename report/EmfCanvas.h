#pragma once

#include <QPainterPath>
#include <QTransform>

#include <optional>

class QBrush;
class QImage;
class QPainter;

namespace report {

struct EmfBlit;
struct EmfDeviceContext;

// The painter a metafile plays onto, seen in the reference device's pixels: deviceToTarget
// takes them to the target rectangle in the painter's own coordinates. Draws paths with a device
// context's pen and brush, fills and bitmaps, each through the transform that takes logical units
// to device pixels, and keeps the clipping region the metafile sets within the painter's own clip.
// The painter is left as it was found when the canvas goes.
class EmfCanvas {
public:
    EmfCanvas(QPainter& painter, const QRectF& target, const QTransform& deviceToTarget);
    ~EmfCanvas();
    EmfCanvas(const EmfCanvas&) = delete;
    EmfCanvas& operator=(const EmfCanvas&) = delete;

    QPainter& painter() { return m_painter; }
    // Device pixels to the painter's device, through the painter's transform as it was found.
    const QTransform& deviceToTarget() const { return m_deviceToTarget; }

    // The clipping region, in device pixels; none: no clip of the metafile's own.
    void setClip(const std::optional<QPainterPath>& clip);

    // A path in logical units, filled with the brush (and the background colour behind a
    // hatched brush where the background is opaque) and outlined with the pen.
    void draw(const EmfDeviceContext& dc, const QTransform& toDevice, const QPainterPath& path,
              bool fill, bool stroke);
    void fill(const QTransform& toDevice, const QPainterPath& path, const QBrush& brush);
    void blit(const EmfDeviceContext& dc, const QTransform& toDevice, const EmfBlit& blit);

private:
    void use(const QTransform& toDevice);

    QPainter& m_painter;
    QTransform m_deviceToTarget;
};

} // namespace report
