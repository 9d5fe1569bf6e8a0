#include "EmfCanvas.h"

#include "EmfBlit.h"
#include "EmfDeviceContext.h"

#include <QPainter>

#include <cmath>

namespace report {

namespace {

constexpr quint32 kPatternCopy = 0x00F00021;
constexpr quint32 kBlackness = 0x00000042;
constexpr quint32 kWhiteness = 0x00FF0062;
constexpr quint32 kSourceAnd = 0x008800C6;

// One device pixel in logical units: the width of cosmetic pens and of geometric ones of
// width 0.
double pixelInLogical(const QTransform& toDevice) {
    const double scale = std::sqrt(std::abs(toDevice.determinant()));
    return scale > 0 ? 1 / scale : 1;
}

QPen qtPen(const EmfPen& pen, const QTransform& toDevice) {
    if (pen.style == Qt::NoPen)
        return Qt::NoPen;
    const double width = pen.cosmetic || pen.width <= 0 ? pixelInLogical(toDevice) : pen.width;
    QPen result(QBrush(pen.color), width, pen.style, pen.cap, pen.join);
    if (pen.style == Qt::CustomDashLine) {
        QList<qreal> dashes;
        for (const qreal length : pen.dashes)
            dashes.append(length / width);
        result.setDashPattern(dashes);
    }
    return result;
}

} // namespace

EmfCanvas::EmfCanvas(QPainter& painter, const QRectF& target, const QTransform& deviceToTarget)
    : m_painter(painter)
    , m_deviceToTarget(deviceToTarget * painter.worldTransform()) {
    m_painter.save();
    m_painter.setClipRect(target, Qt::IntersectClip);
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.save();
}

EmfCanvas::~EmfCanvas() {
    m_painter.restore();
    m_painter.restore();
}

void EmfCanvas::setClip(const std::optional<QPainterPath>& clip) {
    // Back to the clip the canvas began with, then within the metafile's.
    m_painter.restore();
    m_painter.save();
    if (clip) {
        m_painter.setTransform(m_deviceToTarget);
        m_painter.setClipPath(*clip, Qt::IntersectClip);
    }
}

void EmfCanvas::use(const QTransform& toDevice) {
    m_painter.setTransform(toDevice * m_deviceToTarget);
}

void EmfCanvas::draw(const EmfDeviceContext& dc, const QTransform& toDevice,
                     const QPainterPath& path, bool fill, bool stroke) {
    use(toDevice);
    QPainterPath filled = path;
    filled.setFillRule(dc.fillRule);
    if (fill && dc.brush.hatched && dc.opaqueBackground)
        m_painter.fillPath(filled, dc.backgroundColor);
    m_painter.setBrush(fill ? dc.brush.brush : QBrush(Qt::NoBrush));
    m_painter.setPen(stroke ? qtPen(dc.pen, toDevice) : QPen(Qt::NoPen));
    m_painter.drawPath(filled);
}

void EmfCanvas::fill(const QTransform& toDevice, const QPainterPath& path, const QBrush& brush) {
    use(toDevice);
    m_painter.fillPath(path, brush);
}

void EmfCanvas::blit(const EmfDeviceContext& dc, const QTransform& toDevice, const EmfBlit& blit) {
    QPainterPath area;
    area.addRect(blit.destination);
    if (blit.image.isNull()) {
        if (blit.rasterOperation == kPatternCopy)
            fill(toDevice, area, dc.brush.brush);
        else if (blit.rasterOperation == kBlackness || blit.rasterOperation == kWhiteness)
            fill(toDevice, area, blit.rasterOperation == kBlackness ? Qt::black : Qt::white);
        return;
    }
    if (blit.source.width() == 0 || blit.source.height() == 0)
        return;
    // The source's rectangle is stretched onto the destination's, mirrored where their signs
    // differ.
    const QTransform sourceToLogical =
        QTransform::fromTranslate(-blit.source.left(), -blit.source.top()) *
        QTransform::fromScale(blit.destination.width() / blit.source.width(),
                              blit.destination.height() / blit.source.height()) *
        QTransform::fromTranslate(blit.destination.left(), blit.destination.top());
    m_painter.save();
    m_painter.setTransform(sourceToLogical * toDevice * m_deviceToTarget);
    m_painter.setOpacity(blit.opacity);
    if (blit.rasterOperation == kSourceAnd)
        m_painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    m_painter.drawImage(blit.source, blit.image, blit.source);
    m_painter.restore();
}

} // namespace report
