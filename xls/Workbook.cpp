#include "Workbook.h"

#include "xls/format/NumberFormat.h"

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

const QList<TextRun>& Workbook::textRuns(const Cell& cell) const {
    static const QList<TextRun> kNoRuns;
    const int index = cell.richTextIndex();
    return index >= 0 && index < static_cast<int>(m_richTexts.size())
               ? m_richTexts[static_cast<size_t>(index)].runs
               : kNoRuns;
}

const PhoneticText* Workbook::shownPhonetic(const Sheet& sheet, const Cell& cell) const {
    const int index = cell.richTextIndex();
    if (index < 0 || index >= static_cast<int>(m_richTexts.size()) ||
        !sheet.showsPhonetic(cell.row(), cell.column()))
        return nullptr;
    const std::optional<PhoneticText>& phonetic = m_richTexts[static_cast<size_t>(index)].phonetic;
    return phonetic ? &*phonetic : nullptr;
}

QString Workbook::numberFormatCode(int formatIndex) const {
    const auto own = m_numberFormats.constFind(formatIndex);
    if (own != m_numberFormats.constEnd())
        return *own;
    const QString builtIn = builtInFormatCode(formatIndex);
    return builtIn.isEmpty() ? QStringLiteral("General") : builtIn;
}

} // namespace xls
