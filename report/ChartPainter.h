#pragma once

#include "xls/Chart.h"

#include <QRectF>

class QPainter;

namespace xls {
class Workbook;
}

namespace report {

class CellFonts;
class ChartFonts;
class ChartLayout;
class ChartStyle;
class PrintOptions;

// Paints a whole chart into a box on the page: the chart area's fill and border, the title,
// the legend, and the plot area with its groups: pies and doughnuts, radars, or the axes
// with the bar, line, area and scatter groups on them (a secondary axis for the groups that
// ask for one). The chart is laid out at the box's size; its texts and lines scale from the
// size the chart was made at. Three-dimensional groups are drawn flat; surface groups are
// not drawn.
class ChartPainter {
public:
    ChartPainter(const xls::Workbook& workbook, const CellFonts& fonts,
                 const PrintOptions& options);

    void paint(QPainter& painter, const xls::Chart& chart, const QRectF& box) const;

private:
    void paintFrame(QPainter& painter, const ChartStyle& style, const xls::ChartFrame& frame,
                    const QRectF& box, bool filledByDefault) const;
    void paintTitle(QPainter& painter, const xls::Chart& chart, const ChartLayout& layout,
                    const ChartFonts& fonts, const ChartStyle& style) const;
    void paintLegend(QPainter& painter, const xls::Chart& chart, const ChartLayout& layout,
                     const ChartFonts& fonts, const ChartStyle& style) const;
    void paintPlot(QPainter& painter, const xls::Chart& chart, const ChartLayout& layout,
                   const ChartFonts& fonts, const ChartStyle& style) const;

    const xls::Workbook& m_workbook;
    const CellFonts& m_fonts;
    const PrintOptions& m_options;
};

} // namespace report
