#pragma once

#include "xls/Chart.h"

#include <QFont>
#include <QRectF>

class QPainter;

namespace report {

class ChartGroupData;
class ChartStyle;

// Paints a pie or doughnut group in the middle of the plot area: slices clockwise from the
// first slice's angle (twelve o'clock at 0), each its own colour, exploded slices pushed out
// from the centre (the pie shrinking so that they stay in the plot), a doughnut's series as
// rings from the inside out around its hole. A pie shows its first series only. Data labels
// show the value, the percentage and the category name inside their slice.
class ChartPiePainter {
public:
    ChartPiePainter(const xls::Chart& chart, const ChartStyle& style, const QFont& labelFont);

    void paint(QPainter& painter, const ChartGroupData& data, const QRectF& plot) const;

private:
    void paintRing(QPainter& painter, const ChartGroupData& data, int seriesAt,
                   const QPointF& centre, double inner, double outer) const;
    void paintLabel(QPainter& painter, const xls::ChartSeries& series, int point, double share,
                    const QString& category, const QPointF& at) const;

    const xls::Chart& m_chart;
    const ChartStyle& m_style;
    QFont m_labelFont;
};

} // namespace report
