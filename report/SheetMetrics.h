#pragma once

#include <vector>

namespace xls {
class Sheet;
}

namespace report {

// The printed size of a sheet's rows and columns, in points, as the spreadsheet prints them:
// column widths from the sheet's width units through the maximum digit width of the
// workbook's default font, row heights from twips, both in whole pixels at 96 dots per inch.
// Hidden rows and columns measure 0.
class SheetMetrics {
public:
    // maxDigitWidth: the width in pixels at 96 dots per inch of the widest digit of the
    // workbook's default font (its first FONT record) at its size.
    SheetMetrics(const xls::Sheet& sheet, double maxDigitWidth);

    double maxDigitWidth() const { return m_maxDigitWidth; }
    double columnWidth(int column) const;
    double rowHeight(int row) const;

private:
    const xls::Sheet& m_sheet;
    double m_maxDigitWidth;
    std::vector<double> m_columnWidths; // all 256 columns
};

} // namespace report
