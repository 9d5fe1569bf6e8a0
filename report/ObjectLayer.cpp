#include "ObjectLayer.h"

#include "CellFonts.h"
#include "ControlPainter.h"
#include "ObjectShapes.h"
#include "PageLayout.h"
#include "PrintOptions.h"

#include "xls/Sheet.h"
#include "xls/Workbook.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace report {

namespace {

// Bands whose sheet positions agree within this many points stand in their sheet order.
constexpr double kInPlace = 1e-6;

// Where the sheet's points land on a page along one direction, and the part of the page that
// shows the sheet in place: the page's own rows (or columns), and print titles only where
// they stand in their place on the sheet, as on the first page.
struct AxisPlacement {
    double shift = 0; // page offset minus sheet position
    double start = 0;
    double end = 0;
    bool shown = false;
};

template <typename StartOf>
AxisPlacement placeAxis(const QList<Band>& bands, const StartOf& startOf) {
    AxisPlacement axis;
    const auto body =
        std::find_if(bands.begin(), bands.end(), [](const Band& b) { return !b.title; });
    if (body == bands.end())
        return axis;
    axis.shown = true;
    axis.shift = body->offset - startOf(body->index);
    axis.start = body->offset;
    axis.end = body->offset;
    for (const Band& band : bands) {
        if (std::abs(band.offset - startOf(band.index) - axis.shift) > kInPlace)
            continue;
        axis.start = std::min(axis.start, band.offset);
        axis.end = std::max(axis.end, band.offset + band.size);
    }
    return axis;
}

QColor colorOf(const PrintOptions& options, const xls::ObjectColor& color, double opacity,
               const QColor& system) {
    QColor result = color.paletteIndex >= 0 ? options.paletteColor(color.paletteIndex, system)
                                            : QColor::fromRgb(color.rgb);
    result.setAlphaF(float(std::clamp(opacity, 0.0, 1.0) * result.alphaF()));
    return result;
}

// A fill in a system colour: the tooltip background that comment boxes are given, else white.
QColor systemFill(const xls::ObjectColor& color) {
    constexpr int kInfoBackground = 0x50;
    return color.paletteIndex == kInfoBackground ? QColor(0xFF, 0xFF, 0xE1) : QColor(Qt::white);
}

// Shapes turned by 45 to 135 degrees (or 225 to 315) keep the box of their quarter-turned
// outline in their anchor: their own box is that one turned back about its centre.
QRectF unturnedBox(const QRectF& anchored, double rotation) {
    const double turn = std::fmod(std::fmod(rotation, 360) + 360, 180);
    if (turn < 45 || turn >= 135)
        return anchored;
    QRectF box(0, 0, anchored.height(), anchored.width());
    box.moveCenter(anchored.center());
    return box;
}

// The part of the page an object may paint on: its box turned, widened by half its line and,
// for lines, by their arrowheads.
QRectF reach(const xls::SheetObject& object, const QRectF& anchored) {
    const QRectF box = unturnedBox(anchored, object.rotation);
    QTransform turn;
    turn.translate(box.center().x(), box.center().y());
    turn.rotate(object.rotation);
    turn.translate(-box.center().x(), -box.center().y());
    const double line = std::max(0, object.line.widthEmu) / kEmuPerPoint;
    double margin = line / 2 + 1;
    if (object.kind == xls::ObjectKind::Line)
        margin += std::max(4.5, 3 * line);
    return turn.mapRect(box).adjusted(-margin, -margin, margin, margin);
}

bool isControl(xls::ObjectKind kind) {
    using xls::ObjectKind;
    switch (kind) {
    case ObjectKind::CheckBox:
    case ObjectKind::OptionButton:
    case ObjectKind::GroupBox:
    case ObjectKind::Label:
    case ObjectKind::Button:
    case ObjectKind::ListBox:
    case ObjectKind::ComboBox:
        return true;
    default:
        return false;
    }
}

} // namespace

ObjectLayer::ObjectLayer(const xls::Workbook& workbook, const xls::Sheet& sheet,
                         const SheetMetrics& metrics, const CellFonts& fonts,
                         const PrintOptions& options)
    : m_workbook(workbook)
    , m_sheet(sheet)
    , m_options(options)
    , m_text(workbook, fonts, options)
    , m_charts(workbook, fonts, options)
    , m_pictures(fonts.mapper(), options) {
    int lastRow = -1;
    for (const xls::SheetObject& object : sheet.objects()) {
        if (printsOnSheet(sheet, object))
            lastRow = std::max({lastRow, object.anchor.firstRow, object.anchor.lastRow});
    }
    if (lastRow >= 0)
        m_placement.emplace(metrics, lastRow);
}

ObjectLayer::Placed ObjectLayer::place(const LaidOutPage& page) const {
    Placed placed;
    if (!m_placement)
        return placed;
    const ObjectPlacement& place = *m_placement;
    const AxisPlacement across =
        placeAxis(page.columns, [&](int column) { return place.columnStart(column); });
    const AxisPlacement down = placeAxis(page.rows, [&](int row) { return place.rowStart(row); });
    if (!across.shown || !down.shown)
        return placed;
    placed.shown = QRectF(QPointF(across.start, down.start), QPointF(across.end, down.end));
    for (const xls::SheetObject& object : m_sheet.objects()) {
        if (!printsOnSheet(m_sheet, object))
            continue;
        const QRectF box = place.rect(object.anchor).translated(across.shift, down.shift);
        if (reach(object, box).intersects(placed.shown))
            placed.boxes.emplace_back(&object, box);
    }
    return placed;
}

