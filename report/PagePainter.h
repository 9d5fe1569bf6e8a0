#pragma once

#include "HeaderFooter.h"
#include "PageLayout.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QRectF>

#include <map>

class QPainter;

namespace xls {
class CellText;
class Sheet;
class Workbook;
struct Border;
struct CellFormat;
} // namespace xls

namespace report {

class FontMapper;
class SheetMetrics;

// Paints one laid-out page of a sheet as the spreadsheet prints it: fills, gridlines, cell
// texts with their fonts and alignments, borders, headings, header and footer. The painter
// given to paint() draws in points with (0, 0) at the paper's top left corner. Pictures and
// charts are not painted.
class PagePainter {
public:
    PagePainter(const xls::Workbook& workbook, const xls::Sheet& sheet, const SheetMetrics& metrics,
                const FontMapper& fonts, const xls::CellText& cellText);

    void paint(QPainter& painter, const PageFrame& frame, const LaidOutPage& page,
               const HeaderFooterFields& fields) const;

    // The pen that draws a border of a style, in points; a null pen for no border.
    static QPen borderPen(int style, const QColor& color);

private:
    struct Grid;

    void paintFills(QPainter& painter, const Grid& grid) const;
    void paintGridlines(QPainter& painter, const Grid& grid) const;
    void paintTexts(QPainter& painter, Grid& grid) const;
    // Paints a cell's text and marks on the grid the edges its overflow stands across.
    void paintText(QPainter& painter, Grid& grid, int rowSlot, int columnSlot) const;
    void paintBorders(QPainter& painter, const Grid& grid) const;
    void paintEdgeBorders(QPainter& painter, const Grid& grid) const;
    void paintHeadings(QPainter& painter, const Grid& grid, const LaidOutPage& page) const;
    void paintHeaderFooter(QPainter& painter, const PageFrame& frame, const QString& code,
                           const HeaderFooterFields& fields, bool header) const;

    // The format of a position: its cell's, else its row's, else its column's; null when the
    // position has none.
    const xls::CellFormat* formatAt(int row, int column) const;
    QColor color(int index, const QColor& automatic) const;
    // The font of a cell format's font index, made once: the font engine is looked up once
    // per font rather than once per cell.
    const QFont& cellQFont(int fontIndex) const;
    void paintBorderLine(QPainter& painter, const xls::Border& border, QPointF from, QPointF to,
                         QPointF inward) const;

    const xls::Workbook& m_workbook;
    const xls::Sheet& m_sheet;
    const SheetMetrics& m_metrics;
    const FontMapper& m_fonts;
    const xls::CellText& m_cellText;
    mutable std::map<int, QFont> m_cellFonts;
};

} // namespace report
