#include "CellFonts.h"

#include "FontMapper.h"

#include "xls/Workbook.h"

namespace report {

CellFonts::CellFonts(const xls::Workbook& workbook, const FontMapper& fonts,
                     const TextShaper& shaper)
    : m_workbook(workbook)
    , m_fonts(fonts)
    , m_shaper(shaper) {}

const QFont& CellFonts::font(int fontIndex) const {
    auto found = m_cache.find(fontIndex);
    if (found == m_cache.end()) {
        const xls::Font& cellFont = m_workbook.font(fontIndex);
        QFont font = m_fonts.font(cellFont);
        if (cellFont.script != xls::Script::Normal)
            font.setPointSizeF(font.pointSizeF() * 2 / 3);
        found = m_cache.emplace(fontIndex, font).first;
    }
    return found->second;
}

} // namespace report
