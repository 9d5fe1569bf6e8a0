#include "ChartAxes.h"

#include "ChartFonts.h"
#include "ChartGroupData.h"
#include "ChartStyle.h"

#include "xls/Dates.h"
#include "xls/Workbook.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace report {

namespace {

// Room between labels and their axis, and the length of tick marks, in points at the chart's
// own size.
constexpr double kLabelGap = 3;
constexpr double kTickLength = 3;
// Gridlines the spreadsheet draws by default: a light grey.
const QColor kGridline(0x80, 0x80, 0x80);

bool onAxes(xls::ChartType type) {
    return type == xls::ChartType::Bar || type == xls::ChartType::Line ||
           type == xls::ChartType::Area || type == xls::ChartType::Scatter;
}

struct Range {
    double low = INFINITY;
    double high = -INFINITY;
    bool zero = false;
    bool percent = false; // a group stacked to 100 % plots on the axis
    void add(std::pair<double, double> more) {
        low = std::min(low, more.first);
        high = std::max(high, more.second);
    }
};

// The x values of a scatter chart: its series' categories where they are numbers.
Range xRange(const xls::Chart& chart) {
    Range range;
    for (const xls::ChartSeries& series : chart.series) {
        for (const xls::ChartValue& value : series.categories.points) {
            if (value.number && std::isfinite(*value.number))
                range.add({*value.number, *value.number});
        }
    }
    return range;
}

} // namespace

ChartAxes::ChartAxes(const xls::Workbook& workbook, const xls::Chart& chart, const QRectF& plotArea,
                     const ChartFonts& fonts, const ChartStyle& style)
    : m_workbook(workbook)
    , m_fonts(fonts)
    , m_style(style)
    , m_dates(xls::dateSystemOf(workbook)) {
    readAxis(chart, false, m_primary);
    readAxis(chart, true, m_secondary);
    m_categoryFont = fonts.font(m_primary.category ? m_primary.category->fontIndex : -1);
    fitScales(chart);
    placeInner(plotArea);
}

void ChartAxes::readAxis(const xls::Chart& chart, bool secondary, Axis& axis) const {
    if (const xls::AxisGroup* group = chart.axisGroup(secondary)) {
        axis.category = group->axis(xls::AxisKind::Category);
        axis.value = group->axis(xls::AxisKind::Value);
    }
    axis.font = m_fonts.font(axis.value ? axis.value->fontIndex : -1);
}

void ChartAxes::fitScales(const xls::Chart& chart) {
    Range ranges[2];
    for (int g = 0; g < static_cast<int>(chart.groups.size()); ++g) {
        const xls::ChartGroup& group = chart.groups[static_cast<std::size_t>(g)];
        if (!onAxes(group.type))
            continue;
        const ChartGroupData data(chart, g);
        if (data.series().empty())
            continue;
        // The categories of the first primary group label the axis.
        if (m_categories.isEmpty() && !group.secondaryAxis) {
            m_categories = data.categories();
            m_plot.horizontal = group.type == xls::ChartType::Bar && group.horizontal;
            m_scatter = group.type == xls::ChartType::Scatter;
            m_valueFormat = chart.series.at(std::size_t(data.series().front())).values.formatIndex;
        }
        Range& range = ranges[group.secondaryAxis ? 1 : 0];
        range.add(data.range());
        range.zero =
            range.zero || group.type == xls::ChartType::Bar || group.type == xls::ChartType::Area;
        range.percent = range.percent || group.grouping == xls::ChartGrouping::PercentStacked;
        m_plot.count = std::max(m_plot.count, data.pointCount());
    }
    // Pieces stacked to 100 % fill the axis up to 100 % when it has no maximum of its own.
    const auto scaleOf = [&](const Axis& axis, const Range& range) {
        xls::ValueScale given = axis.value ? axis.value->valueScale : xls::ValueScale{};
        if (range.percent && !given.maximum && !given.logarithmic)
            given.maximum = 1;
        return ChartScale(given, range.low, range.high, range.zero);
    };
    m_percent = ranges[0].percent;
    m_plot.primary = scaleOf(m_primary, ranges[0]);
    if (ranges[1].low <= ranges[1].high)
        m_plot.secondary = scaleOf(m_secondary.value ? m_secondary : m_primary, ranges[1]);
    if (m_primary.category) {
        m_plot.between = m_scatter || m_primary.category->categoryScale.between;
        m_plot.categoriesReversed = m_primary.category->categoryScale.reversed;
    }
    if (m_scatter) {
        const Range x = xRange(chart);
        if (x.low <= x.high)
            m_plot.xScale =
                ChartScale(m_primary.category ? m_primary.category->valueScale : xls::ValueScale{},
                           x.low, x.high, false);
    }
    const ChartScale& scale = m_plot.primary;
    m_crossing = std::clamp(scale.fraction(scale.logarithmic() ? scale.minimum() : 0.0), 0.0, 1.0);
    for (const double tick : m_plot.primary.ticks())
        m_primary.labels.append(
            numberText(tick, m_primary.value ? m_primary.value->formatIndex : -1));
    if (m_plot.secondary) {
        for (const double tick : m_plot.secondary->ticks())
            m_secondary.labels.append(
                numberText(tick, m_secondary.value ? m_secondary.value->formatIndex : -1));
    }
}

