#include "HeaderFooterLines.h"

#include "FontMapper.h"
#include "PageLayout.h"
#include "PrintOptions.h"

#include "xls/HeaderFooterPicture.h"

#include <QFontMetricsF>

#include <algorithm>

namespace report {

namespace {

// Header and footer pictures give their size in pixels at 96 to the inch.
constexpr double kPointsPerPixel = 72.0 / 96.0;

QSizeF pictureSize(const xls::HeaderFooterPicture* picture) {
    return picture == nullptr ? QSizeF() : QSizeF(picture->pixels) * kPointsPerPixel;
}

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
                 const HeaderFooterLine& line, const QSizeF& picture) {
    LineSize size;
    for (const HeaderFooterRun& run : line) {
        if (run.picture) {
            size.width += picture.width();
            size.ascent = std::max(size.ascent, picture.height());
            continue;
        }
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
    PlacedRun placed;
    placed.text = run.text;
    placed.font = runFont(fonts, run);
    placed.color = color;
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

// Places a picture at x with its foot on the baseline and moves x past it.
PlacedRun placePicture(const xls::Picture& picture, const QSizeF& size, double& x,
                       double baseline) {
    PlacedRun placed;
    placed.picture = &picture;
    placed.pictureBox = QRectF(QPointF(x, baseline - size.height()), size);
    x += size.width();
    return placed;
}

} // namespace

std::vector<PlacedRun> layOutHeaderFooter(const PageFrame& frame, const HeaderFooterText& text,
                                          const SectionPictures& pictures, const FontMapper& fonts,
                                          const QFont& defaultFont, const PrintOptions& options,
                                          bool header, QPaintDevice* device) {
    const QSizeF paper = frame.pageLayout.fullRect(QPageLayout::Point).size();
    const QMarginsF margins = frame.pageLayout.margins(QPageLayout::Point);
    const double left = margins.left();
    const double right = paper.width() - margins.right();
    std::vector<PlacedRun> placed;
    const auto placeSection = [&](const HeaderFooterSection& section, int alignment,
                                  const xls::HeaderFooterPicture* sectionPicture) {
        const QSizeF picture = pictureSize(sectionPicture);
        std::vector<LineSize> sizes;
        double total = 0;
        for (const HeaderFooterLine& line : section.lines) {
            sizes.push_back(measure(device, fonts, defaultFont, line, picture));
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
                if (run.picture) {
                    if (sectionPicture != nullptr)
                        placed.push_back(
                            placePicture(sectionPicture->picture, picture, x, baseline));
                    continue;
                }
                const QColor ink = options.ink(run.color.isValid() ? run.color : QColor(Qt::black));
                placed.push_back(placeRun(device, fonts, run, ink, x, baseline));
            }
            y += sizes[i].ascent + sizes[i].descent;
        }
    };
    placeSection(text.left, Qt::AlignLeft, pictures[0]);
    placeSection(text.center, Qt::AlignHCenter, pictures[1]);
    placeSection(text.right, Qt::AlignRight, pictures[2]);
    return placed;
}

} // namespace report
