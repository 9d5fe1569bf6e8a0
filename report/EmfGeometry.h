#pragma once

#include <QList>
#include <QPainterPath>
#include <QPolygonF>

namespace report {

class EmfFields;

// The points of a POLYLINE-like record: a count at countAt, then that many points of 32-bit
// (or, small, 16-bit) coordinates. Empty, and the reader bad, when they run past the record.
QPolygonF emfPoints(EmfFields& fields, qint64 countAt, bool small);

// The polygons of a POLYPOLYLINE or POLYPOLYGON record (32- or 16-bit points): their number,
// the total of points, each one's count, then the points. Empty when the counts do not add up
// or run past the record.
QList<QPolygonF> emfPolyPoints(EmfFields& fields, bool small);

// The rectangles of a region's data at the offset: a 32-byte header whose third field counts
// them, then each as four 32-bit edges. Empty when they run past the record or are too many.
QPainterPath emfRegion(EmfFields& fields, qint64 at);

// Polygons as one path, each closed back to its first point where closed.
QPainterPath polygonsPath(const QList<QPolygonF>& polygons, bool closed);

// Béziers from the current point on: each three points are two control points and an end.
void addBeziers(QPainterPath& path, const QPolygonF& points);

enum class ArcKind { Open, Chord, Pie };

// An elliptic arc of the box from the radial through start to the radial through end,
// counterclockwise as the eye sees it unless clockwise, as ARC, CHORD and PIE draw it: open,
// closed by its chord, or by two radii. The same start and end make a whole ellipse. An open
// arc continues path from its last point when connected (ARCTO).
void addArc(QPainterPath& path, const QRectF& box, QPointF start, QPointF end, bool clockwise,
            ArcKind kind, bool connected = false);

} // namespace report
