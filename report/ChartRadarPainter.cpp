#include "ChartRadarPainter.h"

#include "ChartGroupData.h"
#include "ChartSeriesLook.h"
#include "ChartStyle.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace report {

namespace {

// The web leaves room for the category labels around it: this share of the plot's radius.
constexpr double kWebShare = 0.8;
const QColor kWeb(0x80, 0x80, 0x80);

QPointF spoke(const QPointF& centre, double radius, int category, int count) {
    const double radians = std::numbers::pi / 2 - 2 * std::numbers::pi * category / count;
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

} // namespace

ChartRadarPainter::ChartRadarPainter(const xls::Chart& chart, const ChartStyle& style,
                                     const QFont& font)
    : m_chart(chart)
    , m_style(style)
    , m_font(font) {}

void ChartRadarPainter::paint(QPainter& painter, const ChartGroupData& data,
                              const QRectF& plot) const {
    const int count = data.pointCount();
    if (count == 0 || data.series().empty())
        return;
    const xls::AxisGroup* axes = m_chart.axisGroup(false);
    const xls::ChartAxis* valueAxis = axes ? axes->axis(xls::AxisKind::Value) : nullptr;
    const auto [low, high] = data.range();
    const ChartScale scale(valueAxis ? valueAxis->valueScale : xls::ValueScale{}, low, high, true);
    const QPointF centre = plot.center();
    const double radius = std::min(plot.width(), plot.height()) / 2 * kWebShare;
    paintWeb(painter, data, scale, centre, radius);
    const bool filled = data.group().type == xls::ChartType::FilledRadar;
    for (int s = 0; s < static_cast<int>(data.series().size()); ++s) {
        const ChartSeriesLook look(m_style, m_chart, data.series()[std::size_t(s)]);
        QPolygonF points;
        for (int point = 0; point < count; ++point) {
            const double value = data.span(s, point).value_or(std::make_pair(0.0, 0.0)).second;
            const double at = std::clamp(scale.fraction(value), 0.0, 1.0) * radius;
            points.append(spoke(centre, at, point, count));
        }
        painter.setPen(filled ? look.edge() : look.line());
        painter.setBrush(filled ? look.fill() : QBrush());
        painter.drawPolygon(points);
        if (!filled) {
            for (const QPointF& at : points)
                look.paintMarker(painter, at);
        }
    }
}

void ChartRadarPainter::paintWeb(QPainter& painter, const ChartGroupData& data,
                                 const ChartScale& scale, const QPointF& centre,
                                 double radius) const {
    const int count = data.pointCount();
    painter.setPen(m_style.pen(std::nullopt, kWeb));
    painter.setBrush(Qt::NoBrush);
    for (int point = 0; point < count; ++point)
        painter.drawLine(centre, spoke(centre, radius, point, count));
    for (const double tick : scale.ticks()) {
        QPolygonF ring;
        for (int point = 0; point < count; ++point)
            ring.append(spoke(centre, scale.fraction(tick) * radius, point, count));
        painter.drawPolygon(ring);
    }
    painter.setFont(m_font);
    painter.setPen(m_style.ink(Qt::black));
    const QFontMetricsF metrics(m_font);
    for (int point = 0; point < count; ++point) {
        const QString& text = data.categories().at(point);
        QRectF box(0, 0, metrics.horizontalAdvance(text), metrics.height());
        const QPointF at = spoke(centre, radius, point, count);
        const QPointF outward = at - centre;
        const double length = std::hypot(outward.x(), outward.y());
        const QPointF push = length > 0 ? outward / length : QPointF();
        box.moveCenter(at + QPointF(push.x() * (box.width() / 2 + 3 * m_style.scale()),
                                    push.y() * (box.height() / 2 + 2 * m_style.scale())));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

} // namespace report
