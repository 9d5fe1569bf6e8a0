#include "ChartGroupData.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

std::optional<double> numberOf(const xls::ChartValue& value) {
    if (value.number && std::isfinite(*value.number))
        return value.number;
    return std::nullopt;
}

} // namespace

const xls::PointFormat* pointFormat(const xls::ChartSeries& series, int point) {
    // The reader keeps a series' point formats in point order, one a point.
    const auto found = std::lower_bound(
        series.points.begin(), series.points.end(), point,
        [](const xls::PointFormat& format, int wanted) { return format.point < wanted; });
    return found != series.points.end() && found->point == point ? &*found : nullptr;
}

QString chartValueText(const xls::ChartValue& value) {
    if (!value.text.isEmpty() || !value.number)
        return value.text;
    return QString::number(*value.number, 'g', 15);
}

ChartGroupData::ChartGroupData(const xls::Chart& chart, int group)
    : m_group(chart.groups.at(static_cast<std::size_t>(group)))
    , m_blanks(chart.blanks) {
    const xls::ChartSeries* first = nullptr;
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        const xls::ChartSeries& series = chart.series[i];
        if (series.auxiliary || series.group != group)
            continue;
        if (first == nullptr)
            first = &series;
        m_series.push_back(static_cast<int>(i));
        std::vector<std::optional<double>> values;
        for (const xls::ChartValue& point : series.values.points)
            values.push_back(numberOf(point));
        m_points = std::max(m_points, static_cast<int>(values.size()));
        m_values.push_back(std::move(values));
    }
    for (int point = 0; point < m_points; ++point) {
        const QList<xls::ChartValue>* names = first ? &first->categories.points : nullptr;
        m_categories.append(names && point < names->size() ? chartValueText(names->at(point))
                                                           : QString::number(point + 1));
    }
    if (stacked())
        stack();
}

void ChartGroupData::stack() {
    m_totals.assign(std::size_t(m_points), 0);
    std::vector<double> running(std::size_t(m_points), 0);
    for (int s = 0; s < static_cast<int>(m_series.size()); ++s) {
        m_below.push_back(running);
        for (int point = 0; point < m_points; ++point) {
            const double v = value(s, point).value_or(0);
            running[std::size_t(point)] += v;
            m_totals[std::size_t(point)] += std::abs(v);
        }
    }
}

std::optional<double> ChartGroupData::value(int seriesAt, int point) const {
    const auto& values = m_values.at(static_cast<std::size_t>(seriesAt));
    const std::optional<double> found = point < static_cast<int>(values.size())
                                            ? values[static_cast<std::size_t>(point)]
                                            : std::nullopt;
    if (!found && m_blanks == xls::BlankCells::Zero)
        return 0.0;
    return found;
}

std::optional<std::pair<double, double>> ChartGroupData::span(int seriesAt, int point) const {
    const std::optional<double> own = value(seriesAt, point);
    if (!own)
        return std::nullopt;
    if (!stacked())
        return std::make_pair(0.0, *own);
    const double below = m_below[std::size_t(seriesAt)][std::size_t(point)];
    if (m_group.grouping == xls::ChartGrouping::PercentStacked) {
        const double total = m_totals[std::size_t(point)];
        const double unit = total > 0 ? 1 / total : 0;
        return std::make_pair(below * unit, (below + *own) * unit);
    }
    return std::make_pair(below, below + *own);
}

std::pair<double, double> ChartGroupData::range() const {
    double low = INFINITY;
    double high = -INFINITY;
    for (int s = 0; s < static_cast<int>(m_series.size()); ++s) {
        for (int point = 0; point < m_points; ++point) {
            if (const auto piece = span(s, point)) {
                low = std::min({low, piece->second, stacked() ? piece->first : piece->second});
                high = std::max({high, piece->second, stacked() ? piece->first : piece->second});
            }
        }
    }
    if (low > high)
        return {0, 1};
    return {low, high};
}

} // namespace report
