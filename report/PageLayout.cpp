#include "PageLayout.h"

#include "CellPrints.h"
#include "ObjectPlacement.h"
#include "PageAxis.h"
#include "PaperSize.h"
#include "PrintedPages.h"
#include "SheetLimits.h"
#include "SheetMetrics.h"
#include "UsedRange.h"

#include "xls/Workbook.h"

#include <QMarginsF>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace report {

namespace {

constexpr int kHeadingPaddingPixels = 5;
// The most pages a sheet prints. A file can lay a sheet out on billions of pages (many print
// areas, each a page per row and column); no printer run reaches the end of even this many.
constexpr qint64 kMostPages = qint64{1} << 24;
// Pages that merged areas may mark, over all print areas, before every page of the sheet counts
// as marked: bounds the work for a file whose merged areas each span millions of pages. Sheets
// that print fewer than four million pages never come near it. Drawing objects have a budget
// of the same size.
constexpr qint64 kMostMergedMarks = qint64{1} << 22;

struct Area {
    xls::CellRange range; // as laid out
    Axis rows;
    Axis columns;
    double headingWidth = 0;
    PrintedPages pages; // the pages that are not blank, in print order
};

int digitCount(int number) {
    int digits = 1;
    for (; number >= 10; number /= 10)
        ++digits;
    return digits;
}

// Margins in points. Margins that together leave no room across (or down) the paper, which
// Excel's own dialog refuses but a file can hold, are shrunk to take half of it.
QMarginsF marginsOf(const xls::PageSetup& setup, const QSizeF& paper) {
    const auto points = [](double inches) {
        return std::isfinite(inches) ? std::max(0.0, inches) * kPointsPerInch : 0.0;
    };
    const auto fit = [](double& first, double& second, double length) {
        if (first + second < length)
            return;
        const double shrink = length / 2 / (first + second);
        first *= shrink;
        second *= shrink;
    };
    double left = points(setup.leftMargin);
    double right = points(setup.rightMargin);
    double top = points(setup.topMargin);
    double bottom = points(setup.bottomMargin);
    fit(left, right, paper.width());
    fit(top, bottom, paper.height());
    return {left, top, right, bottom};
}

} // namespace

struct PageLayout::Impl {
    Impl(const xls::Workbook& workbook, const xls::Sheet& sheet, const SheetMetrics& metrics,
         const TextReachMeasure* textReach);

    void layOut(double scale, bool withRowBreaks, bool withColumnBreaks, const SizeOf& rowSizes);
    SizeOf cachedRowSizes(std::vector<double>& cache) const;
    bool fits(int pagesWide, int pagesTall) const;
    void findPrintedPages(const xls::Workbook& workbook);
    void markMergedAreas(const xls::Workbook& workbook);
    void markObjects();
    void markSpills();
    bool markSpan(const xls::CellRange& cells, qint64& budget);

    const xls::Sheet& sheet;
    PageFrame frame;
    SizeOf rowSize;
    SizeOf columnSize;
    std::vector<xls::CellRange> printed;
    std::vector<xls::CellRange> objectCells; // of each object that prints
    SharedSpills spills;                     // null when texts are not measured
    std::vector<Area> areas;
    Titles titleRows;
    Titles titleColumns;
    double headingHeight = 0;
    double printableWidth = 0; // between the margins, in points on paper
    double printableHeight = 0;
    QList<int> rowBreaks; // the manual breaks, in increasing order
    QList<int> columnBreaks;
};

