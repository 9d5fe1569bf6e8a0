#include "FontMapper.h"
#include "PageLayers.h"
#include "PrintOptions.h"

#include <QFontMetricsF>
#include <QPainter>

#include <vector>

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

LineSize measure(QPainter& painter, const FontMapper& fonts, const QFont& defaultFont,
                 const HeaderFooterLine& line) {
    LineSize size;
    for (const HeaderFooterRun& run : line) {
        const QFontMetricsF metrics(runFont(fonts, run), painter.device());
        size.width += metrics.horizontalAdvance(run.text);
        size.ascent = std::max(size.ascent, metrics.ascent());
        size.descent = std::max(size.descent, metrics.descent());
    }
    if (line.isEmpty()) {
        const QFontMetricsF metrics(defaultFont, painter.device());
        size.ascent = metrics.ascent();
        size.descent = metrics.descent();
    }
    return size;
}

void paintRun(QPainter& painter, const FontMapper& fonts, const HeaderFooterRun& run,
              const QColor& color, double& x, double baseline) {
    const QFont font = runFont(fonts, run);
    const QFontMetricsF metrics(font, painter.device());
    double shift = 0;
    if (run.superscript)
        shift = -metrics.ascent() / 2;
    else if (run.subscript)
        shift = metrics.descent();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QPointF(x, baseline + shift), run.text);
    if (run.doubleUnderline) {
        const double under = baseline + metrics.underlinePos() + metrics.lineWidth() * 2;
        painter.setPen(QPen(color, metrics.lineWidth()));
        painter.drawLine(QPointF(x, under),
                         QPointF(x + metrics.horizontalAdvance(run.text), under));
    }
    x += metrics.horizontalAdvance(run.text);
}

} // namespace

void paintHeaderFooter(QPainter& painter, const PageFrame& frame, const HeaderFooterText& text,
                       const FontMapper& fonts, const QFont& defaultFont,
                       const PrintOptions& options, bool header) {
    const QRectF paper(QPointF(0, 0), frame.pageLayout.fullRect(QPageLayout::Point).size());
    const QMarginsF margins = frame.pageLayout.margins(QPageLayout::Point);
    const double left = margins.left();
    const double right = paper.width() - margins.right();

    painter.save();
    const auto paintSection = [&](const HeaderFooterSection& section, int alignment) {
        std::vector<LineSize> sizes;
        double total = 0;
        for (const HeaderFooterLine& line : section.lines) {
            sizes.push_back(measure(painter, fonts, defaultFont, line));
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
            for (const HeaderFooterRun& run : section.lines[static_cast<qsizetype>(i)])
                paintRun(painter, fonts, run,
                         options.ink(run.color.isValid() ? run.color : QColor(Qt::black)), x,
                         baseline);
            y += sizes[i].ascent + sizes[i].descent;
        }
    };
    paintSection(text.left, Qt::AlignLeft);
    paintSection(text.center, Qt::AlignHCenter);
    paintSection(text.right, Qt::AlignRight);
    painter.restore();
}

} // namespace report
