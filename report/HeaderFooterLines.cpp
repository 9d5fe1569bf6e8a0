#include "HeaderFooterLines.h"

#include "FontMapper.h"
#include "PageLayout.h"
#include "PrintOptions.h"

#include <QFontMetricsF>

#include <algorithm>

namespace report {

namespace {

struct LineSize {
    double width = 0;
    double ascent = 0;
    double descent = 0;
};

QFont runFont(const FontMapper& fonts, const HeaderFooterRun& run) {
    const bool shifted = run.superscript || run.subscript;
    QFont font =
        fonts.font(run.fontName, run.pointSize * (shifted ? 2.0 / 3 : 1.0), run.bold, run.italic);
    font.setUnderline(run.underline || run.doubleUnderline);
    font.setStrikeOut(run.strikeout);
    return font;
}

LineSize measure(QPaintDevice* device, const FontMapper& fonts, const QFont& defaultFont,
                 const HeaderFooterLine& line) {
    LineSize size;
    for (const HeaderFooterRun& run : line) {
        const QFontMetricsF metrics(runFont(fonts, run), device);
        size.width += metrics.horizontalAdvance(run.text);
        size.ascent = std::max(size.ascent, metrics.ascent());
        size.descent = std::max(size.descent, metrics.descent());
    }
    if (line.isEmpty()) {
        const QFontMetricsF metrics(defaultFont, device);
        size.ascent = metrics.ascent();
        size.descent = metrics.descent();
    }
    return size;
}

// Places a run at x on the baseline and moves x past it.
PlacedRun placeRun(QPaintDevice* device, const FontMapper& fonts, const HeaderFooterRun& run,
                   const QColor& color, double& x, double baseline) {
    PlacedRun placed{run.text, runFont(fonts, run), color, {}, std::nullopt, 0};
    const QFontMetricsF metrics(placed.font, device);
    double shift = 0;
    if (run.superscript)
        shift = -metrics.ascent() / 2;
    else if (run.subscript)
        shift = metrics.descent();
    placed.origin = QPointF(x, baseline + shift);
    const double width = metrics.horizontalAdvance(run.text);
    if (run.doubleUnderline) {
        const double under = baseline + metrics.underlinePos() + metrics.lineWidth() * 2;
        placed.secondUnderline = QLineF(x, under, x + width, under);
        placed.lineWidth = metrics.lineWidth();
    }
    x += width;
    return placed;
}

} // namespace

std::vector<PlacedRun> layOutHeaderFooter(const PageFrame& frame, const HeaderFooterText& text,
                                          const FontMapper& fonts, const QFont& defaultFont,
                                          const PrintOptions& options, bool header,
                                          QPaintDevice* device) {
    const QSizeF paper = frame.pageLayout.fullRect(QPageLayout::Point).size();
    const QMarginsF margins = frame.pageLayout.margins(QPageLayout::Point);
    const double left = margins.left();
    const double right = paper.width() - margins.right();
    std::vector<PlacedRun> placed;
    const auto placeSection = [&](const HeaderFooterSection& section, int alignment) {
        std::vector<LineSize> sizes;
        double total = 0;
        for (const HeaderFooterLine& line : section.lines) {
            sizes.push_back(measure(device, fonts, defaultFont, line));
            total += sizes.back().ascent + sizes.back().descent;
        }
        double y = header ? frame.headerMargin : paper.height() - frame.footerMargin - total;
        for (size_t i = 0; i < sizes.size(); ++i) {
            double x = left;
            if (alignment == Qt::AlignHCenter)
                x = (left + right - sizes[i].width) / 2;
            else if (alignment == Qt::AlignRight)
                x = right - sizes[i].width;
            const double baseline = y + sizes[i].ascent;
            for (const HeaderFooterRun& run : section.lines[static_cast<qsizetype>(i)]) {
                const QColor ink = options.ink(run.color.isValid() ? run.color : QColor(Qt::black));
                placed.push_back(placeRun(device, fonts, run, ink, x, baseline));
            }
            y += sizes[i].ascent + sizes[i].descent;
        }
    };
    placeSection(text.left, Qt::AlignLeft);
    placeSection(text.center, Qt::AlignHCenter);
    placeSection(text.right, Qt::AlignRight);
    return placed;
}

} // namespace report
