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

// Where a block of text of a height starts from the top of the content, by the vertical
// alignment.
double blockTop(const SlotText& text, double height) {
    const QRectF& content = text.content;
    switch (text.vertical) {
    case VerticalAlignment::Bottom:
        return content.bottom() - height;
    case VerticalAlignment::Center:
    case VerticalAlignment::Distributed:
        return content.center().y() - height / 2;
    default:
        return content.top();
    }
}

// Letters top to bottom, as a column placed by the alignments.
void paintStacked(QPainter& painter, const SlotText& text) {
    const QRectF& content = text.content;
    const ShapedText& shaped = *text.shaped;
    double x = content.left();
    if (text.horizontal == HorizontalAlignment::Center)
        x = content.center().x() - shaped.width() / 2;
    else if (text.horizontal == HorizontalAlignment::Right)
        x = content.right() - shaped.width();
    shaped.draw(painter, {x, blockTop(text, shaped.height())});
}

// Placed by its turned outline, kept within the cell.
void paintRotated(QPainter& painter, const SlotText& text) {
    const QRectF& content = text.content;
    const double radians = std::abs(text.rotation) * std::numbers::pi / 180;
    const double w = text.shaped->width();
    const double h = text.shaped->height();
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
    text.shaped->draw(painter, {-w / 2, -h / 2});
}

// Lines wrapped to the content's width less the indent, aligned within it when shaped.
void paintWrapped(QPainter& painter, const SlotText& text) {
    const double left =
        text.content.left() + (text.horizontal == HorizontalAlignment::Left ? text.indent : 0);
    text.shaped->draw(painter, {left, blockTop(text, text.shaped->height())});
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

void paintGuide(QPainter& painter, const PhoneticGuide& guide) {
    painter.setFont(guide.font);
    painter.setPen(guide.color);
    for (const GuidePiece& piece : guide.pieces)
        painter.drawText(piece.baseline, piece.text);
}

void paintLine(QPainter& painter, const SlotText& text) {
    // Clipping costs a graphics state of its own in the document: only text that reaches
    // beyond its cell (or the cells it flows into) is clipped.
    const ShapedText& shaped = *text.shaped;
    const QRectF inked(text.baseline.x(), text.baseline.y() - shaped.ascent(), shaped.width(),
                       shaped.ascent() + shaped.descent());
    const bool clipped = text.guide != nullptr || !text.clip.contains(inked);
    if (clipped) {
        painter.save();
        painter.setClipRect(text.clip, Qt::IntersectClip);
    }
    shaped.draw(painter, text.baseline - QPointF(0, shaped.baselineOffset()));
    paintUnderline(painter, text);
    if (text.guide != nullptr)
        paintGuide(painter, *text.guide);
    if (clipped)
        painter.restore();
}

} // namespace

void paintTexts(QPainter& painter, const CellLayout& layout) {
    for (const SlotText& text : layout.texts()) {
        if (text.shape == TextShape::Line) {
            paintLine(painter, text);
            continue;
        }
        painter.save();
        painter.setClipRect(text.clip, Qt::IntersectClip);
        if (text.shape == TextShape::Stacked)
            paintStacked(painter, text);
        else if (text.shape == TextShape::Rotated)
            paintRotated(painter, text);
        else
            paintWrapped(painter, text);
        painter.restore();
    }
}

} // namespace report
