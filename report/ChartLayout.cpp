#include "ChartLayout.h"

#include "ChartFonts.h"
#include "ChartGroupData.h"

#include <QFontMetricsF>

#include <algorithm>

namespace report {

namespace {

// Room around the chart's parts and within the legend, in points at the chart's own size.
constexpr double kMargin = 7;
constexpr double kLegendPadding = 4;
constexpr double kKeySize = 7;
constexpr double kKeyGap = 3;
constexpr double kEntryGap = 4;
// The legend takes at most this share of the chart's width or height.
constexpr double kLegendShare = 0.4;

bool isSide(xls::LegendPosition position) {
    return position == xls::LegendPosition::Right || position == xls::LegendPosition::Left ||
           position == xls::LegendPosition::Corner || position == xls::LegendPosition::Floating;
}

} // namespace

bool variesByPoint(const xls::Chart& chart) {
    if (chart.groups.empty())
        return false;
    const xls::ChartGroup& group = chart.groups.front();
    if (group.type == xls::ChartType::Pie || group.type == xls::ChartType::PieOfPie)
        return true;
    const auto series = std::count_if(chart.series.begin(), chart.series.end(),
                                      [](const xls::ChartSeries& s) { return !s.auxiliary; });
    return group.varyColors && series == 1;
}

ChartLayout::ChartLayout(const xls::Chart& chart, const QRectF& box, const ChartFonts& fonts,
                         double scale)
    : m_box(box)
    , m_margin(kMargin * scale)
    , m_free(box.adjusted(m_margin, m_margin, -m_margin, -m_margin))
    , m_legendFont(fonts.font(chart.legend ? chart.legend->fontIndex : -1)) {
    placeTitle(chart, fonts);
    if (chart.legend) {
        listEntries(chart);
        placeLegend(chart);
    }
    m_plot = m_free;
}

void ChartLayout::placeTitle(const xls::Chart& chart, const ChartFonts& fonts) {
    if (!chart.title || chart.title->deleted)
        return;
    m_title = chart.title->text;
    if (m_title.isEmpty() && chart.title->automaticText && chart.series.size() == 1)
        m_title = chart.series.front().name;
    if (m_title.isEmpty())
        return;
    m_titleFont = fonts.titleFont(chart.title->fontIndex);
    const QFontMetricsF metrics(m_titleFont);
    const double height = metrics.height() * (m_title.count(QLatin1Char('\n')) + 1);
    m_titleRect = QRectF(m_free.left(), m_free.top(), m_free.width(), height);
    m_free.setTop(m_titleRect.bottom() + m_margin);
}

void ChartLayout::listEntries(const xls::Chart& chart) {
    if (chart.groups.empty())
        return;
    if (variesByPoint(chart)) {
        const ChartGroupData data(chart, 0);
        if (data.series().empty())
            return;
        for (int point = 0; point < data.pointCount(); ++point)
            m_entries.push_back(
                {data.categories().at(point), data.series().front(), point, {}, {}});
        return;
    }
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        const xls::ChartSeries& series = chart.series[i];
        if (!series.auxiliary)
            m_entries.push_back(
                {series.name.isEmpty() ? QStringLiteral("Series%1").arg(i + 1) : series.name,
                 static_cast<int>(i),
                 -1,
                 {},
                 {}});
    }
    // The legend follows the series as they stand: stacked pieces and horizontal bars list
    // the last series first.
    const xls::ChartGroup& first = chart.groups.front();
    if (first.grouping != xls::ChartGrouping::Standard ||
        (first.type == xls::ChartType::Bar && first.horizontal))
        std::reverse(m_entries.begin(), m_entries.end());
}

// Entries stand one under another on the sides, side by side at the top and bottom. A legend
// on a side is centred on the chart's middle, as far as the title leaves room.
void ChartLayout::placeLegend(const xls::Chart& chart) {
    if (m_entries.empty())
        return;
    const double scale = m_margin / kMargin;
    const QFontMetricsF metrics(m_legendFont);
    const double lineHeight = std::max(metrics.height(), kKeySize * scale);
    const double key = kKeySize * scale;
    const double padding = kLegendPadding * scale;
    const bool side = isSide(chart.legend->position);
    double width = 0;
    double height = 0;
    for (const LegendEntry& entry : m_entries) {
        const double entryWidth = key + kKeyGap * scale + metrics.horizontalAdvance(entry.text);
        width = side ? std::max(width, entryWidth) : width + entryWidth + kEntryGap * scale;
        height = side ? height + lineHeight : lineHeight;
    }
    if (!side)
        width -= kEntryGap * scale;
    width = std::min(width + 2 * padding, m_box.width() * kLegendShare * (side ? 1 : 2.5));
    height = std::min(height + 2 * padding, m_free.height());
    QRectF legend(0, 0, width, height);
    const double middle =
        std::clamp(m_box.center().y() - height / 2, m_free.top(), m_free.bottom() - height);
    switch (chart.legend->position) {
    case xls::LegendPosition::Left:
        legend.moveTopLeft(QPointF(m_free.left(), middle));
        m_free.setLeft(legend.right() + m_margin);
        break;
    case xls::LegendPosition::Top:
        legend.moveTopLeft(QPointF(m_free.center().x() - width / 2, m_free.top()));
        m_free.setTop(legend.bottom() + m_margin);
        break;
    case xls::LegendPosition::Bottom:
        legend.moveTopLeft(QPointF(m_free.center().x() - width / 2, m_free.bottom() - height));
        m_free.setBottom(legend.top() - m_margin);
        break;
    default:
        legend.moveTopLeft(QPointF(m_free.right() - width, middle));
        m_free.setRight(legend.left() - m_margin);
        break;
    }
    m_legendRect = legend;
    QPointF at = legend.topLeft() + QPointF(padding, padding);
    for (LegendEntry& entry : m_entries) {
        const double textWidth = metrics.horizontalAdvance(entry.text);
        entry.key = QRectF(at.x(), at.y() + (lineHeight - key) / 2, key, key);
        entry.label = QRectF(at.x() + key + kKeyGap * scale, at.y(), textWidth, lineHeight);
        if (side)
            at.ry() += lineHeight;
        else
            at.rx() = entry.label.right() + kEntryGap * scale;
    }
}

} // namespace report
