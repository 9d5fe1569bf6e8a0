#include "ChartPiePainter.h"

#include "ChartGroupData.h"
#include "ChartSeriesLook.h"
#include "ChartStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace report {

namespace {

constexpr double kPercent = 100;
constexpr double kFullTurn = 360;
constexpr double kTwelveOClock = 90; // in the painter's degrees, counter-clockwise from three
constexpr double kLabelRadius = 0.65;

int explosionOf(const xls::ChartSeries& series, const xls::ChartGroup& group, int point) {
    if (const xls::PointFormat* own = pointFormat(series, point); own && own->format.explosion > 0)
        return own->format.explosion;
    return std::max(series.format.explosion, group.seriesFormat.explosion);
}

int largestExplosion(const xls::Chart& chart, const ChartGroupData& data) {
    int largest = 0;
    const xls::ChartSeries& series = chart.series[std::size_t(data.series().back())];
    for (int point = 0; point < data.pointCount(); ++point)
        largest = std::max(largest, explosionOf(series, data.group(), point));
    return std::clamp(largest, 0, 400);
}

QPointF onCircle(const QPointF& centre, double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / (kFullTurn / 2);
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

} // namespace

ChartPiePainter::ChartPiePainter(const xls::Chart& chart, const ChartStyle& style,
                                 const QFont& labelFont)
    : m_chart(chart)
    , m_style(style)
    , m_labelFont(labelFont) {}

void ChartPiePainter::paint(QPainter& painter, const ChartGroupData& data,
                            const QRectF& plot) const {
    if (data.series().empty())
        return;
    const double hole = std::clamp(data.group().holeSize, 0, 90) / kPercent;
    const double outer = std::min(plot.width(), plot.height()) / 2 /
                         (1 + largestExplosion(m_chart, data) / kPercent);
    const int rings = hole > 0 ? static_cast<int>(data.series().size()) : 1;
    const double width = outer * (1 - hole) / rings;
    for (int ring = 0; ring < rings; ++ring) {
        const double inner = outer * hole + ring * width;
        paintRing(painter, data, ring, plot.center(), inner, inner + width);
    }
}

void ChartPiePainter::paintRing(QPainter& painter, const ChartGroupData& data, int seriesAt,
                                const QPointF& centre, double inner, double outer) const {
    const int series = data.series()[std::size_t(seriesAt)];
    const xls::ChartSeries& own = m_chart.series[std::size_t(series)];
    double total = 0;
    for (int point = 0; point < data.pointCount(); ++point)
        total += std::abs(data.value(seriesAt, point).value_or(0));
    if (!(total > 0))
        return;
    double angle = kTwelveOClock - data.group().firstSliceAngle;
    for (int point = 0; point < data.pointCount(); ++point) {
        const double share = std::abs(data.value(seriesAt, point).value_or(0)) / total;
        const double sweep = -share * kFullTurn;
        const double middle = angle + sweep / 2;
        const QPointF at =
            onCircle(centre, explosionOf(own, data.group(), point) / kPercent * outer, middle);
        QPainterPath slice;
        slice.arcMoveTo(QRectF(at.x() - outer, at.y() - outer, 2 * outer, 2 * outer), angle);
        slice.arcTo(QRectF(at.x() - outer, at.y() - outer, 2 * outer, 2 * outer), angle, sweep);
        if (inner > 0)
            slice.arcTo(QRectF(at.x() - inner, at.y() - inner, 2 * inner, 2 * inner), angle + sweep,
                        -sweep);
        else
            slice.lineTo(at);
        slice.closeSubpath();
        const ChartSeriesLook look(m_style, m_chart, series, point);
        painter.setPen(look.edge());
        painter.setBrush(look.fill());
        if (share > 0)
            painter.drawPath(slice);
        paintLabel(painter, own, point, share, data.categories().at(point),
                   onCircle(at, inner + (outer - inner) * kLabelRadius, middle));
        angle += sweep;
    }
}

void ChartPiePainter::paintLabel(QPainter& painter, const xls::ChartSeries& series, int point,
                                 double share, const QString& category, const QPointF& at) const {
    const xls::PointFormat* own = pointFormat(series, point);
    const xls::DataLabels labels = own && own->labels.any() ? own->labels : series.labels;
    QStringList parts;
    if (labels.category)
        parts.append(category);
    if (labels.value && point < series.values.points.size())
        parts.append(chartValueText(series.values.points[point]));
    if (labels.percent)
        parts.append(QStringLiteral("%1%").arg(std::lround(share * kPercent)));
    if (parts.isEmpty())
        return;
    const QString text = parts.join(QLatin1Char(' '));
    const QFontMetricsF metrics(m_labelFont);
    QRectF box(0, 0, metrics.horizontalAdvance(text), metrics.height());
    box.moveCenter(at);
    painter.setFont(m_labelFont);
    painter.setPen(m_style.ink(Qt::black));
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace report
