#pragma once

#include "xls/Chart.h"

#include <QFont>

class QPainter;

namespace report {

class ChartGroupData;
class ChartStyle;
struct ChartPlot;

// Paints the series of a bar, line, area or scatter group on the plot: bars side by side in
// their category (or stacked), lines through the points with their markers (a smoothed line
// as a cubic curve through them), areas down to the axis or the series below, scatter
// points at their x and y values. Data labels show the point's value above it.
class ChartSeriesPainter {
public:
    ChartSeriesPainter(const xls::Chart& chart, const ChartStyle& style, const ChartPlot& plot,
                       const QFont& labelFont);

    void paint(QPainter& painter, const ChartGroupData& data) const;

private:
    void paintBars(QPainter& painter, const ChartGroupData& data) const;
    void paintLines(QPainter& painter, const ChartGroupData& data) const;
    void paintAreas(QPainter& painter, const ChartGroupData& data) const;
    void paintScatter(QPainter& painter, const ChartGroupData& data) const;
    void paintLabel(QPainter& painter, const xls::ChartSeries& series, int point,
                    const QPointF& at) const;
    // A series drawn as lines through its points (in runs that blank points break), then its
    // markers and data labels; pointAt gives a point's place, or none for a blank.
    template <typename PointAt>
    void paintPointSeries(QPainter& painter, const ChartGroupData& data, int s,
                          const PointAt& pointAt) const;

    const xls::Chart& m_chart;
    const ChartStyle& m_style;
    const ChartPlot& m_plot;
    QFont m_labelFont;
};

} // namespace report