void ObjectLayer::paint(QPainter& painter, const Placed& placed) const {
    if (placed.boxes.empty())
        return;
    painter.save();
    painter.setClipRect(placed.shown, Qt::IntersectClip);
    for (const auto& [object, box] : placed.boxes)
        paintObject(painter, *object, box);
    painter.restore();
}

void ObjectLayer::paintObject(QPainter& painter, const xls::SheetObject& object,
                              const QRectF& anchored) const {
    using xls::ObjectKind;
    const QRectF box = unturnedBox(anchored, object.rotation);
    painter.save();
    painter.translate(box.center());
    painter.rotate(object.rotation);
    painter.scale(object.flipH ? -1 : 1, object.flipV ? -1 : 1);
    const QRectF local(-box.width() / 2, -box.height() / 2, box.width(), box.height());
    if (object.kind == ObjectKind::Group)
        paintChildren(painter, object, local);
    else if (object.kind == ObjectKind::Line)
        paintLine(painter, object, local);
    else if (isControl(object.kind))
        paintControl(painter, object, local, m_text);
    else if (object.kind == ObjectKind::Picture)
        paintPicture(painter, object, local);
    else if (object.kind == ObjectKind::Chart && object.chart)
        m_charts.paint(painter, *object.chart, local);
    else
        paintShape(painter, object, local);
    painter.restore();
}

// Members are placed by their rectangles in the group's own coordinates, its child frame
// spanning the group's box.
void ObjectLayer::paintChildren(QPainter& painter, const xls::SheetObject& group,
                                const QRectF& box) const {
    const QRectF frame = QRectF(group.childFrame).normalized();
    if (frame.width() <= 0 || frame.height() <= 0)
        return;
    const double sx = box.width() / frame.width();
    const double sy = box.height() / frame.height();
    for (const xls::SheetObject& child : group.children) {
        if (!child.childAnchor || !objectPrints(child))
            continue;
        const QRectF at = QRectF(*child.childAnchor).normalized();
        paintObject(painter, child,
                    QRectF(box.left() + (at.left() - frame.left()) * sx,
                           box.top() + (at.top() - frame.top()) * sy, at.width() * sx,
                           at.height() * sy));
    }
}

void ObjectLayer::paintShape(QPainter& painter, const xls::SheetObject& object,
                             const QRectF& box) const {
    if (const auto outline = shapeOutline(object, box)) {
        painter.setBrush(object.fill.filled ? QBrush(m_options.shapeFill(colorOf(
                                                  m_options, object.fill.color, object.fill.opacity,
                                                  systemFill(object.fill.color))))
                                            : QBrush(Qt::NoBrush));
        if (object.line.visible)
            painter.setPen(dashedPen(m_options.ink(colorOf(m_options, object.line.color,
                                                           object.line.opacity, Qt::black)),
                                     std::max(0, object.line.widthEmu) / kEmuPerPoint,
                                     object.line.dash));
        else
            painter.setPen(Qt::NoPen);
        painter.drawPath(*outline);
    }
    if (object.text) {
        // The text stays upright in a flipped shape.
        painter.scale(object.flipH ? -1 : 1, object.flipV ? -1 : 1);
        // A comment's text is cut at its box; other shapes let it run out.
        if (object.kind == xls::ObjectKind::Comment)
            painter.setClipRect(box, Qt::IntersectClip);
        m_text.paint(painter, *object.text, ObjectTextPainter::inner(*object.text, box));
    }
}

void ObjectLayer::paintLine(QPainter& painter, const xls::SheetObject& object,
                            const QRectF& box) const {
    if (!object.line.visible)
        return;
    // The flips, applied to the painter, choose the corners the line joins.
    const QPolygonF points = linePoints(object.shapeType, box);
    const QPen pen = dashedPen(
        m_options.ink(colorOf(m_options, object.line.color, object.line.opacity, Qt::black)),
        std::max(0, object.line.widthEmu) / kEmuPerPoint, object.line.dash);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(points);
    paintArrowhead(painter, pen, points[1], points[0], object.line.startArrowhead);
    paintArrowhead(painter, pen, points[points.size() - 2], points.back(),
                   object.line.endArrowhead);
}

// The picture's crop cuts fractions off its edges (negative ones add space): the whole
// picture is drawn over a larger (or smaller) box, clipped to the object's own.
void ObjectLayer::paintPicture(QPainter& painter, const xls::SheetObject& object,
                               const QRectF& box) const {
    const double shownWidth = 1 - object.cropLeft - object.cropRight;
    const double shownHeight = 1 - object.cropTop - object.cropBottom;
    const QList<xls::Picture>& store = m_workbook.pictures();
    if (object.picture && *object.picture >= 0 && *object.picture < store.size() &&
        shownWidth > 0 && shownHeight > 0 && std::isfinite(shownWidth + shownHeight)) {
        const double width = box.width() / shownWidth;
        const double height = box.height() / shownHeight;
        const QRectF whole(box.left() - object.cropLeft * width,
                           box.top() - object.cropTop * height, width, height);
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        m_pictures.draw(painter, store[*object.picture], whole);
        painter.restore();
    }
    if (object.line.visible) {
        xls::SheetObject frame = object;
        frame.fill.filled = false;
        frame.text.reset();
        paintShape(painter, frame, box);
    }
}

} // namespace report
