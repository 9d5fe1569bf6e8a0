#include "ControlPainter.h"

#include "ObjectText.h"

#include "xls/SheetObject.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace report {

namespace {

constexpr double kMarkSize = 9;   // the square of a check box, the circle of an option button
constexpr double kMarkGap = 3;    // between the mark and its label
constexpr double kFrameInset = 6; // a group box's label from its left edge
const QColor kFrame(0x80, 0x80, 0x80);
const QColor kButtonFace(0xF0, 0xF0, 0xF0);

// The control's text without margins.
xls::ObjectText labelOf(const xls::SheetObject& control) {
    xls::ObjectText text = control.text.value_or(xls::ObjectText{});
    text.marginLeft = text.marginRight = text.marginTop = text.marginBottom = 0;
    return text;
}

QRectF markBox(const QRectF& box) {
    const double size = std::min({kMarkSize, box.width(), box.height()});
    return {box.left() + 1, box.center().y() - size / 2, size, size};
}

void paintCheckBox(QPainter& painter, const xls::SheetObject& control, const QRectF& box) {
    const QRectF mark = markBox(box);
    painter.setPen(QPen(Qt::black, 0.75));
    painter.setBrush(control.checked == 2 ? QColor(0xC0, 0xC0, 0xC0) : QColor(Qt::white));
    painter.drawRect(mark);
    if (control.checked != 1)
        return;
    painter.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const auto at = [&](double x, double y) {
        return QPointF(mark.left() + x * mark.width(), mark.top() + y * mark.height());
    };
    painter.drawPolyline(QPolygonF{at(0.2, 0.5), at(0.42, 0.75), at(0.8, 0.25)});
}

void paintOptionButton(QPainter& painter, const xls::SheetObject& control, const QRectF& box) {
    const QRectF mark = markBox(box);
    painter.setPen(QPen(Qt::black, 0.75));
    painter.setBrush(Qt::white);
    painter.drawEllipse(mark);
    if (control.checked != 1)
        return;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(mark.center(), mark.width() / 4, mark.height() / 4);
}

// A frame whose top edge is broken by the label.
void paintGroupBox(QPainter& painter, const xls::SheetObject& control, const QRectF& box,
                   const ObjectTextPainter& text) {
    const xls::ObjectText label = labelOf(control);
    const QFontMetricsF metrics(text.font(label), painter.device());
    const double labelHeight = metrics.height();
    const QRectF frame = box.adjusted(0, labelHeight / 2, 0, 0);
    const double labelWidth = std::min(metrics.horizontalAdvance(label.text) + 4,
                                       std::max(0.0, frame.width() - 2 * kFrameInset));
    painter.setPen(QPen(kFrame, 0.75));
    painter.setBrush(Qt::NoBrush);
    const double gapStart = frame.left() + kFrameInset;
    const double gapEnd = label.text.isEmpty() ? gapStart : gapStart + labelWidth;
    painter.drawPolyline(QPolygonF{QPointF(gapStart, frame.top()), frame.topLeft(),
                                   frame.bottomLeft(), frame.bottomRight(), frame.topRight(),
                                   QPointF(gapEnd, frame.top())});
    xls::ObjectText top = label;
    top.vAlign = xls::TextVAlign::Top;
    text.paint(painter, top, QRectF(gapStart + 2, box.top(), labelWidth, labelHeight));
}

// A white field with a grey frame and, for a combo box, its drop-down button.
void paintField(QPainter& painter, const xls::SheetObject& control, const QRectF& box,
                const ObjectTextPainter& text) {
    painter.setPen(QPen(kFrame, 0.75));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    QRectF field = box.adjusted(2, 0, -2, 0);
    if (control.kind == xls::ObjectKind::ComboBox) {
        const double width = std::min(box.height(), 12.0);
        const QRectF button(box.right() - width, box.top(), width, box.height());
        painter.setBrush(kButtonFace);
        painter.drawRect(button);
        const QPointF c = button.center();
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawPolygon(
            QPolygonF{c + QPointF(-3, -1.5), c + QPointF(3, -1.5), c + QPointF(0, 2)});
        field.setRight(button.left() - 2);
    }
    xls::ObjectText value = labelOf(control);
    value.text = control.shownValue;
    value.vAlign = xls::TextVAlign::Middle;
    value.hAlign = xls::TextHAlign::Left;
    text.paint(painter, value, field);
}

} // namespace

void paintControl(QPainter& painter, const xls::SheetObject& control, const QRectF& box,
                  const ObjectTextPainter& text) {
    using xls::ObjectKind;
    painter.save();
    switch (control.kind) {
    case ObjectKind::CheckBox:
    case ObjectKind::OptionButton: {
        if (control.kind == ObjectKind::CheckBox)
            paintCheckBox(painter, control, box);
        else
            paintOptionButton(painter, control, box);
        const double labelLeft = markBox(box).right() + kMarkGap;
        text.paint(painter, labelOf(control), box.adjusted(labelLeft - box.left(), 0, 0, 0));
        break;
    }
    case ObjectKind::GroupBox:
        paintGroupBox(painter, control, box, text);
        break;
    case ObjectKind::Label:
        text.paint(painter, labelOf(control), box);
        break;
    case ObjectKind::Button: {
        painter.setPen(QPen(kFrame, 0.75));
        painter.setBrush(kButtonFace);
        painter.drawRect(box);
        xls::ObjectText label = labelOf(control);
        label.hAlign = xls::TextHAlign::Center;
        label.vAlign = xls::TextVAlign::Middle;
        text.paint(painter, label, box);
        break;
    }
    case ObjectKind::ListBox:
    case ObjectKind::ComboBox:
        paintField(painter, control, box, text);
        break;
    default:
        break;
    }
    painter.restore();
}

} // namespace report
