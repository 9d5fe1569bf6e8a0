#include "ObjectShapes.h"

#include "xls/SheetObject.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace report {

namespace {

// The drawing layer's preset shape numbers.
enum Preset {
    kRectangle = 1,
    kRoundRectangle = 2,
    kEllipse = 3,
    kDiamond = 4,
    kIsoscelesTriangle = 5,
    kRightTriangle = 6,
    kParallelogram = 7,
    kTrapezoid = 8,
    kHexagon = 9,
    kOctagon = 10,
    kPlus = 11,
    kRightArrow = 13,
    kArc = 19,
    kBentConnector2 = 33,
    kBentConnector3 = 34,
    kLeftArrow = 66,
    kDownArrow = 67,
    kUpArrow = 68,
    kFlowChartProcess = 109,
    kFlowChartDecision = 110,
    kFlowChartTerminator = 116,
    kFlowChartConnector = 120,
};

// Preset shapes are drawn on a 21,600-unit square; their default adjustments are in it too.
constexpr double kUnits = 21600;

// A polygon given in the preset square's units, stretched over the box.
QPainterPath polygon(const QRectF& box, std::initializer_list<QPointF> points) {
    QPolygonF scaled;
    for (const QPointF& p : points)
        scaled << QPointF(box.left() + p.x() / kUnits * box.width(),
                          box.top() + p.y() / kUnits * box.height());
    QPainterPath path;
    path.addPolygon(scaled);
    path.closeSubpath();
    return path;
}

QPainterPath rounded(const QRectF& box, double fraction) {
    const double radius = std::min(box.width(), box.height()) * fraction;
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

QPainterPath arrow(const QRectF& box, int direction) {
    // Right-pointing: the head starts at 3/4 of the length, the shaft is half as thick.
    constexpr double head = 16200;
    constexpr double shaft = 5400;
    QPainterPath right = polygon(QRectF(0, 0, kUnits, kUnits), {{0, shaft},
                                                                {head, shaft},
                                                                {head, 0},
                                                                {kUnits, kUnits / 2},
                                                                {head, kUnits},
                                                                {head, kUnits - shaft},
                                                                {0, kUnits - shaft}});
    QTransform turn;
    turn.translate(kUnits / 2, kUnits / 2);
    turn.rotate(direction);
    turn.translate(-kUnits / 2, -kUnits / 2);
    QTransform onto;
    onto.translate(box.left(), box.top());
    onto.scale(box.width() / kUnits, box.height() / kUnits);
    return (turn * onto).map(right);
}

std::optional<QPainterPath> preset(int type, const QRectF& box) {
    const double u = kUnits;
    switch (type) {
    case kArc: {
        // A quarter of the ellipse centred on the box's bottom-left corner, from the top-left
        // corner to the bottom-right one; a fill closes it along the chord.
        QPainterPath path(box.topLeft());
        path.arcTo(QRectF(box.left() - box.width(), box.top(), 2 * box.width(), 2 * box.height()),
                   90, -90);
        return path;
    }
    case kDiamond:
    case kFlowChartDecision:
        return polygon(box, {{u / 2, 0}, {u, u / 2}, {u / 2, u}, {0, u / 2}});
    case kIsoscelesTriangle:
        return polygon(box, {{u / 2, 0}, {u, u}, {0, u}});
    case kRightTriangle:
        return polygon(box, {{0, 0}, {u, u}, {0, u}});
    case kParallelogram:
        return polygon(box, {{5400, 0}, {u, 0}, {u - 5400, u}, {0, u}});
    case kTrapezoid:
        return polygon(box, {{0, 0}, {u, 0}, {u - 5400, u}, {5400, u}});
    case kHexagon:
        return polygon(
            box, {{5400, 0}, {u - 5400, 0}, {u, u / 2}, {u - 5400, u}, {5400, u}, {0, u / 2}});
    case kOctagon: {
        constexpr double c = 6326;
        return polygon(
            box, {{c, 0}, {u - c, 0}, {u, c}, {u, u - c}, {u - c, u}, {c, u}, {0, u - c}, {0, c}});
    }
    case kPlus: {
        constexpr double c = 5400;
        return polygon(box, {{c, 0},
                             {u - c, 0},
                             {u - c, c},
                             {u, c},
                             {u, u - c},
                             {u - c, u - c},
                             {u - c, u},
                             {c, u},
                             {c, u - c},
                             {0, u - c},
                             {0, c},
                             {c, c}});
    }
    case kRightArrow:
        return arrow(box, 0);
    case kDownArrow:
        return arrow(box, 90);
    case kLeftArrow:
        return arrow(box, 180);
    case kUpArrow:
        return arrow(box, 270);
    case kFlowChartTerminator:
        return rounded(box, 0.5);
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QPainterPath> shapeOutline(const xls::SheetObject& object, const QRectF& box) {
    using xls::ObjectKind;
    QPainterPath path;
    switch (object.kind) {
    case ObjectKind::Rectangle:
    case ObjectKind::TextBox:
    case ObjectKind::Picture:
    case ObjectKind::Comment:
        path.addRect(box);
        return path;
    case ObjectKind::RoundRectangle:
        // The default rounding: a sixth of the shorter side.
        return rounded(box, 1.0 / 6);
    case ObjectKind::Ellipse:
        path.addEllipse(box);
        return path;
    case ObjectKind::Shape:
        break;
    default:
        return std::nullopt;
    }
    switch (object.shapeType) {
    case kRectangle:
    case kFlowChartProcess:
        path.addRect(box);
        return path;
    case kRoundRectangle:
        return rounded(box, 1.0 / 6);
    case kEllipse:
    case kFlowChartConnector:
        path.addEllipse(box);
        return path;
    default:
        return preset(object.shapeType, box);
    }
}

QPolygonF linePoints(int shapeType, const QRectF& box) {
    switch (shapeType) {
    case kBentConnector2:
        return {{box.topLeft(), box.topRight(), box.bottomRight()}};
    case kBentConnector3: {
        const double middle = box.center().x();
        return {{box.topLeft(), QPointF(middle, box.top()), QPointF(middle, box.bottom()),
                 box.bottomRight()}};
    }
    default:
        return {{box.topLeft(), box.bottomRight()}};
    }
}

void paintArrowhead(QPainter& painter, const QPen& pen, QPointF from, QPointF tip, int style) {
    const QPointF along = tip - from;
    const double length = std::hypot(along.x(), along.y());
    if (length <= 0 || style <= 0)
        return;
    // A medium arrowhead: three line widths long and wide, and no smaller than 4.5 points.
    const double size = std::max(4.5, 3 * pen.widthF());
    const QPointF back = along / length * size;
    const QPointF side(-back.y() / 2, back.x() / 2);
    const QPointF base = tip - back;
    painter.save();
    QPen outline = pen;
    outline.setStyle(Qt::SolidLine);
    outline.setJoinStyle(Qt::MiterJoin);
    painter.setPen(outline);
    painter.setBrush(pen.color());
    switch (style) {
    case 2: // stealth: a triangle notched at its base
        painter.drawPolygon(QPolygonF{tip, base + side, tip - back * 0.7, base - side});
        break;
    case 3: // diamond
        painter.drawPolygon(QPolygonF{tip + back / 2, tip + side, tip - back / 2, tip - side});
        break;
    case 4: // oval
        painter.drawEllipse(tip, size / 2, size / 2);
        break;
    case 5: // open: two strokes
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(QPolygonF{base + side, tip, base - side});
        break;
    default: // triangle
        painter.drawPolygon(QPolygonF{tip, base + side, base - side});
        break;
    }
    painter.restore();
}

QPen dashedPen(const QColor& color, double width, int dash) {
    QPen pen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    // Dash and gap lengths in line widths, as the drawing layer's dash styles number them.
    static const QList<QList<qreal>> patterns{
        {},     {4, 3}, {1, 3},       {4, 3, 1, 3}, {4, 3, 1, 3, 1, 3}, {1, 1},
        {3, 1}, {8, 3}, {3, 1, 1, 1}, {8, 3, 1, 3}, {8, 3, 1, 3, 1, 3}};
    if (dash > 0 && dash < patterns.size())
        pen.setDashPattern(patterns[dash]);
    return pen;
}

} // namespace report
