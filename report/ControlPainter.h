#pragma once

#include <QRectF>

class QPainter;

namespace xls {
struct SheetObject;
}

namespace report {

class ObjectTextPainter;

// Paints a form control as it looks on the sheet: check boxes and option buttons with their
// state and label, group boxes, labels, buttons, and list and combo boxes showing their value.
void paintControl(QPainter& painter, const xls::SheetObject& control, const QRectF& box,
                  const ObjectTextPainter& text);

} // namespace report
