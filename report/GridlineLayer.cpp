#include "CellLayout.h"
#include "PageLayers.h"

#include <QPainter>

namespace report {

namespace {

constexpr double kGridlineWidth = 0.5;

} // namespace

void paintGridlines(QPainter& painter, const CellLayout& layout) {
    painter.save();
    painter.setPen(QPen(Qt::black, kGridlineWidth));
    painter.setBrush(Qt::NoBrush);
    for (const CellSlot& slot : layout.cellSlots()) {
        const QRectF& rect = slot.cell;
        if (slot.gridTop)
            painter.drawLine(rect.topLeft(), rect.topRight());
        if (slot.gridLeft)
            painter.drawLine(rect.topLeft(), rect.bottomLeft());
        if (slot.gridBottom)
            painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        if (slot.gridRight)
            painter.drawLine(rect.topRight(), rect.bottomRight());
    }
    painter.restore();
}

} // namespace report
