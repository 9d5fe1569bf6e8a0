#include "EmfGeometry.h"

#include "EmfRecords.h"

#include <QRegion>

#include <cmath>
#include <numbers>

namespace report {

namespace {

constexpr double kFullTurn = 360;
constexpr qint64 kMostRegionRects = 4096;
constexpr double kRegionReach = 1 << 24;

// The angle in degrees, counterclockwise as the eye sees it (y pointing down), at which the
// ellipse's parameter meets the radial from its centre through the point.
double angleOf(const QRectF& box, QPointF point) {
    const QPointF from = point - box.center();
    const double radians = std::atan2(-from.y() / box.height(), from.x() / box.width());
    return radians * 180 / std::numbers::pi;
}

double normalised(double degrees) {
    double result = std::fmod(degrees, kFullTurn);
    if (result <= 0)
        result += kFullTurn;
    return result;
}

} // namespace

QPolygonF emfPoints(EmfFields& fields, qint64 countAt, bool small) {
    const qint64 pointSize = small ? 4 : 8;
    const qint64 count = fields.u32(countAt);
    if (!fields.has(countAt + 4, count, pointSize))
        return {};
    QPolygonF points;
    points.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = countAt + 4 + i * pointSize;
        points.append(small ? fields.pointS(at) : fields.pointL(at));
    }
    return points;
}

QList<QPolygonF> emfPolyPoints(EmfFields& fields, bool small) {
    const qint64 pointSize = small ? 4 : 8;
    const qint64 polygons = fields.u32(24);
    const qint64 total = fields.u32(28);
    if (!fields.has(32, polygons, 4) || !fields.has(32 + polygons * 4, total, pointSize))
        return {};
    QList<QPolygonF> result;
    qint64 at = 32 + polygons * 4;
    qint64 left = total;
    for (qint64 p = 0; p < polygons; ++p) {
        const qint64 count = fields.u32(32 + p * 4);
        if (count > left) {
            fields.fail();
            return {};
        }
        QPolygonF points;
        points.reserve(count);
        for (qint64 i = 0; i < count; ++i, at += pointSize)
            points.append(small ? fields.pointS(at) : fields.pointL(at));
        left -= count;
        result.append(points);
    }
    return result;
}

void addBeziers(QPainterPath& path, const QPolygonF& points) {
    for (qsizetype i = 0; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
}

void addArc(QPainterPath& path, const QRectF& box, QPointF start, QPointF end, bool clockwise,
            ArcKind kind, bool connected) {
    const QRectF ellipse = box.normalized();
    if (ellipse.width() <= 0 || ellipse.height() <= 0)
        return;
    const double from = angleOf(ellipse, start);
    const double to = angleOf(ellipse, end);
    const double sweep = clockwise ? -normalised(from - to) : normalised(to - from);
    if (kind == ArcKind::Pie)
        path.moveTo(ellipse.center());
    else if (!connected)
        path.arcMoveTo(ellipse, from);
    path.arcTo(ellipse, from, sweep);
    if (kind != ArcKind::Open)
        path.closeSubpath();
}

QPainterPath emfRegion(EmfFields& f, qint64 at) {
    const qint64 count = f.u32(at + 8);
    QPainterPath path;
    if (count > kMostRegionRects) {
        f.fail();
        return path;
    }
    if (!f.has(at + 32, count, 16))
        return path;
    // Kept within a range whose widths an int holds.
    const QRectF reach(-kRegionReach, -kRegionReach, 2 * kRegionReach, 2 * kRegionReach);
    QRegion region;
    for (qint64 i = 0; i < count; ++i)
        region += f.rectL(at + 32 + i * 16).normalized().intersected(reach).toAlignedRect();
    path.addRegion(region);
    return path;
}

QPainterPath polygonsPath(const QList<QPolygonF>& polygons, bool closed) {
    QPainterPath path;
    for (QPolygonF polygon : polygons) {
        if (closed && !polygon.isEmpty())
            polygon.append(polygon.first());
        path.addPolygon(polygon);
    }
    return path;
}

} // namespace report
