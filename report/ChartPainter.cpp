#include "ChartPainter.h"

#include "ChartAxes.h"
#include "ChartFonts.h"
#include "ChartGroupData.h"
#include "ChartLayout.h"
#include "ChartPiePainter.h"
#include "ChartRadarPainter.h"
#include "ChartSeriesLook.h"
#include "ChartSeriesPainter.h"
#include "ChartStyle.h"

#include <QPainter>

#include <algorithm>

namespace report {

namespace {

bool isPie(xls::ChartType type) {
    return type == xls::ChartType::Pie || type == xls::ChartType::PieOfPie;
}

bool isRadar(xls::ChartType type) {
    return type == xls::ChartType::Radar || type == xls::ChartType::FilledRadar;
}

// Lines and markers show as a line in the legend's key; everything else as a filled box.
bool keyIsLine(const xls::Chart& chart, int series) {
    const int group = chart.series[std::size_t(series)].group;
    if (group < 0 || group >= static_cast<int>(chart.groups.size()))
        return false;
    const xls::ChartType type = chart.groups[std::size_t(group)].type;
    return type == xls::ChartType::Line || type == xls::ChartType::Scatter ||
           type == xls::ChartType::Radar;
}

// A chart's texts and lines scale by how much its box differs from the size it was made at.
double scaleOf(const xls::Chart& chart, const QRectF& box) {
    if (!(chart.widthPoints > 0) || !(chart.heightPoints > 0))
        return 1;
    return std::min(box.width() / chart.widthPoints, box.height() / chart.heightPoints);
}

} // namespace

ChartPainter::ChartPainter(const xls::Workbook& workbook, const CellFonts& fonts,
                           const PrintOptions& options)
    : m_workbook(workbook)
    , m_fonts(fonts)
    , m_options(options) {}

void ChartPainter::paint(QPainter& painter, const xls::Chart& chart, const QRectF& box) const {
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const double scale = scaleOf(chart, box);
    const ChartStyle style(m_options, scale);
    const ChartFonts fonts(m_workbook, m_fonts, chart.defaultFontIndex, scale);
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    paintFrame(painter, style, chart.chartArea, box, true);
    const ChartLayout layout(chart, box, fonts, scale);
    paintTitle(painter, chart, layout, fonts, style);
    paintLegend(painter, chart, layout, fonts, style);
    paintPlot(painter, chart, layout, fonts, style);
    painter.restore();
}

void ChartPainter::paintFrame(QPainter& painter, const ChartStyle& style,
                              const xls::ChartFrame& frame, const QRectF& box,
                              bool filledByDefault) const {
    const QBrush fill =
        frame.fill || filledByDefault ? style.brush(frame.fill, Qt::white) : QBrush(Qt::NoBrush);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRect(box);
    painter.setPen(frame.border || filledByDefault ? style.pen(frame.border, Qt::black)
                                                   : QPen(Qt::NoPen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
}

void ChartPainter::paintTitle(QPainter& painter, const xls::Chart& chart, const ChartLayout& layout,
                              const ChartFonts& fonts, const ChartStyle& style) const {
    if (layout.title().isEmpty())
        return;
    const xls::ChartText& title = *chart.title;
    painter.setFont(layout.titleFont());
    painter.setPen(
        style.ink(title.automaticColor ? fonts.color(title.fontIndex) : style.color(title.color)));
    painter.drawText(layout.titleRect(), Qt::AlignHCenter | Qt::AlignTop, layout.title());
}

void ChartPainter::paintLegend(QPainter& painter, const xls::Chart& chart,
                               const ChartLayout& layout, const ChartFonts& fonts,
                               const ChartStyle& style) const {
    if (layout.legend().empty())
        return;
    paintFrame(painter, style, chart.legend->frame, layout.legendRect(), true);
    painter.setFont(layout.legendFont());
    for (const LegendEntry& entry : layout.legend()) {
        const ChartSeriesLook look(style, chart, entry.series, entry.point);
        if (entry.point < 0 && keyIsLine(chart, entry.series)) {
            painter.setPen(look.line());
            const double y = entry.key.center().y();
            painter.drawLine(QPointF(entry.key.left() - entry.key.width() / 2, y),
                             QPointF(entry.key.right() + entry.key.width() / 2, y));
            look.paintMarker(painter, entry.key.center());
        } else {
            painter.setPen(look.edge());
            painter.setBrush(look.fill());
            painter.drawRect(entry.key);
        }
        painter.setPen(style.ink(fonts.color(chart.legend->fontIndex)));
        painter.drawText(entry.label, Qt::AlignLeft | Qt::AlignVCenter, entry.text);
    }
}

void ChartPainter::paintPlot(QPainter& painter, const xls::Chart& chart, const ChartLayout& layout,
                             const ChartFonts& fonts, const ChartStyle& style) const {
    if (chart.groups.empty())
        return;
    const QFont labelFont = fonts.font(-1);
    const xls::ChartType first = chart.groups.front().type;
    if (isPie(first)) {
        ChartPiePainter(chart, style, labelFont)
            .paint(painter, ChartGroupData(chart, 0), layout.plot());
        return;
    }
    if (isRadar(first)) {
        ChartRadarPainter(chart, style, labelFont)
            .paint(painter, ChartGroupData(chart, 0), layout.plot());
        return;
    }
    const ChartAxes axes(m_workbook, chart, layout.plot(), fonts, style);
    paintFrame(painter, style, chart.plotArea, axes.plot().inner, false);
    axes.paintGridlines(painter);
    // The series lie over the axes: a marker on the value axis shows whole.
    axes.paintAxes(painter);
    const ChartSeriesPainter series(chart, style, axes.plot(), labelFont);
    for (int group = 0; group < static_cast<int>(chart.groups.size()); ++group)
        series.paint(painter, ChartGroupData(chart, group));
}

} // namespace report