PageLayout::Impl::Impl(const xls::Workbook& workbook, const xls::Sheet& sheet,
                       const SheetMetrics& metrics, const TextReachMeasure* textReach)
    : sheet(sheet)
    , rowSize([metrics = &metrics](int row) { return metrics->rowHeight(row); })
    , columnSize([metrics = &metrics](int column) { return metrics->columnWidth(column); }) {
    const xls::PageSetup& setup = sheet.pageSetup();
    rowBreaks = setup.rowBreaks;
    columnBreaks = setup.columnBreaks;
    std::sort(rowBreaks.begin(), rowBreaks.end());
    std::sort(columnBreaks.begin(), columnBreaks.end());

    const Paper paper = paperForCode(setup.paperSize);
    const bool landscape = (setup.orientation == xls::Orientation::Landscape) != paper.rotated;
    QSizeF paperSize = paper.size.size(QPageSize::Point);
    if (landscape)
        paperSize.transpose();
    frame.pageLayout =
        QPageLayout(paper.size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                    marginsOf(setup, paperSize), QPageLayout::Point);
    frame.headerMargin = std::max(0.0, setup.headerMargin) * kPointsPerInch;
    frame.footerMargin = std::max(0.0, setup.footerMargin) * kPointsPerInch;
    frame.gridlines = setup.printGridlines;
    frame.headings = setup.printHeadings;
    const QRectF printable = frame.pageLayout.paintRect(QPageLayout::Point);
    printableWidth = printable.width();
    printableHeight = printable.height();

    objectCells = printingObjectCells(sheet);
    if (textReach != nullptr)
        spills = std::make_shared<const TextSpills>(sheet, metrics, *textReach);
    // As in the spreadsheet, what prints takes in every object that prints and the columns
    // text flows into. A print area that holds nothing is left out.
    const PrintedContent content(workbook, sheet, objectCells, spills.get());
    if (sheet.printAreas().isEmpty()) {
        if (const auto range = content.printedRange())
            printed.push_back(*range);
    }
    for (const xls::CellRange& area : sheet.printAreas()) {
        if (const auto trimmed = content.trimmed(area))
            printed.push_back(*trimmed);
    }

    if (const auto rows = sheet.titleRows())
        titleRows = titlesOf(rows->firstRow, rows->lastRow, kLastRow, rowSize);
    if (const auto columns = sheet.titleColumns())
        titleColumns = titlesOf(columns->firstColumn, columns->lastColumn, kLastColumn, columnSize);
    if (frame.headings)
        headingHeight = std::max(0, sheet.defaultRowHeight()) / 20.0;

    for (const xls::CellRange& range : printed) {
        Area area;
        area.range = range;
        area.rows = axisOf(range.firstRow, range.lastRow, titleRows);
        area.columns = axisOf(range.firstColumn, range.lastColumn, titleColumns);
        if (frame.headings) {
            // Wide enough for the largest row number the area prints.
            const int largest = std::max(range.lastRow, titleRows.last) + 1;
            const double digit = std::max(1L, std::lround(metrics.maxDigitWidth()));
            area.headingWidth =
                (digitCount(largest) * digit + kHeadingPaddingPixels) * kPointsPerPixel;
        }
        areas.push_back(area);
    }

    if (!setup.fitToPages) {
        // A scale of 0 is a file that never set one; others are held to 10 to 400 %.
        const int percent = setup.scale <= 0 ? 100 : std::clamp(setup.scale, 10, 400);
        layOut(percent / 100.0, true, true, rowSize);
        return;
    }
    // Fitting to pages ignores the manual breaks in each direction it fits, and keeps them
    // in a direction left free (0 pages): a break there does not change the scale found.
    const int wide = std::max(0, setup.fitWidth);
    const int tall = std::max(0, setup.fitHeight);
    // The search lays the sheet out up to 91 times: its row heights are looked up once.
    std::vector<double> cache;
    const SizeOf rowSizes = cachedRowSizes(cache);
    int percent = 100;
    for (; percent > 10; --percent) {
        layOut(percent / 100.0, tall == 0, wide == 0, rowSizes);
        if (fits(wide, tall))
            break;
    }
    if (percent == 10)
        layOut(0.10, tall == 0, wide == 0, rowSizes);
}

