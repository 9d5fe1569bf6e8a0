#include "ChartFonts.h"

#include "CellFonts.h"

#include "xls/Workbook.h"

namespace report {

namespace {

constexpr double kDefaultSize = 10;
constexpr double kTitleSize = 12;
constexpr double kSmallest = 1;

} // namespace

ChartFonts::ChartFonts(const xls::Workbook& workbook, const CellFonts& fonts, int defaultFont,
                       double scale)
    : m_workbook(workbook)
    , m_fonts(fonts)
    , m_defaultFont(defaultFont)
    , m_scale(scale) {}

QFont ChartFonts::font(int fontIndex) const {
    const int index = fontIndex >= 0 ? fontIndex : m_defaultFont;
    QFont font = m_fonts.font(std::max(index, 0));
    if (index < 0)
        font.setPointSizeF(kDefaultSize);
    font.setPointSizeF(std::max(kSmallest, font.pointSizeF() * m_scale));
    return font;
}

QFont ChartFonts::titleFont(int fontIndex) const {
    if (fontIndex >= 0 || m_defaultFont >= 0)
        return font(fontIndex);
    QFont title = font(-1);
    title.setPointSizeF(std::max(kSmallest, kTitleSize * m_scale));
    title.setBold(true);
    return title;
}

QColor ChartFonts::color(int fontIndex) const {
    const int index = fontIndex >= 0 ? fontIndex : m_defaultFont;
    const QColor own =
        index >= 0 ? m_workbook.palette().color(m_workbook.font(index).colorIndex) : QColor();
    return own.isValid() ? own : QColor(Qt::black);
}

} // namespace report
