#include "CellLayout.h"
#include "PageLayers.h"
#include "SheetLimits.h"

#include <QPainter>

namespace report {

namespace {

// inward: the unit step from the line into its cell, along which double lines part.
void paintLine(QPainter& painter, const EdgeLine& line, QPointF from, QPointF to, QPointF inward) {
    if (!line.shown())
        return;
    QPen pen = borderPen(static_cast<int>(line.style), line.color);
    if (line.style == xls::BorderStyle::Double) {
        pen.setWidthF(0.5);
        painter.setPen(pen);
        painter.drawLine(from - inward, to - inward);
        painter.drawLine(from + inward, to + inward);
        return;
    }
    painter.setPen(pen);
    painter.drawLine(from, to);
}

void paintDiagonals(QPainter& painter, const CellSlot& slot) {
    if (!slot.diagonalDown && !slot.diagonalUp)
        return;
    const QRectF& area = slot.area;
    painter.save();
    painter.setClipRect(slot.visible, Qt::IntersectClip);
    if (slot.diagonalDown)
        paintLine(painter, slot.diagonal, area.topLeft(), area.bottomRight(), {0, 0});
    if (slot.diagonalUp)
        paintLine(painter, slot.diagonal, area.bottomLeft(), area.topRight(), {0, 0});
    painter.restore();
}

} // namespace

QPen borderPen(int style, const QColor& color) {
    const auto pen = [&color](double pixels, QList<qreal> dashPixels = {}) {
        QPen result(color, pixels * kPointsPerPixel);
        if (dashPixels.isEmpty()) {
            result.setCapStyle(Qt::SquareCap);
            return result;
        }
        // Dash lengths count in pen widths.
        for (qreal& length : dashPixels)
            length /= pixels;
        result.setDashPattern(dashPixels);
        result.setCapStyle(Qt::FlatCap);
        return result;
    };
    switch (static_cast<xls::BorderStyle>(style)) {
    case xls::BorderStyle::None:
        return QPen(Qt::NoPen);
    case xls::BorderStyle::Thin:
    case xls::BorderStyle::Double:
        return pen(1);
    case xls::BorderStyle::Medium:
        return pen(2);
    case xls::BorderStyle::Thick:
        return pen(3);
    case xls::BorderStyle::Dashed:
        return pen(1, {3, 1});
    case xls::BorderStyle::Dotted:
        return pen(1, {1, 1});
    case xls::BorderStyle::Hair:
        return pen(0.67, {0.67, 0.67});
    case xls::BorderStyle::MediumDashed:
        return pen(2, {9, 3});
    case xls::BorderStyle::DashDot:
        return pen(1, {9, 3, 3, 3});
    case xls::BorderStyle::MediumDashDot:
        return pen(2, {9, 3, 3, 3});
    case xls::BorderStyle::DashDotDot:
        return pen(1, {9, 3, 3, 3, 3, 3});
    case xls::BorderStyle::MediumDashDotDot:
        return pen(2, {9, 3, 3, 3, 3, 3});
    case xls::BorderStyle::SlantedDashDot:
        return pen(2, {11, 1, 5, 1});
    }
    return pen(1);
}

void paintBorders(QPainter& painter, const CellLayout& layout) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const CellSlot& slot : layout.cellSlots()) {
        const QRectF& rect = slot.cell;
        paintLine(painter, slot.top, rect.topLeft(), rect.topRight(), {0, 1});
        paintLine(painter, slot.left, rect.topLeft(), rect.bottomLeft(), {1, 0});
        paintLine(painter, slot.bottom, rect.bottomLeft(), rect.bottomRight(), {0, -1});
        paintLine(painter, slot.right, rect.topRight(), rect.bottomRight(), {-1, 0});
        paintDiagonals(painter, slot);
    }
    painter.restore();
}

} // namespace report