SizeOf PageLayout::Impl::cachedRowSizes(std::vector<double>& cache) const {
    int first = kLastRow;
    int last = 0;
    for (const Area& area : areas) {
        first = std::min(first, area.rows.first);
        last = std::max(last, area.rows.last);
    }
    for (int row = first; row <= last; ++row)
        cache.push_back(rowSize(row));
    return [&cache, first, this](int row) {
        const auto at = static_cast<size_t>(row - first);
        return row >= first && at < cache.size() ? cache[at] : rowSize(row);
    };
}

void PageLayout::Impl::layOut(double scale, bool withRowBreaks, bool withColumnBreaks,
                              const SizeOf& rowSizes) {
    frame.scale = scale;
    const double height = printableHeight / scale - headingHeight;
    for (Area& area : areas) {
        const double width = printableWidth / scale - area.headingWidth;
        breakAxis(area.rows, rowSizes, height, titleRows, withRowBreaks ? rowBreaks : QList<int>());
        breakAxis(area.columns, columnSize, width, titleColumns,
                  withColumnBreaks ? columnBreaks : QList<int>());
    }
}

// With several print areas, each must fit in the pages asked for; they share one scale.
bool PageLayout::Impl::fits(int pagesWide, int pagesTall) const {
    return std::all_of(areas.begin(), areas.end(), [&](const Area& area) {
        const auto wide = static_cast<int>(area.columns.starts.size());
        const auto tall = static_cast<int>(area.rows.starts.size());
        return (pagesWide == 0 || wide <= pagesWide) && (pagesTall == 0 || tall <= pagesTall);
    });
}

// A page is blank, and is not printed, when none of its own rows and columns shows a cell that
// prints and no text flows into them. Print titles the area starts with are its own on its
// first pages; repeated on later pages they do not count. One pass over the cells finds every
// page that prints, however many pages the sheet is laid out on.
void PageLayout::Impl::findPrintedPages(const xls::Workbook& workbook) {
    const bool downFirst = sheet.pageSetup().pageOrder == xls::PageOrder::DownThenOver;
    for (Area& area : areas) {
        area.pages = PrintedPages(static_cast<int>(area.rows.starts.size()),
                                  static_cast<int>(area.columns.starts.size()), downFirst);
    }
    for (const xls::Cell& cell : sheet.cells()) {
        if (rowSize(cell.row()) <= 0 || columnSize(cell.column()) <= 0 ||
            !cellPrints(workbook, cell))
            continue;
        for (Area& area : areas)
            area.pages.mark(pageOf(area.rows, cell.row()), pageOf(area.columns, cell.column()));
    }
    markMergedAreas(workbook);
    markObjects();
    markSpills();
    // Whatever else comes to print on pages marks them here, before the lists are made.
    for (Area& area : areas)
        area.pages.finish();
}

// A merged area shows its top left cell on every page it spans.
void PageLayout::Impl::markMergedAreas(const xls::Workbook& workbook) {
    qint64 budget = kMostMergedMarks;
    for (const xls::CellRange& merged : sheet.mergedRanges()) {
        const xls::Cell* topLeft = sheet.cell(merged.firstRow, merged.firstColumn);
        if (topLeft != nullptr && cellPrints(workbook, *topLeft) && !markSpan(merged, budget))
            return;
    }
}

// An object prints, in part, on every page its cells reach.
void PageLayout::Impl::markObjects() {
    qint64 budget = kMostMergedMarks;
    for (const xls::CellRange& cells : objectCells) {
        if (!markSpan(cells, budget))
            return;
    }
}

// A text flowing across page breaks prints, in part, on every page of its row it reaches
// within the area; one starting in another area, or in repeated print titles, does not count.
void PageLayout::Impl::markSpills() {
    if (!spills)
        return;
    for (const Spill& spill : spills->all()) {
        for (Area& area : areas) {
            const int rowPage = pageOf(area.rows, spill.row);
            if (rowPage < 0 || pageOf(area.columns, spill.column) < 0)
                continue;
            if (const auto columns = pagesOf(area.columns, spill.firstColumn, spill.lastColumn))
                area.pages.markBlock(rowPage, rowPage, columns->first, columns->second);
        }
    }
}

