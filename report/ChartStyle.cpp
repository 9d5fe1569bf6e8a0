#include "ChartStyle.h"

#include "PrintOptions.h"

namespace report {

namespace {

constexpr int kFirstFill = 24;
constexpr int kFirstLine = 32;
constexpr int kAutomaticColors = 8;
// A fill's second eight automatic colours are the lines' eight.
constexpr int kFillColors = 16;

double widthOf(xls::ChartLineWeight weight) {
    switch (weight) {
    case xls::ChartLineWeight::Hairline:
        return 0.5;
    case xls::ChartLineWeight::Single:
        return 1;
    case xls::ChartLineWeight::Double:
        return 2;
    case xls::ChartLineWeight::Triple:
        return 3;
    }
    return 1;
}

Qt::PenStyle styleOf(xls::ChartDash dash) {
    switch (dash) {
    case xls::ChartDash::Dash:
        return Qt::DashLine;
    case xls::ChartDash::Dot:
        return Qt::DotLine;
    case xls::ChartDash::DashDot:
        return Qt::DashDotLine;
    case xls::ChartDash::DashDotDot:
        return Qt::DashDotDotLine;
    case xls::ChartDash::None:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

} // namespace

ChartStyle::ChartStyle(const PrintOptions& options, double scale)
    : m_options(options)
    , m_scale(scale) {}

QColor ChartStyle::color(const xls::ChartColor& color) const {
    if (color.paletteIndex >= 0)
        return m_options.paletteColor(color.paletteIndex, QColor::fromRgb(color.rgb));
    return QColor::fromRgb(color.rgb);
}

QColor ChartStyle::automaticFill(int order) const {
    return m_options.paletteColor(kFirstFill + order % kFillColors, Qt::gray);
}

QColor ChartStyle::automaticLine(int order) const {
    return m_options.paletteColor(kFirstLine + order % kAutomaticColors, Qt::black);
}

QPen ChartStyle::pen(const std::optional<xls::ChartLine>& line, const QColor& automatic) const {
    if (line && line->dash == xls::ChartDash::None)
        return QPen(Qt::NoPen);
    const QColor shown = line && !line->automatic ? color(line->color) : automatic;
    QPen pen(m_options.ink(shown),
             (line ? widthOf(line->weight) : widthOf(xls::ChartLineWeight::Hairline)) * m_scale);
    if (line)
        pen.setStyle(styleOf(line->dash));
    return pen;
}

QBrush ChartStyle::brush(const std::optional<xls::ChartFill>& fill, const QColor& automatic) const {
    if (fill && !fill->automatic && fill->pattern == 0)
        return Qt::NoBrush;
    const QColor shown = fill && !fill->automatic ? color(fill->foreground) : automatic;
    return m_options.shapeFill(shown);
}

QColor ChartStyle::ink(const QColor& color) const {
    return m_options.ink(color);
}

} // namespace report