QString ChartAxes::numberText(double value, int formatIndex) const {
    constexpr int kPercentFormat = 9; // the built-in "0%"
    const int automatic = m_percent ? kPercentFormat : std::max(m_valueFormat, 0);
    const int index = formatIndex >= 0 ? formatIndex : automatic;
    return xls::NumberFormat(m_workbook.numberFormatCode(index)).formatNumber(value, m_dates).text;
}

// The value labels take the width of the widest (or a line, below horizontal bars); the
// category labels a line below (or the widest, beside horizontal bars).
void ChartAxes::placeInner(const QRectF& plotArea) {
    const double scale = m_style.scale();
    const double gap = (kLabelGap + kTickLength) * scale;
    const auto widest = [](const QFont& font, const QStringList& texts) {
        const QFontMetricsF metrics(font);
        double width = 0;
        for (const QString& text : texts)
            width = std::max(width, metrics.horizontalAdvance(text));
        return width;
    };
    const double valueRoom = m_plot.horizontal ? QFontMetricsF(m_primary.font).height()
                                               : widest(m_primary.font, m_primary.labels);
    const QStringList categoryTexts = m_scatter && m_plot.xScale ? QStringList() : m_categories;
    const double categoryRoom = m_plot.horizontal ? widest(m_categoryFont, categoryTexts)
                                                  : QFontMetricsF(m_categoryFont).height();
    // The category labels stand on the far side when the axes cross at the value axis' end.
    const bool far = labelsFar();
    QRectF inner = plotArea;
    if (m_plot.horizontal) {
        if (far)
            inner.setRight(inner.right() - categoryRoom - gap);
        else
            inner.setLeft(inner.left() + categoryRoom + gap);
        inner.setBottom(inner.bottom() - valueRoom - gap);
    } else {
        inner.setLeft(inner.left() + valueRoom + gap);
        if (far)
            inner.setTop(inner.top() + categoryRoom + gap);
        else
            inner.setBottom(inner.bottom() - categoryRoom - gap);
    }
    if (m_plot.secondary)
        inner.setRight(inner.right() - widest(m_secondary.font, m_secondary.labels) - gap);
    m_plot.inner = inner.width() > 0 && inner.height() > 0 ? inner : plotArea;
}

bool ChartAxes::labelsFar() const {
    return m_crossing > 0.5;
}

void ChartAxes::paintGridlines(QPainter& painter) const {
    if (!m_primary.value || !m_primary.value->majorGridlines)
        return;
    painter.setPen(m_style.pen(m_primary.value->majorGridlines, kGridline));
    for (const double tick : m_plot.primary.ticks())
        painter.drawLine(m_plot.point(0, m_plot.primary.fraction(tick) * m_plot.valueLength()),
                         m_plot.point(m_plot.categoryLength(),
                                      m_plot.primary.fraction(tick) * m_plot.valueLength()));
}

void ChartAxes::paintAxes(QPainter& painter) const {
    const QPen automatic = m_style.pen(std::nullopt, Qt::black);
    painter.setPen(m_primary.category ? m_style.pen(m_primary.category->line, Qt::black)
                                      : automatic);
    const double crossing = m_crossing * m_plot.valueLength();
    painter.drawLine(m_plot.point(0, crossing), m_plot.point(m_plot.categoryLength(), crossing));
    painter.setPen(m_primary.value ? m_style.pen(m_primary.value->line, Qt::black) : automatic);
    painter.drawLine(m_plot.point(0, 0), m_plot.point(0, m_plot.valueLength()));
    paintValueTicks(painter, m_primary, false);
    paintValueLabels(painter, m_primary, false);
    if (m_plot.secondary) {
        painter.setPen(automatic);
        painter.drawLine(m_plot.point(m_plot.categoryLength(), 0),
                         m_plot.point(m_plot.categoryLength(), m_plot.valueLength()));
        paintValueLabels(painter, m_secondary, true);
    }
    paintCategoryLabels(painter);
}