// Marks the pages of every area that show any of the cells. Once budget pages have been
// marked, every page counts as marked and false is returned.
bool PageLayout::Impl::markSpan(const xls::CellRange& cells, qint64& budget) {
    for (Area& area : areas) {
        const auto rows = pagesOf(area.rows, cells.firstRow, cells.lastRow);
        const auto columns = pagesOf(area.columns, cells.firstColumn, cells.lastColumn);
        if (!rows || !columns)
            continue;
        budget -= qint64{rows->second - rows->first + 1} * (columns->second - columns->first + 1);
        if (budget < 0) {
            for (Area& each : areas)
                each.pages.markAll();
            return false;
        }
        area.pages.markBlock(rows->first, rows->second, columns->first, columns->second);
    }
    return true;
}

PageLayout::PageLayout(const xls::Workbook& workbook, const xls::Sheet& sheet,
                       const SheetMetrics& metrics, const TextReachMeasure* textReach)
    : m_impl(std::make_unique<Impl>(workbook, sheet, metrics, textReach)) {
    m_impl->findPrintedPages(workbook);
}

PageLayout::~PageLayout() = default;

const PageFrame& PageLayout::frame() const {
    return m_impl->frame;
}

int PageLayout::pageCount() const {
    qint64 count = 0;
    for (const Area& area : m_impl->areas)
        count += area.pages.count();
    return static_cast<int>(std::min(count, kMostPages));
}

LaidOutPage PageLayout::page(int ordinal, int autoFirstNumber) const {
    const Impl& d = *m_impl;
    const xls::PageSetup& setup = d.sheet.pageSetup();
    LaidOutPage page;
    page.number = setup.firstPageNumber.value_or(autoFirstNumber) + ordinal;
    if (ordinal < 0)
        return page;

    int local = ordinal;
    const Area* area = nullptr;
    for (const Area& candidate : d.areas) {
        if (local < candidate.pages.count()) {
            area = &candidate;
            break;
        }
        local -= candidate.pages.count();
    }
    if (area == nullptr)
        return page;

    const auto [rowPage, columnPage] = area->pages.at(local);

    page.area = area->range;
    page.spills = d.spills;
    page.headingWidth = area->headingWidth;
    page.headingHeight = d.headingHeight;
    page.rows = bandsOf(area->rows, rowPage, d.titleRows, page.headingHeight, d.rowSize);
    page.columns =
        bandsOf(area->columns, columnPage, d.titleColumns, page.headingWidth, d.columnSize);
    // Rows and columns a fraction of a point thin would give a page more slots than it can
    // show; the rows past that bound are left off.
    const qsizetype mostRows = kMostSlotsPerPage / std::max<qsizetype>(1, page.columns.size());
    if (page.rows.size() > mostRows)
        page.rows.resize(mostRows);
    const auto extent = [](const QList<Band>& bands, double start) {
        return bands.isEmpty() ? start : bands.back().offset + bands.back().size;
    };
    page.blockSize = {extent(page.columns, page.headingWidth),
                      extent(page.rows, page.headingHeight)};

    const QRectF printable = d.frame.pageLayout.paintRect(QPageLayout::Point);
    const double scale = d.frame.scale;
    double x = printable.left();
    double y = printable.top();
    // Centred within the margins; a block larger than that stays at the top left margin.
    if (setup.centerHorizontally)
        x += std::max(0.0, (printable.width() - page.blockSize.width() * scale) / 2);
    if (setup.centerVertically)
        y += std::max(0.0, (printable.height() - page.blockSize.height() * scale) / 2);
    page.origin = {x, y};
    return page;
}

} // namespace report
