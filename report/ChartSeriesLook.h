#pragma once

#include "xls/Chart.h"

#include <QBrush>
#include <QPen>

class QPainter;

namespace report {

class ChartStyle;

// How one series (or one of its points) looks: what its own format says, else what its
// group gives all its series, else the automatic look of its place in the series order.
// Automatic markers take shapes in series order as the spreadsheet cycles them.
class ChartSeriesLook {
public:
    ChartSeriesLook(const ChartStyle& style, const xls::Chart& chart, int series, int point = -1);

    QBrush fill() const;
    QPen line() const;
    // The pen of the edges of bars, slices and areas.
    QPen edge() const;
    xls::MarkerShape markerShape() const;
    void paintMarker(QPainter& painter, const QPointF& at) const;

private:
    template <typename Part>
    std::optional<Part> part(std::optional<Part> xls::ChartFormat::*member) const;

    const ChartStyle& m_style;
    const xls::ChartFormat* m_point = nullptr;
    const xls::ChartFormat& m_series;
    const xls::ChartFormat* m_group = nullptr;
    int m_order; // the colour's place: the series, or the point for charts varying by point
    bool m_markersByDefault = false;
};

} // namespace report
