#include "Workbook.h"

namespace xls {

const Font& Workbook::font(int fontIndex) const {
    static const Font kDefaultFont;
    const int position = fontIndex > 4 ? fontIndex - 1 : fontIndex;
    if (fontIndex != 4 && position >= 0 && position < m_fonts.size())
        return m_fonts[position];
    return m_fonts.isEmpty() ? kDefaultFont : m_fonts.front();
}

const CellFormat& Workbook::cellFormat(int index) const {
    static const CellFormat kDefaultFormat;
    return index >= 0 && index < m_cellFormats.size() ? m_cellFormats[index] : kDefaultFormat;
}

} // namespace xls