void ChartAxes::paintValueTicks(QPainter& painter, const Axis& axis, bool secondary) const {
    if (axis.value && axis.value->majorTicks == xls::TickMark::None)
        return;
    const double length = kTickLength * m_style.scale();
    for (const double tick : m_plot.scale(secondary).ticks()) {
        const double up = m_plot.scale(secondary).fraction(tick) * m_plot.valueLength();
        const QPointF at = m_plot.point(0, up);
        painter.drawLine(at, m_plot.horizontal ? at + QPointF(0, length) : at - QPointF(length, 0));
    }
}

void ChartAxes::paintValueLabels(QPainter& painter, const Axis& axis, bool secondary) const {
    if (axis.value && axis.value->labels == xls::TickLabelPosition::None)
        return;
    painter.setFont(axis.font);
    painter.setPen(m_style.ink(m_fonts.color(axis.value ? axis.value->fontIndex : -1)));
    const QFontMetricsF metrics(axis.font);
    const double gap = (kLabelGap + kTickLength) * m_style.scale();
    const std::vector<double> ticks = m_plot.scale(secondary).ticks();
    for (std::size_t i = 0; i < ticks.size() && i < std::size_t(axis.labels.size()); ++i) {
        const QString& text = axis.labels.at(static_cast<qsizetype>(i));
        const double up = m_plot.scale(secondary).fraction(ticks[i]) * m_plot.valueLength();
        const double width = metrics.horizontalAdvance(text);
        QPointF at = m_plot.point(secondary ? m_plot.categoryLength() : 0, up);
        QRectF box(0, 0, width, metrics.height());
        if (m_plot.horizontal)
            box.moveCenter(at + QPointF(0, gap + metrics.height() / 2));
        else if (secondary)
            box.moveCenter(at + QPointF(gap + width / 2, 0));
        else
            box.moveCenter(at - QPointF(gap + width / 2, 0));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

int ChartAxes::labelStep() const {
    const QFontMetricsF metrics(m_categoryFont);
    const double room = m_plot.horizontal ? metrics.height() : m_plot.slot();
    int step =
        m_primary.category ? std::max(1, m_primary.category->categoryScale.labelInterval) : 1;
    double widest = 0;
    for (const QString& text : m_categories)
        widest = std::max(widest, m_plot.horizontal ? metrics.height()
                                                    : metrics.horizontalAdvance(text) * 1.1);
    while (room > 0 && widest > room * step && step < m_categories.size())
        ++step;
    return step;
}

void ChartAxes::paintCategoryLabels(QPainter& painter) const {
    if (m_primary.category && m_primary.category->labels == xls::TickLabelPosition::None)
        return;
    painter.setFont(m_categoryFont);
    painter.setPen(
        m_style.ink(m_fonts.color(m_primary.category ? m_primary.category->fontIndex : -1)));
    const QFontMetricsF metrics(m_categoryFont);
    const double gap = (kLabelGap + kTickLength) * m_style.scale();
    const bool numbered = m_scatter && m_plot.xScale;
    const std::vector<double> xTicks = numbered ? m_plot.xScale->ticks() : std::vector<double>{};
    const int count =
        numbered ? static_cast<int>(xTicks.size()) : static_cast<int>(m_categories.size());
    const int step = numbered ? 1 : labelStep();
    for (int i = 0; i < count; i += step) {
        const QString text = numbered ? numberText(xTicks[std::size_t(i)], -1) : m_categories[i];
        const double along =
            numbered ? m_plot.xScale->fraction(xTicks[std::size_t(i)]) * m_plot.categoryLength()
                     : m_plot.categoryAt(i);
        const double width = metrics.horizontalAdvance(text);
        QRectF box(0, 0, width, metrics.height());
        const QPointF at = m_plot.point(along, m_crossing * m_plot.valueLength());
        const double outward = labelsFar() ? -1 : 1;
        if (m_plot.horizontal)
            box.moveCenter(at - QPointF(outward * (gap + width / 2), 0));
        else
            box.moveCenter(at + QPointF(0, outward * (gap + metrics.height() / 2)));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

} // namespace report
