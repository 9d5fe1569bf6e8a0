#include "OldBiffTables.h"

namespace xls {

namespace {

// Font index 4 is never written: the fifth font has index 5. These turn an index into a place
// in the list and back.
int fontPosition(int index) {
    return index > 4 ? index - 1 : (index == 4 ? 0 : index);
}

int fontIndexAt(int position) {
    return position >= 4 ? position + 1 : position;
}

} // namespace

int OldBiffPlacement::font(int index) const {
    const int position = fontPosition(index);
    return fontIndexAt(fontBase + (position < fontCount ? position : 0));
}

int OldBiffPlacement::numberFormat(int index) const {
    // A format the substream does not define keeps its number, and so the built-in meaning.
    return index < numberFormatCount ? numberFormatBase + index : index;
}

int OldBiffPlacement::cellFormat(int index) const {
    return cellFormatBase + (index >= 0 && index < cellFormatCount ? index : 0);
}

OldBiffPlacement OldBiffTables::add(const OldBiffFormats& formats,
                                    const OldBiffPlacement& fallback) {
    OldBiffPlacement placement = fallback;
    if (!formats.fonts.isEmpty()) {
        placement.fontBase = static_cast<int>(m_fonts.size());
        placement.fontCount = static_cast<int>(formats.fonts.size());
        m_fonts.append(formats.fonts);
    }
    if (!formats.numberFormats.isEmpty()) {
        placement.numberFormatBase = m_nextNumberFormat;
        placement.numberFormatCount = static_cast<int>(formats.numberFormats.size());
        for (const QString& code : formats.numberFormats)
            m_numberFormats.insert(m_nextNumberFormat++, code);
    }
    if (!formats.cellFormats.isEmpty()) {
        placement.cellFormatBase = static_cast<int>(m_cellFormats.size());
        placement.cellFormatCount = static_cast<int>(formats.cellFormats.size());
        for (CellFormat format : formats.cellFormats) {
            format.fontIndex = placement.font(format.fontIndex);
            format.formatIndex = placement.numberFormat(format.formatIndex);
            format.parentIndex = placement.cellFormat(format.parentIndex);
            m_cellFormats.append(format);
        }
    }
    return placement;
}

void OldBiffTables::applyTo(Workbook& workbook) const {
    workbook.setFonts(m_fonts);
    workbook.setCellFormats(m_cellFormats);
    workbook.setNumberFormats(m_numberFormats);
}

} // namespace xls
