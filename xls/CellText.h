#pragma once

#include "Cell.h"
#include "Workbook.h"

#include "xls/format/NumberFormat.h"

#include <QString>

#include <map>

namespace xls {

// The text a cell shows, as the spreadsheet shows it: numbers and texts through the number
// format of the cell's format, booleans as TRUE or FALSE, errors as their codes ("#DIV/0!"),
// blank cells as nothing. Each number format is parsed once, on first use.
class CellText {
public:
    explicit CellText(const Workbook& workbook);

    // The shown value with what the number format adds: where a fill character repeats to
    // the cell's width, and the colour it asks for.
    FormattedValue shown(const Cell& cell) const;
    // The shown text alone, for a cell of no width: a fill character fills none of it.
    QString text(const Cell& cell) const;
    // A number cell too wide for its column, narrowed as its format allows (see
    // NumberFormat::narrowedNumber); the empty text for other cells.
    QString narrowedNumber(const Cell& cell, const std::function<bool(const QString&)>& fits) const;

private:
    const NumberFormat& numberFormat(int formatIndex) const;

    const Workbook& m_workbook;
    DateSystem m_dates;
    mutable std::map<int, NumberFormat> m_formats;
};

} // namespace xls
