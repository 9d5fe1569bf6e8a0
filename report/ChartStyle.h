#pragma once

#include "xls/Chart.h"

#include <QBrush>
#include <QColor>
#include <QPen>

namespace report {

class PrintOptions;

// The colours, pens and brushes of a chart's parts as they print. Automatic series colours
// are palette entries in series order: fills from index 24, lines from index 32. The page's
// black-and-white option applies as to drawing objects. Line weights scale with the chart.
class ChartStyle {
public:
    ChartStyle(const PrintOptions& options, double scale);

    double scale() const { return m_scale; }
    QColor color(const xls::ChartColor& color) const;
    // The automatic fill and line colour of the series (or the point, for charts that vary
    // colours by point) at `order`.
    QColor automaticFill(int order) const;
    QColor automaticLine(int order) const;
    // A line as given, or else in `automatic` colour; a null pen when it draws nothing.
    QPen pen(const std::optional<xls::ChartLine>& line, const QColor& automatic) const;
    // A fill as given, or else solid in `automatic` colour.
    QBrush brush(const std::optional<xls::ChartFill>& fill, const QColor& automatic) const;
    QColor ink(const QColor& color) const;

private:
    const PrintOptions& m_options;
    double m_scale;
};

} // namespace report
