#pragma once

#include <QColor>
#include <QFont>

namespace xls {
class Workbook;
}

namespace report {

class CellFonts;

// The fonts of a chart's texts, from the cells' font table, scaled with the chart: a chart
// printed at half its size prints its texts at half their size. A text of the chart's
// default font is the workbook's first font at 10 points; the title is 12 points and bold.
class ChartFonts {
public:
    ChartFonts(const xls::Workbook& workbook, const CellFonts& fonts, int defaultFont,
               double scale);

    QFont font(int fontIndex) const;
    QFont titleFont(int fontIndex) const;
    // The font's own colour, or automatic (black).
    QColor color(int fontIndex) const;

private:
    const xls::Workbook& m_workbook;
    const CellFonts& m_fonts;
    int m_defaultFont;
    double m_scale;
};

} // namespace report
