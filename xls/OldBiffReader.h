#pragma once

#include "ICodePages.h"
#include "Workbook.h"

#include <QByteArrayView>

namespace xls {

// Reads Excel 2.x, 3.0 and 4.0 files (BIFF2, BIFF3, BIFF4) into the workbook model: a
// worksheet stream of one sheet, or an Excel 4.0 workbook whose globals are followed by its
// sheets. Each substream may hold its own fonts, cell formats and number formats; they are
// gathered into the workbook's tables and the cells renumbered to them. The used range comes
// from the cells, never from the DIMENSIONS record.
class OldBiffReader {
public:
    explicit OldBiffReader(const ICodePages& codePages);

    // True when a stream whose first record has this number is read here.
    static bool isOldBof(quint16 code);
    // The workbook in a stream that starts with such a BOF. Throws ReadError for a stream
    // cut short, an encrypted one, or a damaged cell record.
    Workbook read(QByteArrayView stream) const;

private:
    const ICodePages& m_codePages;
};

} // namespace xls
