#pragma once

#include "xls/Chart.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

namespace report {

class ChartFonts;

// One entry of a chart's legend: the series (or, for a chart whose points vary in colour,
// the point) it names, and where its key and text stand.
struct LegendEntry {
    QString text;
    int series = 0; // index into Chart::series
    int point = -1; // the point, for charts that vary colours by point
    QRectF key;
    QRectF label;
};

// Where the parts of a chart stand in its box, as the spreadsheet places them by default:
// the title centred at the top, the legend on its side (right unless the chart says
// otherwise) centred there, and the plot area in the rest, inset by a margin. The plot area
// still holds the axes' labels; the axes take their room from it.
class ChartLayout {
public:
    ChartLayout(const xls::Chart& chart, const QRectF& box, const ChartFonts& fonts, double scale);

    const QRectF& box() const { return m_box; }
    QString title() const { return m_title; }
    const QRectF& titleRect() const { return m_titleRect; }
    const QFont& titleFont() const { return m_titleFont; }
    const QRectF& legendRect() const { return m_legendRect; }
    const QFont& legendFont() const { return m_legendFont; }
    const std::vector<LegendEntry>& legend() const { return m_entries; }
    const QRectF& plot() const { return m_plot; }

private:
    void placeTitle(const xls::Chart& chart, const ChartFonts& fonts);
    void listEntries(const xls::Chart& chart);
    void placeLegend(const xls::Chart& chart);

    QRectF m_box;
    double m_margin;
    QRectF m_free; // what the title and legend leave
    QString m_title;
    QRectF m_titleRect;
    QFont m_titleFont;
    QFont m_legendFont;
    QRectF m_legendRect;
    std::vector<LegendEntry> m_entries;
    QRectF m_plot;
};

// Whether the chart's first group varies its colours by point (a pie, or a chart that asks
// for it with one series): its legend then names the points.
bool variesByPoint(const xls::Chart& chart);

} // namespace report
