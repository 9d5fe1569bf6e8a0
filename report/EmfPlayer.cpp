#include "EmfPlayer.h"

#include "EmfBlit.h"
#include "EmfCanvas.h"
#include "EmfGeometry.h"
#include "EmfRecordType.h"
#include "EmfRecords.h"
#include "EmfText.h"

#include <QPainter>

#include <cmath>

namespace report {

namespace {

constexpr int kMostSavedContexts = 1024;
constexpr double kHundredthsPerMillimetre = 100;

enum RegionMode : quint32 { kAnd = 1, kOr, kXor, kDiff, kCopy };

QColor colorRef(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QPainterPath rectPath(const QRectF& rect) {
    QPainterPath path;
    path.addRect(rect.normalized());
    return path;
}

QSizeF hundredthsPerPixel(const EmfHeader& header) {
    return {header.deviceMillimetres.width() * kHundredthsPerMillimetre /
                header.devicePixels.width(),
            header.deviceMillimetres.height() * kHundredthsPerMillimetre /
                header.devicePixels.height()};
}

// The frame in the reference device's pixels; the bounds of what the picture draws where the
// frame is empty.
QRectF deviceFrame(const EmfHeader& header) {
    const QRectF frame = header.frame.normalized();
    const QSizeF perPixel = hundredthsPerPixel(header);
    const QRectF device(frame.left() / perPixel.width(), frame.top() / perPixel.height(),
                        frame.width() / perPixel.width(), frame.height() / perPixel.height());
    return device.isEmpty() ? header.bounds.normalized() : device;
}

} // namespace

std::optional<QRectF> EmfPlayer::frame(QByteArrayView emf) {
    const EmfRecords records(emf);
    if (!records.valid())
        return std::nullopt;
    const QRectF device = deviceFrame(records.header());
    if (device.isEmpty())
        return std::nullopt;
    const QSizeF perPixel = hundredthsPerPixel(records.header());
    return QRectF(device.left() * perPixel.width(), device.top() * perPixel.height(),
                  device.width() * perPixel.width(), device.height() * perPixel.height());
}

bool EmfPlayer::play(QPainter& painter, QByteArrayView emf, const QRectF& target) {
    const EmfRecords records(emf);
    if (!records.valid())
        return false;
    const EmfHeader& header = records.header();
    m_pixelsPerMillimetre =
        QSizeF(header.devicePixels.width() / header.deviceMillimetres.width(),
               header.devicePixels.height() / header.deviceMillimetres.height());
    const QRectF device = deviceFrame(header);
    if (device.isEmpty() || target.isEmpty())
        return false;
    const QTransform deviceToTarget =
        QTransform::fromTranslate(-device.left(), -device.top()) *
        QTransform::fromScale(target.width() / device.width(), target.height() / device.height()) *
        QTransform::fromTranslate(target.left(), target.top());
    m_everything = rectPath(
        device.adjusted(-device.width(), -device.height(), device.width(), device.height()));
    m_dc = EmfDeviceContext();
    m_saved.clear();
    m_objects = EmfObjects();
    EmfCanvas canvas(painter, target, deviceToTarget);
    m_canvas = &canvas;
    for (const EmfRecord& record : records.records())
        playRecord(record);
    m_canvas = nullptr;
    return true;
}

void EmfPlayer::playRecord(const EmfRecord& record) {
    // Each group of records tells whether it knows the record; the rest (EMF+ comments among
    // them) are passed over.
    if (m_dc.setMapping(record) || state(record) || objects(record) || clipping(record) ||
        paths(record) || lines(record) || shapes(record))
        return;
    pictures(record);
}

QTransform EmfPlayer::toDevice() const {
    return m_dc.toDevice(m_pixelsPerMillimetre);
}

bool EmfPlayer::state(const EmfRecord& record) {
    EmfFields f(record);
    const quint32 value = f.u32(8);
    switch (record.type) {
    case kEmfSetBackgroundMode:
        m_dc.opaqueBackground = f.ok() ? value == 2 : m_dc.opaqueBackground;
        return true;
    case kEmfSetFillMode:
        m_dc.fillRule = value == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        return true;
    case kEmfSetTextAlign:
        m_dc.textAlign = value;
        return true;
    case kEmfSetTextColor:
        if (f.ok())
            m_dc.textColor = colorRef(value);
        return true;
    case kEmfSetBackgroundColor:
        if (f.ok())
            m_dc.backgroundColor = colorRef(value);
        return true;
    case kEmfSetArcDirection:
        m_dc.clockwise = value == 2;
        return true;
    case kEmfMoveTo:
        if (const QPointF at = f.pointL(8); f.ok()) {
            m_dc.position = at;
            if (m_dc.inPath)
                m_dc.path.moveTo(toDevice().map(at));
        }
        return true;
    case kEmfSaveContext:
        if (m_saved.size() < kMostSavedContexts)
            m_saved.append(m_dc);
        return true;
    case kEmfRestoreContext:
        if (f.ok())
            restoreContext(qint32(value));
        return true;
    default:
        return false;
    }
}

void EmfPlayer::restoreContext(qint32 level) {
    // A negative level counts back from the latest saved context; a positive one is absolute.
    const qint64 keep = level < 0 ? m_saved.size() + qint64{level} : qint64{level} - 1;
    if (keep < 0 || keep >= m_saved.size())
        return;
    m_dc = m_saved[keep];
    m_saved.resize(keep);
    m_canvas->setClip(m_dc.clip);
}

bool EmfPlayer::objects(const EmfRecord& record) {
    if (std::optional<CreatedObject> created = createdObject(record)) {
        m_objects.create(*created);
        return true;
    }
    EmfFields f(record);
    const quint32 index = f.u32(8);
    if (record.type == kEmfDeleteObject) {
        m_objects.remove(index);
        return true;
    }
    if (record.type != kEmfSelectObject)
        return false;
    const std::optional<EmfObject> object = m_objects.find(index);
    if (!f.ok() || !object)
        return true;
    if (const auto* pen = std::get_if<EmfPen>(&*object))
        m_dc.pen = *pen;
    else if (const auto* brush = std::get_if<EmfBrush>(&*object))
        m_dc.brush = *brush;
    else if (const auto* font = std::get_if<EmfFont>(&*object))
        m_dc.font = *font;
    return true;
}

void EmfPlayer::combineClip(const QPainterPath& region, quint32 mode) {
    const QPainterPath current = m_dc.clip.value_or(m_everything);
    switch (mode) {
    case kAnd:
        m_dc.clip = current.intersected(region);
        break;
    case kOr:
        m_dc.clip = current.united(region);
        break;
    case kXor:
        m_dc.clip = current.united(region).subtracted(current.intersected(region));
        break;
    case kDiff:
        m_dc.clip = current.subtracted(region);
        break;
    case kCopy:
        m_dc.clip = region;
        break;
    default:
        return;
    }
    m_canvas->setClip(m_dc.clip);
}

bool EmfPlayer::clipping(const EmfRecord& record) {
    EmfFields f(record);
    switch (record.type) {
    case kEmfIntersectClipRect:
    case kEmfExcludeClipRect: {
        const QRectF rect = f.rectL(8);
        if (f.ok())
            combineClip(toDevice().map(rectPath(rect)),
                        record.type == kEmfIntersectClipRect ? kAnd : kDiff);
        return true;
    }
    case kEmfOffsetClip: {
        const QPointF by = f.pointL(8);
        if (f.ok() && m_dc.clip) {
            const QTransform t = toDevice();
            const QPointF shift = t.map(by) - t.map(QPointF());
            m_dc.clip->translate(shift);
            m_canvas->setClip(m_dc.clip);
        }
        return true;
    }
    case kEmfExtSelectClipRegion: {
        const quint32 size = f.u32(8);
        const quint32 mode = f.u32(12);
        if (f.ok() && size == 0 && mode == kCopy) {
            m_dc.clip.reset();
            m_canvas->setClip(m_dc.clip);
        } else if (const QPainterPath region = emfRegion(f, 16); f.ok())
            combineClip(region, mode);
        return true;
    }
    case kEmfSelectClipPath:
        if (const quint32 mode = f.u32(8); f.ok())
            combineClip(m_dc.path, mode);
        m_dc.path = QPainterPath();
        return true;
    default:
        return false;
    }
}

bool EmfPlayer::paths(const EmfRecord& record) {
    switch (record.type) {
    case kEmfBeginPath:
        m_dc.inPath = true;
        m_dc.path = QPainterPath();
        m_dc.path.moveTo(toDevice().map(m_dc.position));
        return true;
    case kEmfEndPath:
        m_dc.inPath = false;
        return true;
    case kEmfAbortPath:
        m_dc.inPath = false;
        m_dc.path = QPainterPath();
        return true;
    case kEmfCloseFigure:
        m_dc.path.closeSubpath();
        return true;
    case kEmfFillPath:
    case kEmfStrokePath:
    case kEmfStrokeAndFillPath: {
        bool invertible = false;
        const QTransform t = toDevice();
        const QTransform back = t.inverted(&invertible);
        if (invertible)
            m_canvas->draw(m_dc, t, back.map(m_dc.path), record.type != kEmfStrokePath,
                           record.type != kEmfFillPath);
        m_dc.path = QPainterPath();
        return true;
    }
    case kEmfWidenPath: {
        QPainterPathStroker stroker;
        stroker.setWidth(
            std::max(1.0, m_dc.pen.width * std::sqrt(std::abs(toDevice().determinant()))));
        m_dc.path = stroker.createStroke(m_dc.path);
        return true;
    }
    default:
        return false;
    }
}

void EmfPlayer::shape(const QPainterPath& logical, bool fill, bool stroke) {
    if (m_dc.inPath)
        m_dc.path.addPath(toDevice().map(logical));
    else
        m_canvas->draw(m_dc, toDevice(), logical, fill, stroke);
}

void EmfPlayer::figure(const QPainterPath& logical, QPointF end) {
    if (m_dc.inPath)
        m_dc.path.connectPath(toDevice().map(logical));
    else
        m_canvas->draw(m_dc, toDevice(), logical, false, true);
    m_dc.position = end;
}

bool EmfPlayer::lines(const EmfRecord& record) {
    EmfFields f(record);
    const quint32 type = record.type;
    const bool small = type >= kEmfPolyBezier16;
    switch (type) {
    case kEmfPolyline:
    case kEmfPolyline16:
    case kEmfPolygon:
    case kEmfPolygon16: {
        const QPolygonF points = emfPoints(f, 24, small);
        const bool closed = type == kEmfPolygon || type == kEmfPolygon16;
        if (f.ok() && !points.isEmpty())
            shape(polygonsPath({points}, closed), closed, true);
        return true;
    }
    case kEmfPolyPolyline:
    case kEmfPolyPolyline16:
    case kEmfPolyPolygon:
    case kEmfPolyPolygon16: {
        const QList<QPolygonF> polygons = emfPolyPoints(f, small);
        const bool closed = type == kEmfPolyPolygon || type == kEmfPolyPolygon16;
        if (f.ok() && !polygons.isEmpty())
            shape(polygonsPath(polygons, closed), closed, true);
        return true;
    }
    case kEmfPolyBezier:
    case kEmfPolyBezier16: {
        const QPolygonF points = emfPoints(f, 24, small);
        if (f.ok() && !points.isEmpty()) {
            QPainterPath path(points.first());
            addBeziers(path, points.sliced(1));
            shape(path, false, true);
        }
        return true;
    }
    case kEmfPolylineTo:
    case kEmfPolylineTo16:
    case kEmfPolyBezierTo:
    case kEmfPolyBezierTo16: {
        const QPolygonF points = emfPoints(f, 24, small);
        if (!f.ok() || points.isEmpty())
            return true;
        QPainterPath path(m_dc.position);
        if (type == kEmfPolylineTo || type == kEmfPolylineTo16) {
            for (const QPointF& point : points)
                path.lineTo(point);
        } else
            addBeziers(path, points);
        figure(path, path.currentPosition());
        return true;
    }
    case kEmfLineTo: {
        const QPointF to = f.pointL(8);
        if (f.ok()) {
            QPainterPath path(m_dc.position);
            path.lineTo(to);
            figure(path, to);
        }
        return true;
    }
    default:
        return false;
    }
}

bool EmfPlayer::shapes(const EmfRecord& record) {
    EmfFields f(record);
    const QRectF box = f.rectL(8);
    QPainterPath path;
    switch (record.type) {
    case kEmfRectangle:
        path.addRect(box.normalized());
        break;
    case kEmfEllipse:
        path.addEllipse(box.normalized());
        break;
    case kEmfRoundRectangle: {
        const QSizeF corner = f.sizeL(24);
        path.addRoundedRect(box.normalized(), std::abs(corner.width()) / 2,
                            std::abs(corner.height()) / 2);
        break;
    }
    case kEmfArc:
    case kEmfChord:
    case kEmfPie:
    case kEmfArcTo: {
        const QPointF start = f.pointL(24);
        const QPointF end = f.pointL(32);
        // The direction is the eye's on the device: a mapping that turns the y axis up turns it.
        const bool clockwise = m_dc.clockwise != (toDevice().determinant() < 0);
        if (record.type == kEmfArcTo) {
            path.moveTo(m_dc.position);
            addArc(path, box, start, end, clockwise, ArcKind::Open, true);
            if (f.ok())
                figure(path, path.currentPosition());
            return true;
        }
        const ArcKind kind = record.type == kEmfArc     ? ArcKind::Open
                             : record.type == kEmfChord ? ArcKind::Chord
                                                        : ArcKind::Pie;
        addArc(path, box, start, end, clockwise, kind);
        if (f.ok())
            shape(path, kind != ArcKind::Open, true);
        return true;
    }
    case kEmfAngleArc: {
        const QPointF centre = f.pointL(8);
        const double radius = f.u32(16);
        const double startAngle = f.f32(20);
        const double sweep = f.f32(24);
        if (!f.ok() || !std::isfinite(startAngle + sweep))
            return true;
        const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        path.moveTo(m_dc.position);
        path.arcTo(circle, startAngle, sweep);
        figure(path, path.currentPosition());
        return true;
    }
    default:
        return false;
    }
    if (f.ok())
        shape(path, true, true);
    return true;
}

bool EmfPlayer::pictures(const EmfRecord& record) {
    EmfFields f(record);
    switch (record.type) {
    case kEmfExtTextOutA:
    case kEmfExtTextOutW:
        text(record, record.type == kEmfExtTextOutW);
        return true;
    case kEmfSetPixel: {
        const QPointF at = f.pointL(8);
        const QColor color = colorRef(f.u32(16));
        const QTransform t = toDevice();
        if (f.ok())
            m_canvas->fill(QTransform(), rectPath(QRectF(t.map(at), QSizeF(1, 1))), color);
        return true;
    }
    case kEmfFillRegion:
    case kEmfPaintRegion: {
        const bool own = record.type == kEmfFillRegion;
        const std::optional<EmfObject> brush = own ? m_objects.find(f.u32(28)) : std::nullopt;
        const QPainterPath region = emfRegion(f, own ? 32 : 28);
        const auto* given = brush ? std::get_if<EmfBrush>(&*brush) : nullptr;
        if (f.ok())
            m_canvas->fill(toDevice(), region, given ? given->brush : m_dc.brush.brush);
        return true;
    }
    default:
        if (const std::optional<EmfBlit> blit = emfBlit(record))
            m_canvas->blit(m_dc, toDevice(), *blit);
        return false;
    }
}

void EmfPlayer::text(const EmfRecord& record, bool wide) {
    std::optional<EmfTextRun> run = emfTextRun(record, wide, m_dc.font.charSet);
    if (!run)
        return;
    constexpr quint32 kUpdatePosition = 1;
    const bool fromPosition = (m_dc.textAlign & kUpdatePosition) != 0;
    if (fromPosition)
        run->reference = m_dc.position;
    QPainter& painter = m_canvas->painter();
    painter.save();
    const double width =
        EmfTextPainter(m_fonts).paint(painter, m_dc, toDevice(), m_canvas->deviceToTarget(), *run);
    painter.restore();
    if (fromPosition)
        m_dc.position.rx() += width;
}

} // namespace report
