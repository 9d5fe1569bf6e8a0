#pragma once

#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>

#include <optional>

class QPainter;

namespace xls {
struct SheetObject;
}

namespace report {

// The outline of a closed shape within its box: rectangles, rounded rectangles, ellipses and
// the preset shapes the report printer knows (diamond, triangles, parallelogram, trapezoid,
// hexagon, octagon, cross, the four block arrows, the flowchart process, decision, terminator
// and connector, and the arc, which is open). Empty for shapes it does not know and for lines.
std::optional<QPainterPath> shapeOutline(const xls::SheetObject& object, const QRectF& box);

// The points a line or connector of a preset shape runs through, from the box's top left
// corner to its bottom right one.
QPolygonF linePoints(int shapeType, const QRectF& box);

// Draws an arrowhead with its tip at tip, pointing away from from, in the pen's colour and
// sized for its width. style: 1 triangle, 2 stealth, 3 diamond, 4 oval, 5 open.
void paintArrowhead(QPainter& painter, const QPen& pen, QPointF from, QPointF tip, int style);

// The pen of the drawing line's width (in points), colour and dash style.
QPen dashedPen(const QColor& color, double width, int dash);

} // namespace report
