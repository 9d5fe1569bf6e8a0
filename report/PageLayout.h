#pragma once

#include "SheetLimits.h"
#include "TextSpills.h"

#include "xls/CellRange.h"

#include <QList>
#include <QPageLayout>
#include <QPointF>
#include <QSizeF>

#include <memory>

namespace xls {
class Sheet;
class Workbook;
} // namespace xls

namespace report {

class SheetMetrics;

// One row or column placed on a page. Offsets and sizes are in points from the top (left)
// edge of the page's cell block, before the page's scale is applied.
struct Band {
    int index = 0; // the sheet's row or column, from 0
    double offset = 0;
    double size = 0;
    bool title = false; // a print title repeated on every page
};

// The paper a sheet prints on and how its cell blocks are scaled, in points.
struct PageFrame {
    // Paper size, orientation and the margins around the cell block.
    QPageLayout pageLayout;
    double headerMargin = 0; // from the paper's top edge to the top of the header
    double footerMargin = 0; // from the paper's bottom edge to the bottom of the footer
    double scale = 1.0;      // applied to every cell block; 1.0 is 100 %
    bool gridlines = false;
    bool headings = false; // row numbers and column letters
};

// One page of a sheet: which rows and columns it shows and where its cell block stands.
struct LaidOutPage {
    int number = 1; // the page number &P prints
    // Title rows first, then the page's own rows, top to bottom; likewise the columns, left
    // to right. Hidden rows and columns are left out.
    QList<Band> rows;
    QList<Band> columns;
    // The top left corner of the cell block on the paper, in points, after centring.
    QPointF origin;
    // The cell block's size in points before scaling, headings included.
    QSizeF blockSize;
    // With printed headings, the width of the row-number column and the height of the
    // column-letter row, before scaling; the bands start after them. 0 without headings.
    double headingWidth = 0;
    double headingHeight = 0;
    // The print area the page belongs to (without one, the printed range), as laid out: no
    // text flows into the page from beyond its columns.
    xls::CellRange area{0, kLastRow, 0, kLastColumn};
    // Which columns the sheet's texts flow across; null when the layout did not measure them.
    SharedSpills spills;
};

// Turns a sheet and its page setup into pages, as the spreadsheet lays them out: the print
// area cut back to where the sheet holds something (else the printed range, from A1), manual
// and automatic breaks, scale or fit to pages, page order, centring and print titles. Blank
// pages, where nothing of the page's own rows and columns prints (print titles that the area
// starts with are its own on its first pages; repeated ones are not) and no text flows in,
// are left out and not numbered. Pages are made one at a time on request, so a long sheet is
// never held as a whole list of pages.
class PageLayout {
public:
    // textReach: measures how far texts flow past their cells, once for the sheet: the texts
    // widen the printed range and the print areas' content, mark the pages they reach, and
    // are shown on them. Null: they do none of the first three, and each page's cell layout
    // measures them itself.
    PageLayout(const xls::Workbook& workbook, const xls::Sheet& sheet, const SheetMetrics& metrics,
               const TextReachMeasure* textReach = nullptr);
    ~PageLayout();
    PageLayout(const PageLayout&) = delete;
    PageLayout& operator=(const PageLayout&) = delete;

    const PageFrame& frame() const;
    // How many pages the sheet prints, blank ones left out; 0 when it has nothing to print.
    int pageCount() const;
    // The page at ordinal (from 0, in print order). Pages are numbered from the sheet's own
    // first page number when it has one, else from autoFirstNumber.
    LaidOutPage page(int ordinal, int autoFirstNumber = 1) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace report
