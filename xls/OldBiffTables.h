#pragma once

#include "CellFormat.h"
#include "Font.h"
#include "Workbook.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

namespace xls {

// What one substream of an Excel 2.x-4.0 stream defines for its cells, in file order. Number
// formats are named by their place in the list. Excel 2.x cells carry their format in their
// attributes; a cell format is made for each pair of attribute bytes met.
struct OldBiffFormats {
    QList<Font> fonts;
    QList<CellFormat> cellFormats;
    QList<QString> numberFormats;
    QHash<quint16, int> attributeFormats;
};

// Where a substream's tables lie in the workbook's: turns the substream's own indices into
// the workbook's.
struct OldBiffPlacement {
    int fontBase = 0; // positions in the workbook's font list
    int fontCount = 0;
    int numberFormatBase = 0;
    int numberFormatCount = 0;
    int cellFormatBase = 0;
    int cellFormatCount = 0;

    int font(int index) const;
    int numberFormat(int index) const;
    // An index past the substream's cell formats takes its first one.
    int cellFormat(int index) const;
};

// The workbook's fonts, cell formats and number formats, gathered from the substreams.
class OldBiffTables {
public:
    // Adds a substream's tables; where it has none of a kind, its indices name those of
    // fallback (an Excel 4.0 workbook's globals).
    OldBiffPlacement add(const OldBiffFormats& formats, const OldBiffPlacement& fallback);
    void applyTo(Workbook& workbook) const;

private:
    QList<Font> m_fonts;
    QList<CellFormat> m_cellFormats;
    QMap<int, QString> m_numberFormats;
    int m_nextNumberFormat = 0;
};

} // namespace xls
