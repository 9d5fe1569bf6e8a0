#include "CellLayout.h"
#include "PageLayers.h"
#include "SheetLimits.h"

#include <QPainter>

#include <algorithm>

namespace report {

namespace {

// Excel's fill patterns 2 to 18 as 8 by 8 bitmaps, a row a byte, highest bit leftmost.
QImage patternImage(int pattern, const QColor& foreground, const QColor& background) {
    static constexpr unsigned char kPatterns[17][8] = {
        {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}, // 50 % grey
        {0xFF, 0x55, 0xFF, 0x55, 0xFF, 0x55, 0xFF, 0x55}, // 75 % grey
        {0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}, // 25 % grey
        {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}, // horizontal stripe
        {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC}, // vertical stripe
        {0xCC, 0x66, 0x33, 0x99, 0xCC, 0x66, 0x33, 0x99}, // reverse diagonal stripe
        {0x33, 0x66, 0xCC, 0x99, 0x33, 0x66, 0xCC, 0x99}, // diagonal stripe
        {0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33}, // diagonal crosshatch
        {0xFF, 0x66, 0xFF, 0x99, 0xFF, 0x66, 0xFF, 0x99}, // thick diagonal crosshatch
        {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00}, // thin horizontal stripe
        {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}, // thin vertical stripe
        {0x88, 0x44, 0x22, 0x11, 0x88, 0x44, 0x22, 0x11}, // thin reverse diagonal stripe
        {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88}, // thin diagonal stripe
        {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88}, // thin horizontal crosshatch
        {0x88, 0x55, 0x22, 0x55, 0x88, 0x55, 0x22, 0x55}, // thin diagonal crosshatch
        {0x80, 0x00, 0x08, 0x00, 0x80, 0x00, 0x08, 0x00}, // 12.5 % grey
        {0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00}, // 6.25 % grey
    };
    QImage image(8, 8, QImage::Format_RGB32);
    const auto& bits = kPatterns[std::clamp(pattern, 2, 18) - 2];
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool set = (bits[y] >> (7 - x)) & 1;
            image.setPixel(x, y, (set ? foreground : background).rgb());
        }
    }
    return image;
}

void fill(QPainter& painter, const QRectF& rect, const CellFill& fill) {
    if (fill.pattern == 1) {
        painter.fillRect(rect, fill.foreground);
        return;
    }
    QBrush brush(patternImage(fill.pattern, fill.foreground, fill.background));
    // A pattern pixel is a screen pixel, as the spreadsheet draws it.
    brush.setTransform(QTransform::fromScale(kPointsPerPixel, kPointsPerPixel));
    painter.fillRect(rect, brush);
}

} // namespace

void paintFills(QPainter& painter, const CellLayout& layout) {
    for (const CellSlot& slot : layout.cellSlots()) {
        if (slot.fill.pattern <= 0)
            continue;
        if (slot.area == slot.visible) {
            fill(painter, slot.area, slot.fill);
            continue;
        }
        painter.save();
        painter.setClipRect(slot.visible, Qt::IntersectClip);
        fill(painter, slot.area, slot.fill);
        painter.restore();
    }
}

} // namespace report
