#include "ChartSeriesLook.h"

#include "ChartGroupData.h"
#include "ChartStyle.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace report {

namespace {

constexpr double kTwipsPerPoint = 20;
// The marker shapes automatic markers cycle through.
constexpr std::array kAutomaticShapes{xls::MarkerShape::Diamond,  xls::MarkerShape::Square,
                                      xls::MarkerShape::Triangle, xls::MarkerShape::Cross,
                                      xls::MarkerShape::Star,     xls::MarkerShape::Circle,
                                      xls::MarkerShape::Plus};

QPainterPath markerPath(xls::MarkerShape shape, const QPointF& at, double r) {
    QPainterPath path;
    switch (shape) {
    case xls::MarkerShape::Square:
        path.addRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
        break;
    case xls::MarkerShape::Diamond:
        path.addPolygon(QPolygonF({at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r),
                                   at + QPointF(-r, 0), at + QPointF(0, -r)}));
        break;
    case xls::MarkerShape::Triangle:
        path.addPolygon(QPolygonF(
            {at + QPointF(0, -r), at + QPointF(r, r), at + QPointF(-r, r), at + QPointF(0, -r)}));
        break;
    case xls::MarkerShape::Circle:
        path.addEllipse(at, r, r);
        break;
    case xls::MarkerShape::Plus:
    case xls::MarkerShape::Cross:
    case xls::MarkerShape::Star:
    case xls::MarkerShape::DowJones:
    case xls::MarkerShape::StdDev: {
        const bool straight = shape == xls::MarkerShape::Plus || shape == xls::MarkerShape::Star;
        const bool diagonal = shape != xls::MarkerShape::Plus;
        if (straight) {
            path.moveTo(at - QPointF(r, 0));
            path.lineTo(at + QPointF(r, 0));
            path.moveTo(at - QPointF(0, r));
            path.lineTo(at + QPointF(0, r));
        }
        if (diagonal) {
            path.moveTo(at - QPointF(r, r));
            path.lineTo(at + QPointF(r, r));
            path.moveTo(at + QPointF(-r, r));
            path.lineTo(at + QPointF(r, -r));
        }
        break;
    }
    case xls::MarkerShape::None:
        break;
    }
    return path;
}

} // namespace

ChartSeriesLook::ChartSeriesLook(const ChartStyle& style, const xls::Chart& chart, int series,
                                 int point)
    : m_style(style)
    , m_series(chart.series.at(std::size_t(series)).format)
    , m_order(point >= 0 ? point : series) {
    const xls::ChartSeries& own = chart.series[std::size_t(series)];
    if (own.group >= 0 && own.group < static_cast<int>(chart.groups.size())) {
        const xls::ChartGroup& group = chart.groups[std::size_t(own.group)];
        m_group = &group.seriesFormat;
        m_markersByDefault = group.type == xls::ChartType::Line ||
                             group.type == xls::ChartType::Scatter ||
                             group.type == xls::ChartType::Radar;
    }
    if (const xls::PointFormat* format = point >= 0 ? pointFormat(own, point) : nullptr)
        m_point = &format->format;
}

template <typename Part>
std::optional<Part> ChartSeriesLook::part(std::optional<Part> xls::ChartFormat::*member) const {
    if (m_point && (m_point->*member))
        return m_point->*member;
    if (m_series.*member)
        return m_series.*member;
    if (m_group)
        return m_group->*member;
    return std::nullopt;
}

QBrush ChartSeriesLook::fill() const {
    return m_style.brush(part(&xls::ChartFormat::fill), m_style.automaticFill(m_order));
}

QPen ChartSeriesLook::line() const {
    QPen pen = m_style.pen(part(&xls::ChartFormat::line), m_style.automaticLine(m_order));
    // An automatic series line is drawn two points wide, as the spreadsheet draws it.
    const auto given = part(&xls::ChartFormat::line);
    if (!given || given->automatic)
        pen.setWidthF(2 * m_style.scale());
    return pen;
}

QPen ChartSeriesLook::edge() const {
    return m_style.pen(part(&xls::ChartFormat::line), Qt::black);
}

xls::MarkerShape ChartSeriesLook::markerShape() const {
    const auto marker = part(&xls::ChartFormat::marker);
    if (marker && !marker->automatic)
        return marker->shape;
    if (!marker && !m_markersByDefault)
        return xls::MarkerShape::None;
    return kAutomaticShapes[std::size_t(m_order) % kAutomaticShapes.size()];
}

void ChartSeriesLook::paintMarker(QPainter& painter, const QPointF& at) const {
    const xls::MarkerShape shape = markerShape();
    if (shape == xls::MarkerShape::None)
        return;
    const auto marker = part(&xls::ChartFormat::marker);
    const bool automatic = !marker || marker->automatic;
    const QColor automaticColor = m_style.automaticLine(m_order);
    const QColor border = automatic ? automaticColor : m_style.color(marker->foreground);
    const QColor inside = automatic ? automaticColor : m_style.color(marker->background);
    const double size = (automatic ? 100 : marker->sizeTwips) / kTwipsPerPoint;
    painter.setPen(automatic || marker->bordered ? QPen(m_style.ink(border), 0.75 * m_style.scale())
                                                 : QPen(Qt::NoPen));
    painter.setBrush(automatic || marker->filled ? QBrush(m_style.ink(inside)) : QBrush());
    painter.drawPath(markerPath(shape, at, size * m_style.scale() / 2));
}

} // namespace report
