#pragma once

#include <QFont>

#include <map>

namespace xls {
class Workbook;
}

namespace report {

class FontMapper;
class TextShaper;

// The fonts of a workbook's cells as QFonts, each made once: the font engine is looked up
// once per font rather than once per cell. Superscript and subscript are two thirds of the
// size. Their text is measured and shaped by shaper.
class CellFonts {
public:
    CellFonts(const xls::Workbook& workbook, const FontMapper& fonts, const TextShaper& shaper);

    const QFont& font(int fontIndex) const;
    // The font table the fonts come from, for fonts that pictures name.
    const FontMapper& mapper() const { return m_fonts; }
    const TextShaper& shaper() const { return m_shaper; }

private:
    const xls::Workbook& m_workbook;
    const FontMapper& m_fonts;
    const TextShaper& m_shaper;
    mutable std::map<int, QFont> m_cache;
};

} // namespace report
