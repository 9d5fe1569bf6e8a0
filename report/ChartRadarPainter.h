#pragma once

#include "ChartScale.h"

#include "xls/Chart.h"

#include <QFont>
#include <QRectF>

class QPainter;

namespace report {

class ChartGroupData;
class ChartStyle;

// Paints a radar group: a spoke for each category clockwise from twelve o'clock, the value
// scale's major ticks as rings of gridlines with their labels up the first spoke, and each
// series as a closed line through its points (filled for a filled radar), with its markers.
class ChartRadarPainter {
public:
    ChartRadarPainter(const xls::Chart& chart, const ChartStyle& style, const QFont& font);

    void paint(QPainter& painter, const ChartGroupData& data, const QRectF& plot) const;

private:
    void paintWeb(QPainter& painter, const ChartGroupData& data, const ChartScale& scale,
                  const QPointF& centre, double radius) const;

    const xls::Chart& m_chart;
    const ChartStyle& m_style;
    QFont m_font;
};

} // namespace report
