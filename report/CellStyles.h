#pragma once

#include "xls/CellFormat.h"

#include <deque>

namespace xls {
class Sheet;
class Workbook;
} // namespace xls

namespace report {

// The formats the positions of a sheet show: a cell's own, else its row's, else its
// column's, with the borders and fill of the conditional format that holds there laid over
// it (what a condition changes of the font is the text pieces' business).
class CellStyles {
public:
    CellStyles(const xls::Workbook& workbook, const xls::Sheet& sheet);

    // Null when the position has none or lies off the sheet; the format lives as long as
    // this object.
    const xls::CellFormat* at(int row, int column);

private:
    const xls::CellFormat* own(int row, int column) const;

    const xls::Workbook& m_workbook;
    const xls::Sheet& m_sheet;
    std::deque<xls::CellFormat> m_conditioned; // formats with a condition laid over them
};

} // namespace report
