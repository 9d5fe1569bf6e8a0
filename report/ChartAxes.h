#pragma once

#include "ChartPlot.h"

#include "xls/Chart.h"
#include "xls/format/NumberFormat.h"

#include <QFont>
#include <QStringList>

class QPainter;

namespace xls {
class Workbook;
}

namespace report {

class ChartFonts;
class ChartStyle;

// The axes of a chart's bar, line, area and scatter groups: their scales fitted to the
// values of the groups on each axis group, the room their labels take from the plot area,
// and their painting: gridlines, axis lines with tick marks, and tick labels. Value labels
// show in the axis' number format (else the values' own, or percent for groups stacked to
// 100 %). The category axis crosses at zero (else at the scale's start, which a reversed
// scale puts at the far end); its labels stand outside it and skip to every second, third,
// ... one when they do not fit side by side.
class ChartAxes {
public:
    ChartAxes(const xls::Workbook& workbook, const xls::Chart& chart, const QRectF& plotArea,
              const ChartFonts& fonts, const ChartStyle& style);

    const ChartPlot& plot() const { return m_plot; }
    void paintGridlines(QPainter& painter) const;
    void paintAxes(QPainter& painter) const;

private:
    struct Axis {
        const xls::ChartAxis* category = nullptr;
        const xls::ChartAxis* value = nullptr;
        QStringList labels; // of the value axis' ticks
        QFont font;
    };
    void fitScales(const xls::Chart& chart);
    void readAxis(const xls::Chart& chart, bool secondary, Axis& axis) const;
    void placeInner(const QRectF& plotArea);
    int labelStep() const;
    bool labelsFar() const;
    void paintValueLabels(QPainter& painter, const Axis& axis, bool secondary) const;
    void paintCategoryLabels(QPainter& painter) const;
    void paintValueTicks(QPainter& painter, const Axis& axis, bool secondary) const;
    QString numberText(double value, int formatIndex) const;

    const xls::Workbook& m_workbook;
    const ChartFonts& m_fonts;
    const ChartStyle& m_style;
    xls::DateSystem m_dates;
    ChartPlot m_plot;
    Axis m_primary;
    Axis m_secondary;
    QStringList m_categories;
    QFont m_categoryFont;
    int m_valueFormat = -1; // the first series' own
    bool m_percent = false; // the primary axis shows pieces stacked to 100 %
    double m_crossing = 0;  // where the category axis crosses the value axis, 0 to 1
    bool m_scatter = false;
};

} // namespace report
