#pragma once

#include "xls/Chart.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace report {

// The series of one chart group, read as the group plots them: their values by point, the
// categories they share (the first series' own, else 1, 2, 3, ...), and for stacked groups
// where each point's piece starts and ends (as a fraction of the point's total when stacked
// to 100 %, which the value axis shows in percent). Blank values plot as gaps, or as zero where the
// chart asks for that.
class ChartGroupData {
public:
    ChartGroupData(const xls::Chart& chart, int group);

    const xls::ChartGroup& group() const { return m_group; }
    // Indices into Chart::series, in plotting order.
    const std::vector<int>& series() const { return m_series; }
    int pointCount() const { return m_points; }
    const QStringList& categories() const { return m_categories; }
    // The value of the series at position `seriesAt` of series(); absent for a gap.
    std::optional<double> value(int seriesAt, int point) const;
    // Where the series' piece of a point starts and ends on the value axis: from zero to its
    // value unless stacked.
    std::optional<std::pair<double, double>> span(int seriesAt, int point) const;
    // The lowest and highest value the group plots, zero included when stacked.
    std::pair<double, double> range() const;

private:
    bool stacked() const { return m_group.grouping != xls::ChartGrouping::Standard; }
    void stack();

    const xls::ChartGroup& m_group;
    xls::BlankCells m_blanks;
    std::vector<int> m_series;
    std::vector<std::vector<std::optional<double>>> m_values;
    // For stacked groups: the start of each series' piece of each point, and each point's
    // total of magnitudes, worked out once.
    std::vector<std::vector<double>> m_below;
    std::vector<double> m_totals;
    int m_points = 0;
    QStringList m_categories;
};

// The format the series gives one of its points, or null.
const xls::PointFormat* pointFormat(const xls::ChartSeries& series, int point);

// A category as a label shows it: a text as it is, a number in its shortest form.
QString chartValueText(const xls::ChartValue& value);

} // namespace report
