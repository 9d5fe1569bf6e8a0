#pragma once

#include "CellFormat.h"
#include "Font.h"
#include "Palette.h"
#include "RichText.h"
#include "Sheet.h"
#include "SheetObject.h"

#include <QList>
#include <QMap>
#include <QString>

#include <vector>

namespace xls {

// The file format version: Excel 2.x (BIFF2), 3.0, 4.0, 5.0/95 (BIFF5) or 97-2003 (BIFF8).
// Versions before BIFF8 keep their texts as bytes in the workbook's code page.
enum class BiffVersion { Biff2, Biff3, Biff4, Biff5, Biff8 };

// A workbook as read from an .xls file: its sheets in the workbook's order and the formatting
// they share. This is the model that the report printer paints from.
class Workbook {
public:
    BiffVersion version() const { return m_version; }
    void setVersion(BiffVersion version) { m_version = version; }
    // The code page of the file's byte strings (CODEPAGE record); 1200 for Unicode.
    int codePage() const { return m_codePage; }
    void setCodePage(int codePage) { m_codePage = codePage; }
    // True when the serial numbers of dates count from 1904-01-01 rather than from 1900.
    bool uses1904Dates() const { return m_uses1904Dates; }
    void setUses1904Dates(bool uses1904) { m_uses1904Dates = uses1904; }

    const std::vector<Sheet>& sheets() const { return m_sheets; }
    std::vector<Sheet>& sheets() { return m_sheets; }
    int sheetCount() const { return static_cast<int>(m_sheets.size()); }

    // Fonts in the order of their FONT records.
    const QList<Font>& fonts() const { return m_fonts; }
    void setFonts(const QList<Font>& fonts) { m_fonts = fonts; }
    // The font that a cell format's font index names. Font index 4 is never written (the
    // fifth FONT record has index 5), so indices above 4 name the record before; an index
    // that names no font gives the first font, or a default font when there is none.
    const Font& font(int fontIndex) const;

    // Cell formats (XF records) in file order; cells name them by index.
    const QList<CellFormat>& cellFormats() const { return m_cellFormats; }
    void setCellFormats(const QList<CellFormat>& formats) { m_cellFormats = formats; }
    // The cell format at an index; a default cell format when the index names none.
    const CellFormat& cellFormat(int index) const;

    // The number formats the file defines itself (FORMAT records), by format index.
    const QMap<int, QString>& numberFormats() const { return m_numberFormats; }
    void setNumberFormats(const QMap<int, QString>& formats) { m_numberFormats = formats; }
    // The code of a number format: the file's own, else the built-in format of that index
    // (as Japanese Excel numbers them), else "General".
    QString numberFormatCode(int formatIndex) const;

    // The font runs and phonetic guides of the workbook's texts that have them; a text cell
    // names its entry by Cell::richTextIndex().
    const std::vector<RichText>& richTexts() const { return m_richTexts; }
    std::vector<RichText>& richTexts() { return m_richTexts; }
    // The font runs of a cell's text, empty when the text is in one font (or the cell holds
    // no text). Each run's font index goes through font(), like a cell format's.
    const QList<TextRun>& textRuns(const Cell& cell) const;
    // The phonetic guide of a cell of sheet when the sheet shows it there, else nullptr.
    const PhoneticText* shownPhonetic(const Sheet& sheet, const Cell& cell) const;

    const Palette& palette() const { return m_palette; }
    Palette& palette() { return m_palette; }

    // The picture store that sheet objects name by index (SheetObject::picture).
    const QList<Picture>& pictures() const { return m_pictures; }
    QList<Picture>& pictures() { return m_pictures; }
    void setPictures(const QList<Picture>& pictures) { m_pictures = pictures; }

private:
    BiffVersion m_version = BiffVersion::Biff8;
    int m_codePage = 1200;
    bool m_uses1904Dates = false;
    std::vector<Sheet> m_sheets;
    QList<Font> m_fonts;
    QList<CellFormat> m_cellFormats;
    QMap<int, QString> m_numberFormats;
    Palette m_palette;
    QList<Picture> m_pictures;
    std::vector<RichText> m_richTexts;
};

} // namespace xls
