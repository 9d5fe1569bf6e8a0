#include "CellLayout.h"
#include "PageLayers.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace report {

namespace {

using xls::HorizontalAlignment;
using xls::VerticalAlignment;

void paintStacked(QPainter& painter, const SlotText& text, const QFontMetricsF& metrics) {
    const QRectF& content = text.content;
    const double lineHeight = metrics.height();
    const double height = lineHeight * text.text.size();
    double width = 0;
    for (const QChar ch : text.text)
        width = std::max(width, metrics.horizontalAdvance(ch));
    double x = content.left();
    if (text.horizontal == HorizontalAlignment::Center)
        x = content.center().x() - width / 2;
    else if (text.horizontal == HorizontalAlignment::Right)
        x = content.right() - width;
    double y = content.top();
    if (text.vertical == VerticalAlignment::Bottom)
        y = content.bottom() - height;
    else if (text.vertical == VerticalAlignment::Center)
        y = content.center().y() - height / 2;
    for (const QChar ch : text.text) {
        painter.drawText(
            QPointF(x + (width - metrics.horizontalAdvance(ch)) / 2, y + metrics.ascent()),
            QString(ch));
        y += lineHeight;
    }
}

// Placed by its turned outline, kept within the cell.
void paintRotated(QPainter& painter, const SlotText& text, const QFontMetricsF& metrics) {
    const QRectF& content = text.content;
    const double radians = std::abs(text.rotation) * std::numbers::pi / 180;
    const double w = metrics.horizontalAdvance(text.text);
    const double h = metrics.height();
    const double outlineWidth = w * std::cos(radians) + h * std::sin(radians);
    const double outlineHeight = w * std::sin(radians) + h * std::cos(radians);
    double cx = content.center().x();
    if (text.horizontal == HorizontalAlignment::Left)
        cx = content.left() + outlineWidth / 2;
    else if (text.horizontal == HorizontalAlignment::Right)
        cx = content.right() - outlineWidth / 2;
    double cy = content.center().y();
    if (text.vertical == VerticalAlignment::Top)
        cy = content.top() + outlineHeight / 2;
    else if (text.vertical == VerticalAlignment::Bottom)
        cy = content.bottom() - outlineHeight / 2;
    painter.translate(cx, cy);
    painter.rotate(-text.rotation);
    painter.drawText(QPointF(-w / 2, -h / 2 + metrics.ascent()), text.text);
}

int wrapFlags(const SlotText& text) {
    int flags = Qt::TextWordWrap;
    switch (text.horizontal) {
    case HorizontalAlignment::Center:
        flags |= Qt::AlignHCenter;
        break;
    case HorizontalAlignment::Right:
        flags |= Qt::AlignRight;
        break;
    case HorizontalAlignment::Justify:
    case HorizontalAlignment::Distributed:
        flags |= Qt::AlignJustify;
        break;
    default:
        flags |= Qt::AlignLeft;
        break;
    }
    switch (text.vertical) {
    case VerticalAlignment::Top:
    case VerticalAlignment::Justify:
        flags |= Qt::AlignTop;
        break;
    case VerticalAlignment::Center:
    case VerticalAlignment::Distributed:
        flags |= Qt::AlignVCenter;
        break;
    case VerticalAlignment::Bottom:
        flags |= Qt::AlignBottom;
        break;
    }
    return flags;
}

void paintWrapped(QPainter& painter, const SlotText& text) {
    QRectF area = text.content;
    if (text.horizontal == HorizontalAlignment::Left)
        area.setLeft(area.left() + text.indent);
    else if (text.horizontal == HorizontalAlignment::Right)
        area.setRight(area.right() - text.indent);
    painter.drawText(area, wrapFlags(text), text.text);
}

// Double and accounting underlines, which the font does not draw: accounting ones run under
// the whole cell.
void paintUnderline(QPainter& painter, const SlotText& text) {
    const xls::Underline underline = text.underline;
    if (underline == xls::Underline::None || underline == xls::Underline::Single)
        return;
    const QFontMetricsF metrics(text.font, painter.device());
    const bool accounting = underline == xls::Underline::SingleAccounting ||
                            underline == xls::Underline::DoubleAccounting;
    const double x = text.baseline.x();
    const double left = accounting ? text.content.left() : x;
    const double right = accounting ? text.content.right() : x + text.shaped->width();
    const double thickness = std::max(0.5, metrics.lineWidth());
    const double first = text.baseline.y() + metrics.underlinePos() + (accounting ? thickness : 0);
    painter.save();
    painter.setPen(QPen(text.color, thickness, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(left, first), QPointF(right, first));
    if (underline != xls::Underline::SingleAccounting) {
        const double second = first + 2 * thickness;
        painter.drawLine(QPointF(left, second), QPointF(right, second));
    }
    painter.restore();
}

void paintLine(QPainter& painter, const SlotText& text) {
    // Clipping costs a graphics state of its own in the document: only text that reaches
    // beyond its cell (or the cells it flows into) is clipped.
    const ShapedLine& shaped = *text.shaped;
    const QRectF inked(text.baseline.x(), text.baseline.y() - shaped.ascent(), shaped.width(),
                       shaped.ascent() + shaped.descent());
    const bool clipped = !text.clip.contains(inked);
    if (clipped) {
        painter.save();
        painter.setClipRect(text.clip, Qt::IntersectClip);
    }
    shaped.draw(painter, text.baseline);
    paintUnderline(painter, text);
    if (clipped)
        painter.restore();
}

} // namespace

void paintTexts(QPainter& painter, const CellLayout& layout) {
    for (const SlotText& text : layout.texts()) {
        painter.setPen(text.color);
        painter.setFont(text.font);
        if (text.shape == TextShape::Line) {
            paintLine(painter, text);
            continue;
        }
        const QFontMetricsF metrics(text.font, painter.device());
        painter.save();
        painter.setClipRect(text.clip, Qt::IntersectClip);
        if (text.shape == TextShape::Stacked)
            paintStacked(painter, text, metrics);
        else if (text.shape == TextShape::Rotated)
            paintRotated(painter, text, metrics);
        else
            paintWrapped(painter, text);
        painter.restore();
    }
}

} // namespace report
