#include "PageLayers.h"

#include <QPainter>

namespace report {

namespace {

constexpr double kLineWidth = 0.5;

} // namespace

QString columnLetters(int column) {
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

void paintHeadings(QPainter& painter, const LaidOutPage& page, const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, kLineWidth));
    painter.setBrush(Qt::NoBrush);
    const double width = page.headingWidth;
    const double height = page.headingHeight;
    painter.drawRect(QRectF(0, 0, width, height));
    for (const Band& column : page.columns) {
        const QRectF rect(column.offset, 0, column.size, height);
        painter.drawRect(rect);
        painter.drawText(rect, Qt::AlignCenter, columnLetters(column.index));
    }
    for (const Band& row : page.rows) {
        const QRectF rect(0, row.offset, width, row.size);
        painter.drawRect(rect);
        painter.drawText(rect, Qt::AlignCenter, QString::number(row.index + 1));
    }
    painter.restore();
}

} // namespace report
