#include "ChartSeriesPainter.h"

#include "ChartGroupData.h"
#include "ChartPlot.h"
#include "ChartSeriesLook.h"
#include "ChartStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <tuple>

namespace report {

namespace {

constexpr double kPercent = 100;

// A curve through the points, each stretch a cubic whose tangents follow its neighbours.
QPainterPath smoothed(const QPolygonF& points) {
    QPainterPath path(points.front());
    for (qsizetype i = 1; i < points.size(); ++i) {
        const QPointF before = points[std::max<qsizetype>(i - 2, 0)];
        const QPointF after = points[std::min(i + 1, points.size() - 1)];
        path.cubicTo(points[i - 1] + (points[i] - before) / 6,
                     points[i] - (after - points[i - 1]) / 6, points[i]);
    }
    return path;
}

// Runs of points without gaps.
template <typename PointAt> std::vector<QPolygonF> runs(int count, const PointAt& pointAt) {
    std::vector<QPolygonF> result(1);
    for (int point = 0; point < count; ++point) {
        if (const std::optional<QPointF> at = pointAt(point))
            result.back().append(*at);
        else if (!result.back().isEmpty())
            result.emplace_back();
    }
    return result;
}

} // namespace

ChartSeriesPainter::ChartSeriesPainter(const xls::Chart& chart, const ChartStyle& style,
                                       const ChartPlot& plot, const QFont& labelFont)
    : m_chart(chart)
    , m_style(style)
    , m_plot(plot)
    , m_labelFont(labelFont) {}

void ChartSeriesPainter::paint(QPainter& painter, const ChartGroupData& data) const {
    switch (data.group().type) {
    case xls::ChartType::Bar:
        paintBars(painter, data);
        break;
    case xls::ChartType::Line:
        paintLines(painter, data);
        break;
    case xls::ChartType::Area:
        paintAreas(painter, data);
        break;
    case xls::ChartType::Scatter:
        paintScatter(painter, data);
        break;
    default:
        break;
    }
}

// A category's bars share its slot with the gap: n bars overlapping by `overlap` percent of
// a bar take n - (n - 1) × overlap / 100 bar widths, the gap `gap` percent of one more.
void ChartSeriesPainter::paintBars(QPainter& painter, const ChartGroupData& data) const {
    const xls::ChartGroup& group = data.group();
    const bool stacked = group.grouping != xls::ChartGrouping::Standard;
    const int n = static_cast<int>(data.series().size());
    const double overlap = stacked ? 1 : std::clamp(group.overlap, -100, 100) / kPercent;
    const double across = n - (n - 1) * overlap;
    const double width = m_plot.slot() / (across + std::clamp(group.gap, 0, 500) / kPercent);
    const ChartScale& scale = m_plot.scale(group.secondaryAxis);
    const double length = m_plot.valueLength();
    // Labels go on after every bar, so that no bar covers one.
    std::vector<std::tuple<int, int, QPointF>> labels;
    for (int s = 0; s < n; ++s) {
        const int series = data.series()[std::size_t(s)];
        const bool byPoint = group.varyColors && n == 1;
        for (int point = 0; point < data.pointCount(); ++point) {
            const auto span = data.span(s, point);
            if (!span)
                continue;
            const double start = m_plot.categoryAt(point) - across * width / 2 +
                                 (stacked ? 0 : s * width * (1 - overlap));
            const double base = std::clamp(scale.fraction(span->first), 0.0, 1.0) * length;
            const double top = std::clamp(scale.fraction(span->second), 0.0, 1.0) * length;
            const ChartSeriesLook look(m_style, m_chart, series, byPoint ? point : -1);
            painter.setPen(look.edge());
            painter.setBrush(look.fill());
            painter.drawRect(
                QRectF(m_plot.point(start, base), m_plot.point(start + width, top)).normalized());
            // A stacked piece shows its label in its middle, a bar beyond its end.
            labels.emplace_back(series, point,
                                stacked ? m_plot.point(start + width / 2, (base + top) / 2) +
                                              QPointF(0, QFontMetricsF(m_labelFont).height() / 2)
                                        : m_plot.point(start + width / 2, top));
        }
    }
    for (const auto& [series, point, at] : labels)
        paintLabel(painter, m_chart.series[std::size_t(series)], point, at);
}

template <typename PointAt>
void ChartSeriesPainter::paintPointSeries(QPainter& painter, const ChartGroupData& data, int s,
                                          const PointAt& pointAt) const {
    const int series = data.series()[std::size_t(s)];
    const xls::ChartSeries& own = m_chart.series[std::size_t(series)];
    const ChartSeriesLook look(m_style, m_chart, series);
    painter.setPen(look.line());
    painter.setBrush(Qt::NoBrush);
    const bool smooth = own.format.smoothed || data.group().seriesFormat.smoothed;
    for (const QPolygonF& run : runs(data.pointCount(), pointAt)) {
        if (run.size() > 1 && smooth)
            painter.drawPath(smoothed(run));
        else if (run.size() > 1)
            painter.drawPolyline(run);
    }
    for (int point = 0; point < data.pointCount(); ++point) {
        if (const auto at = pointAt(point)) {
            look.paintMarker(painter, *at);
            paintLabel(painter, own, point, *at);
        }
    }
}

void ChartSeriesPainter::paintLines(QPainter& painter, const ChartGroupData& data) const {
    const bool secondary = data.group().secondaryAxis;
    for (int s = 0; s < static_cast<int>(data.series().size()); ++s) {
        paintPointSeries(painter, data, s, [&](int point) -> std::optional<QPointF> {
            if (const auto span = data.span(s, point))
                return m_plot.at(point, span->second, secondary);
            return std::nullopt;
        });
    }
}

// Areas are drawn from the last series down, so that a stacked series' area lies above the
// ones it stands on and an unstacked one behind those drawn after it.
void ChartSeriesPainter::paintAreas(QPainter& painter, const ChartGroupData& data) const {
    const bool secondary = data.group().secondaryAxis;
    const ChartScale& scale = m_plot.scale(secondary);
    const double floor = std::clamp(scale.logarithmic() ? 0.0 : scale.fraction(0.0), 0.0, 1.0);
    for (int s = static_cast<int>(data.series().size()) - 1; s >= 0; --s) {
        const int series = data.series()[std::size_t(s)];
        QPolygonF tops;
        QPolygonF bases;
        for (int point = 0; point < data.pointCount(); ++point) {
            const auto span = data.span(s, point).value_or(std::make_pair(0.0, 0.0));
            tops.append(m_plot.at(point, span.second, secondary));
            bases.prepend(data.group().grouping == xls::ChartGrouping::Standard
                              ? m_plot.point(m_plot.categoryAt(point), floor * m_plot.valueLength())
                              : m_plot.at(point, span.first, secondary));
        }
        const ChartSeriesLook look(m_style, m_chart, series);
        painter.setPen(look.edge());
        painter.setBrush(look.fill());
        painter.drawPolygon(tops + bases);
    }
}

void ChartSeriesPainter::paintScatter(QPainter& painter, const ChartGroupData& data) const {
    const bool secondary = data.group().secondaryAxis;
    for (int s = 0; s < static_cast<int>(data.series().size()); ++s) {
        const xls::ChartSeries& own = m_chart.series[std::size_t(data.series()[std::size_t(s)])];
        paintPointSeries(painter, data, s, [&](int point) -> std::optional<QPointF> {
            const auto y = data.value(s, point);
            if (!y)
                return std::nullopt;
            const QList<xls::ChartValue>& xs = own.categories.points;
            const double x = point < xs.size() && xs[point].number ? *xs[point].number : point + 1;
            return m_plot.atXY(x, *y, secondary);
        });
    }
}

void ChartSeriesPainter::paintLabel(QPainter& painter, const xls::ChartSeries& series, int point,
                                    const QPointF& at) const {
    const xls::PointFormat* own = pointFormat(series, point);
    const xls::DataLabels labels = own && own->labels.any() ? own->labels : series.labels;
    if (!labels.value || point >= series.values.points.size())
        return;
    const QString text = chartValueText(series.values.points[point]);
    const QFontMetricsF metrics(m_labelFont);
    QRectF box(0, 0, metrics.horizontalAdvance(text), metrics.height());
    box.moveCenter(at - QPointF(0, metrics.height() / 2 + m_style.scale()));
    painter.setFont(m_labelFont);
    painter.setPen(m_style.ink(Qt::black));
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace report
