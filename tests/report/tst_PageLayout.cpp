#include "report/PageLayout.h"
#include "report/SheetLimits.h"
#include "report/SheetMetrics.h"
#include "report/UsedRange.h"

#include "xls/Workbook.h"

#include <QPageSize>
#include <QTest>

using report::Band;
using report::LaidOutPage;
using report::PageLayout;
using report::SheetMetrics;

Q_DECLARE_METATYPE(xls::CellFormat)
Q_DECLARE_METATYPE(xls::CellRange)
Q_DECLARE_METATYPE(QList<QList<double>>)
Q_DECLARE_METATYPE(QList<xls::CellRange>)
Q_DECLARE_METATYPE(xls::ObjectAnchor)
Q_DECLARE_METATYPE(xls::CommentPrinting)

namespace {

// Widest digit of 7 pixels: a default column (8 digits) is 64 pixels, 48 points.
constexpr double kDigit = 7;

// A workbook of one sheet, with cell format 0 plain, 1 with a bottom border and 2 filled.
struct Book {
    xls::Workbook workbook;
    Book() {
        workbook.sheets().emplace_back(QStringLiteral("Sheet1"), xls::SheetKind::Worksheet,
                                       xls::SheetVisibility::Visible);
        xls::CellFormat bordered;
        bordered.bottom.style = xls::BorderStyle::Thin;
        xls::CellFormat filled;
        filled.fillPattern = 1;
        workbook.setCellFormats({xls::CellFormat{}, bordered, filled});
        // Rows of 27 pixels, 20.25 points; A4 with 0.75 in left and right and 1 in top and
        // bottom margins leaves 595 - 108 = 487 points wide and 842 - 144 = 698 points tall.
        sheet().setDefaultRowHeight(405, false);
    }
    xls::Sheet& sheet() { return workbook.sheets().front(); }
    // Print areas with a value in every cell, so that none of their pages is blank.
    void areas(const QList<xls::CellRange>& ranges) {
        sheet().setPrintAreas(ranges);
        std::vector<xls::Cell> cells = sheet().cells();
        for (const xls::CellRange& range : ranges) {
            for (int row = range.firstRow; row <= range.lastRow; ++row) {
                for (int column = range.firstColumn; column <= range.lastColumn; ++column)
                    cells.push_back(xls::Cell::number(row, column, 0, 1));
            }
        }
        sheet().setCells(std::move(cells));
    }
    void area(int firstRow, int lastRow, int firstColumn, int lastColumn) {
        areas({{firstRow, lastRow, firstColumn, lastColumn}});
    }
};

QList<int> indices(const QList<Band>& bands) {
    QList<int> result;
    for (const Band& band : bands)
        result.append(band.index);
    return result;
}

QList<int> range(int first, int last) {
    QList<int> result;
    for (int index = first; index <= last; ++index)
        result.append(index);
    return result;
}

// The first row and column of each page's own part, in print order.
QList<QPoint> pageCorners(const PageLayout& layout) {
    QList<QPoint> corners;
    for (int ordinal = 0; ordinal < layout.pageCount(); ++ordinal) {
        const LaidOutPage page = layout.page(ordinal);
        const auto firstOwn = [](const QList<Band>& bands) {
            for (const Band& band : bands) {
                if (!band.title)
                    return band.index;
            }
            return -1;
        };
        corners.append({firstOwn(page.columns), firstOwn(page.rows)});
    }
    return corners;
}

// Text reaches given by hand for the cells that have one; it counts the cells it measures.
class FixedReach : public report::TextReachMeasure {
public:
    explicit FixedReach(const QList<QList<double>>& cells) {
        for (const QList<double>& cell : cells)
            m_reaches[{int(cell[0]), int(cell[1])}] = {cell[2], cell[3]};
    }
    report::TextReach reach(const xls::Cell& cell, double) const override {
        m_measured.append({cell.row(), cell.column()});
        return m_reaches.value({cell.row(), cell.column()});
    }
    mutable QList<QPair<int, int>> m_measured;

private:
    QMap<QPair<int, int>, report::TextReach> m_reaches;
};

// A comment whose box lies at anchor, printed as displayed when shown.
xls::SheetObject commentBox(const xls::ObjectAnchor& anchor, bool shown = true) {
    xls::SheetObject box;
    box.kind = xls::ObjectKind::Comment;
    box.anchor = anchor;
    box.note = xls::CommentNote{anchor.firstRow, anchor.firstColumn, shown, {}};
    return box;
}

} // namespace

class TestPageLayout : public QObject {
    Q_OBJECT

private slots:
    void columnWidthsFollowTheDigitWidth() {
        Book book;
        xls::Sheet& sheet = book.sheet();
        sheet.setColumns({{1, 1, 2560, false, 15}, {2, 2, 2560, true, 15}, {3, 3, 0, false, 15}});
        const SheetMetrics seven(sheet, 7);
        QCOMPARE(seven.columnWidth(0), 48.0);  // 8 * 7 + 5 = 61, up to 64 pixels
        QCOMPARE(seven.columnWidth(1), 52.5);  // (2560 + 18) / 256 * 7 = 70.4: 70 pixels
        QCOMPARE(seven.columnWidth(2), 0.0);   // hidden
        QCOMPARE(seven.columnWidth(3), 0.0);   // no width
        QCOMPARE(seven.columnWidth(256), 0.0); // beyond the sheet
        const SheetMetrics eight(sheet, 8);
        QCOMPARE(eight.columnWidth(0), 54.0); // 8 * 8 + 5 = 69, up to 72 pixels
        QCOMPARE(eight.columnWidth(1), 60.0); // (2560 + 16) / 256 * 8 = 80.5: 80 pixels

        sheet.setDefaultColumnWidth(10); // 10 * 7 + 5 = 75, up to 80 pixels
        QCOMPARE(SheetMetrics(sheet, 7).columnWidth(0), 60.0);
        sheet.setStandardColumnWidth(2304); // (2304 + 18) / 256 * 7 = 63.5: 63 pixels
        QCOMPARE(SheetMetrics(sheet, 7).columnWidth(0), 47.25);
    }

    // Twips to whole pixels at 96 dots per inch, 15 twips each, row by row.
    void rowHeightsInWholePixels() {
        Book book;
        xls::Sheet& sheet = book.sheet();
        sheet.setDefaultRowHeight(255, false);
        xls::RowInfo odd;
        odd.row = 1;
        odd.height = 250; // 16.7 pixels: 17
        xls::RowInfo tall;
        tall.row = 2;
        tall.height = 600;
        xls::RowInfo hidden;
        hidden.row = 3;
        hidden.hidden = true;
        sheet.setRows({odd, tall, hidden});
        const SheetMetrics metrics(sheet, kDigit);
        QCOMPARE(metrics.rowHeight(0), 12.75);
        QCOMPARE(metrics.rowHeight(1), 12.75);
        QCOMPARE(metrics.rowHeight(2), 30.0);
        QCOMPARE(metrics.rowHeight(3), 0.0);
        sheet.setDefaultRowHeight(255, true);
        QCOMPARE(SheetMetrics(sheet, kDigit).rowHeight(0), 0.0);
        QCOMPARE(SheetMetrics(sheet, kDigit).rowHeight(2), 30.0);
    }

    void automaticBreaksFillEachPage() {
        Book book;
        book.area(0, 99, 0, 19);
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // 698 / 20.25 = 34 rows a page, 487 / 48 = 10 columns a page.
        QCOMPARE(layout.pageCount(), 6);
        QCOMPARE(pageCorners(layout),
                 (QList<QPoint>{{0, 0}, {0, 34}, {0, 68}, {10, 0}, {10, 34}, {10, 68}}));
        const LaidOutPage first = layout.page(0);
        QCOMPARE(indices(first.rows), range(0, 33));
        QCOMPARE(indices(first.columns), range(0, 9));
        QCOMPARE(first.rows[1].offset, 20.25);
        QCOMPARE(first.columns[2].offset, 96.0);
        QCOMPARE(first.blockSize, QSizeF(480, 688.5));
        QCOMPARE(first.origin, QPointF(54, 72));
        QCOMPARE(indices(layout.page(2).rows), range(68, 99));
        QCOMPARE(layout.frame().scale, 1.0);
    }

    void hiddenRowsAndColumnsAreLeftOut() {
        Book book;
        book.area(0, 5, 0, 3);
        xls::RowInfo hidden;
        hidden.row = 2;
        hidden.hidden = true;
        book.sheet().setRows({hidden});
        book.sheet().setColumns({{1, 1, 2560, true, 15}});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.pageCount(), 1);
        const LaidOutPage page = layout.page(0);
        QCOMPARE(indices(page.rows), (QList<int>{0, 1, 3, 4, 5}));
        QCOMPARE(indices(page.columns), (QList<int>{0, 2, 3}));
        QCOMPARE(page.rows[2].offset, 40.5);
        QCOMPARE(page.columns[1].offset, 48.0);
    }

    void manualBreaksStartPages() {
        Book book;
        book.area(0, 59, 0, 11);
        book.sheet().pageSetup().rowBreaks = {30, 10}; // taken in any order
        book.sheet().pageSetup().columnBreaks = {3};
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(pageCorners(layout),
                 (QList<QPoint>{{0, 0}, {0, 10}, {0, 30}, {3, 0}, {3, 10}, {3, 30}}));
        QCOMPARE(indices(layout.page(1).rows), range(10, 29));
        QCOMPARE(indices(layout.page(3).columns), range(3, 11));
    }

    void manualBreakOnAHiddenRowBreaksAtTheNextShownRow() {
        Book book;
        book.area(0, 9, 0, 0);
        xls::RowInfo hidden;
        hidden.row = 4;
        hidden.hidden = true;
        book.sheet().setRows({hidden});
        book.sheet().pageSetup().rowBreaks = {4};
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.pageCount(), 2);
        QCOMPARE(indices(layout.page(0).rows), range(0, 3));
        QCOMPARE(indices(layout.page(1).rows), range(5, 9));
    }

    void scaleChangesWhatFits() {
        Book book;
        book.area(0, 99, 0, 0);
        book.sheet().pageSetup().scale = 50;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // 698 / 0.5 = 1396 points: 68 rows of 20.25.
        QCOMPARE(layout.frame().scale, 0.5);
        QCOMPARE(layout.pageCount(), 2);
        QCOMPARE(indices(layout.page(1).rows), range(68, 99));
    }

    void fitToOnePage() {
        Book book;
        book.area(0, 99, 0, 9);
        book.sheet().pageSetup().fitToPages = true;
        book.sheet().pageSetup().rowBreaks = {50};
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // 2025 points of rows in 698: 698 / 0.34 = 2052.9 fits, 698 / 0.35 = 1994.3 does not.
        QCOMPARE(layout.frame().scale, 0.34);
        QCOMPARE(layout.pageCount(), 1);
        QCOMPARE(indices(layout.page(0).rows), range(0, 99));
    }

    void fitNeverEnlarges() {
        Book book;
        book.area(0, 2, 0, 2);
        book.sheet().pageSetup().fitToPages = true;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.frame().scale, 1.0);
        QCOMPARE(layout.pageCount(), 1);
    }

    void fitStopsAtTenPercent() {
        Book book;
        book.area(0, 999, 0, 0);
        book.sheet().pageSetup().fitToPages = true;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // 20,250 points of rows; at 10 % a page takes 6980 points: 344 rows.
        QCOMPARE(layout.frame().scale, 0.1);
        QCOMPARE(layout.pageCount(), 3);
        QCOMPARE(indices(layout.page(1).rows).first(), 344);
    }

    void fitOneWideKeepsRowBreaks() {
        Book book;
        book.area(0, 99, 0, 19);
        xls::PageSetup& setup = book.sheet().pageSetup();
        setup.fitToPages = true;
        setup.fitWidth = 1;
        setup.fitHeight = 0;
        setup.rowBreaks = {50};
        setup.columnBreaks = {5};
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // 960 points of columns in 487: 487 / 0.50 = 974 fits, 487 / 0.51 = 954.9 does not.
        QCOMPARE(layout.frame().scale, 0.5);
        // At 50 % a page holds 69 rows, but the manual break comes first.
        QCOMPARE(pageCorners(layout), (QList<QPoint>{{0, 0}, {0, 50}}));
        QCOMPARE(indices(layout.page(0).columns), range(0, 19));
    }

    // A print area is cut back to where the sheet holds something before the scale is
    // chosen: fitting to pages scales for the content. Cells fill the columns (rows) given.
    void printAreaIsCutToItsContent_data() {
        QTest::addColumn<QList<xls::CellRange>>("areas");
        QTest::addColumn<xls::CellRange>("cells");
        QTest::addColumn<int>("wide"); // pages to fit in
        QTest::addColumn<int>("tall");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("pages");
        using Areas = QList<xls::CellRange>;
        // 200 rows of 20.25 points in 3 pages of 698: 698 / 0.51 holds 67 rows, 698 / 0.52 66.
        QTest::newRow("whole column")
            << Areas{{0, 65535, 1, 1}} << xls::CellRange{0, 199, 1, 1} << 2 << 3 << 0.51 << 3;
        // 30 columns of 48 points in 487: 487 / 0.33 = 1475.8 fits, 487 / 0.34 does not.
        QTest::newRow("whole rows")
            << Areas{{0, 9, 0, 255}} << xls::CellRange{0, 9, 0, 29} << 1 << 0 << 0.33 << 1;
        QTest::newRow("past the last filled row")
            << Areas{{0, 999, 0, 0}} << xls::CellRange{0, 99, 0, 0} << 1 << 1 << 0.34 << 1;
        QTest::newRow("an area holding nothing")
            << Areas{{0, 9, 0, 0}, {0, 65535, 5, 5}} << xls::CellRange{0, 9, 0, 0} << 1 << 1 << 1.0
            << 1;
    }

    void printAreaIsCutToItsContent() {
        QFETCH(QList<xls::CellRange>, areas);
        QFETCH(xls::CellRange, cells);
        QFETCH(int, wide);
        QFETCH(int, tall);
        QFETCH(double, scale);
        QFETCH(int, pages);
        Book book;
        std::vector<xls::Cell> filled;
        for (int row = cells.firstRow; row <= cells.lastRow; ++row) {
            for (int column = cells.firstColumn; column <= cells.lastColumn; ++column)
                filled.push_back(xls::Cell::number(row, column, 0, 1));
        }
        book.sheet().setCells(filled);
        book.sheet().setPrintAreas(areas);
        xls::PageSetup& setup = book.sheet().pageSetup();
        setup.fitToPages = true;
        setup.fitWidth = wide;
        setup.fitHeight = tall;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.frame().scale, scale);
        QCOMPARE(layout.pageCount(), pages);
        const LaidOutPage last = layout.page(pages - 1);
        QCOMPARE(indices(last.rows).last(), cells.lastRow);
        QCOMPARE(indices(last.columns).last(), cells.lastColumn);
    }

    void scaleOutOfRange_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<double>("expected");
        QTest::newRow("never set") << 0 << 1.0;
        QTest::newRow("too small") << 5 << 0.1;
        QTest::newRow("too large") << 1000 << 4.0;
    }

    void scaleOutOfRange() {
        QFETCH(int, scale);
        QFETCH(double, expected);
        Book book;
        book.area(0, 0, 0, 0);
        book.sheet().pageSetup().scale = scale;
        const SheetMetrics metrics(book.sheet(), kDigit);
        QCOMPARE(PageLayout(book.workbook, book.sheet(), metrics).frame().scale, expected);
    }

    void fitWithoutLimitsKeepsFullSizeAndBreaks() {
        Book book;
        book.area(0, 99, 0, 0);
        xls::PageSetup& setup = book.sheet().pageSetup();
        setup.fitToPages = true;
        setup.fitWidth = 0;
        setup.fitHeight = 0;
        setup.rowBreaks = {20};
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.frame().scale, 1.0);
        QCOMPARE(pageCorners(layout), (QList<QPoint>{{0, 0}, {0, 20}, {0, 54}, {0, 88}}));
    }

    void fitOneTallKeepsColumnBreaks() {
        Book book;
        book.area(0, 49, 0, 11);
        xls::PageSetup& setup = book.sheet().pageSetup();
        setup.fitToPages = true;
        setup.fitWidth = 0;
        setup.fitHeight = 1;
        setup.columnBreaks = {4};
        setup.rowBreaks = {10};
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // 1012.5 points of rows in 698: 698 / 0.68 = 1026.5 fits, 698 / 0.69 = 1011.6 does
        // not.
        QCOMPARE(layout.frame().scale, 0.68);
        QCOMPARE(pageCorners(layout), (QList<QPoint>{{0, 0}, {4, 0}}));
    }

    void fitHoldsEveryPrintArea() {
        Book book;
        book.areas({{0, 9, 0, 0}, {20, 79, 2, 2}});
        book.sheet().pageSetup().fitToPages = true;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // The second area's 1215 points decide: 698 / 0.57 = 1224.6 fits, 698 / 0.58 = 1203.4
        // does not.
        QCOMPARE(layout.frame().scale, 0.57);
        QCOMPARE(layout.pageCount(), 2);
        QCOMPARE(indices(layout.page(1).rows), range(20, 79));
    }

    void pageOrder_data() {
        QTest::addColumn<bool>("overFirst");
        QTest::addColumn<QList<QPoint>>("corners");
        QTest::newRow("down then over")
            << false << QList<QPoint>{{0, 0}, {0, 34}, {10, 0}, {10, 34}};
        QTest::newRow("over then down")
            << true << QList<QPoint>{{0, 0}, {10, 0}, {0, 34}, {10, 34}};
    }

    void pageOrder() {
        QFETCH(bool, overFirst);
        QFETCH(QList<QPoint>, corners);
        Book book;
        book.area(0, 49, 0, 14);
        if (overFirst)
            book.sheet().pageSetup().pageOrder = xls::PageOrder::OverThenDown;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(pageCorners(layout), corners);
    }

    void centring() {
        Book book;
        book.area(0, 2, 0, 1);
        book.sheet().pageSetup().centerHorizontally = true;
        const SheetMetrics metrics(book.sheet(), kDigit);
        {
            const PageLayout layout(book.workbook, book.sheet(), metrics);
            // A block of 96 by 60.75 points: 54 + (487 - 96) / 2 across.
            QCOMPARE(layout.page(0).origin, QPointF(249.5, 72));
        }
        book.sheet().pageSetup().centerVertically = true;
        book.sheet().pageSetup().scale = 200;
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // Scaled to 192 by 121.5: 54 + (487 - 192) / 2 and 72 + (698 - 121.5) / 2.
        QCOMPARE(layout.page(0).origin, QPointF(201.5, 360.25));
        QCOMPARE(layout.page(0).blockSize, QSizeF(96, 60.75));
    }

    void printTitlesRepeatWithoutDuplicates() {
        Book book;
        book.area(0, 99, 0, 0);
        book.sheet().setTitleRows({0, 1, 0, 255});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // Each page: 2 title rows and 32 rows of its own.
        QCOMPARE(layout.pageCount(), 4);
        const LaidOutPage first = layout.page(0);
        QCOMPARE(indices(first.rows), range(0, 33));
        QVERIFY(first.rows[0].title && first.rows[1].title && !first.rows[2].title);
        const LaidOutPage second = layout.page(1);
        QCOMPARE(indices(second.rows), (QList<int>{0, 1} + range(34, 65)));
        QVERIFY(second.rows[1].title && !second.rows[2].title);
        QCOMPARE(second.rows[2].offset, 40.5);
        QCOMPARE(indices(layout.page(3).rows), (QList<int>{0, 1} + range(98, 99)));
    }

    void printTitlesAboveTheAreaTakeRoomOnEveryPage() {
        Book book;
        book.area(5, 40, 0, 12);
        book.sheet().setTitleRows({0, 0, 0, 255});
        book.sheet().setTitleColumns({0, 0, 1, 1}); // column B
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // Rows: 33 of their own under the title row. Columns: the area starts left of the
        // title column, so page 1 shows it in place with 10 columns; later pages repeat it.
        QCOMPARE(pageCorners(layout), (QList<QPoint>{{0, 5}, {0, 38}, {10, 5}, {10, 38}}));
        const LaidOutPage first = layout.page(0);
        QCOMPARE(indices(first.rows), QList<int>{0} + range(5, 37));
        QCOMPARE(indices(first.columns), range(0, 9));
        QVERIFY(!first.columns[1].title);
        const LaidOutPage third = layout.page(2);
        QCOMPARE(indices(third.columns), QList<int>{1} + range(10, 12));
        QVERIFY(third.columns[0].title);
        QCOMPARE(third.columns[1].offset, 48.0);
    }

    void printTitlesInsideThePageRepeatOnlyAfterIt() {
        Book book;
        book.area(0, 49, 0, 0);
        book.sheet().setTitleRows({3, 4, 0, 255});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // Page 1 shows rows 3 and 4 in place and holds 34 rows; page 2 repeats them.
        QCOMPARE(layout.pageCount(), 2);
        const LaidOutPage first = layout.page(0);
        QCOMPARE(indices(first.rows), range(0, 33));
        QVERIFY(!first.rows[3].title);
        QCOMPARE(indices(layout.page(1).rows), (QList<int>{3, 4} + range(34, 49)));
        QVERIFY(layout.page(1).rows[0].title);
        // An area made of the title rows alone prints them once, as its own rows.
        book.area(3, 4, 0, 0);
        const PageLayout titlesOnly(book.workbook, book.sheet(), metrics);
        QCOMPARE(titlesOnly.pageCount(), 1);
        QCOMPARE(indices(titlesOnly.page(0).rows), (QList<int>{3, 4}));
        QVERIFY(!titlesOnly.page(0).rows[0].title);
    }

    // Titles that would fill the page are not repeated, and a page of rows a pixel high at the
    // smallest scale lays out no more slots than one page may hold.
    void pagesStayBoundedWhateverTheirRows() {
        Book book;
        book.area(0, 99, 0, 0);
        book.sheet().setTitleRows({0, 49, 0, 255});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout tallTitles(book.workbook, book.sheet(), metrics);
        // 34 rows a page, as without titles.
        QCOMPARE(tallTitles.pageCount(), 3);
        QCOMPARE(indices(tallTitles.page(1).rows), range(34, 67));

        Book thinRows;
        thinRows.sheet().setDefaultRowHeight(15, false);
        thinRows.sheet().pageSetup().scale = 10;
        thinRows.sheet().setPrintAreas({{0, 65535, 0, 255}});
        thinRows.sheet().setCells(
            {xls::Cell::number(0, 0, 0, 1), xls::Cell::number(65535, 255, 0, 1)});
        const SheetMetrics thin(thinRows.sheet(), kDigit);
        const PageLayout layout(thinRows.workbook, thinRows.sheet(), thin);
        const LaidOutPage page = layout.page(0);
        QCOMPARE(page.rows.size(), report::kMostSlotsPerPage / page.columns.size());
    }

    // Without a print area the printed range starts at A1, as the spreadsheet's does, and ends
    // at the last cell that prints.
    void printedRangeStartsAtA1() {
        Book book;
        book.sheet().setCells({xls::Cell::text(2, 1, 0, QStringLiteral("a")),
                               xls::Cell::number(5, 3, 0, 1.5),
                               xls::Cell::blank(8, 6, 1),     // a border prints
                               xls::Cell::blank(20, 10, 0)}); // a plain blank does not
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.pageCount(), 1);
        QCOMPARE(indices(layout.page(0).rows), range(0, 8));
        QCOMPARE(indices(layout.page(0).columns), range(0, 6));
    }

    void formatsThatPrint_data() {
        QTest::addColumn<xls::CellFormat>("format");
        QTest::addColumn<bool>("prints");
        xls::CellFormat plain;
        QTest::newRow("plain") << plain << false;
        xls::CellFormat filled;
        filled.fillPattern = 1;
        QTest::newRow("fill") << filled << true;
        xls::CellFormat left;
        left.left.style = xls::BorderStyle::Hair;
        QTest::newRow("left border") << left << true;
        xls::CellFormat diagonalStyleOnly;
        diagonalStyleOnly.diagonal.style = xls::BorderStyle::Thin;
        QTest::newRow("diagonal without a direction") << diagonalStyleOnly << false;
        xls::CellFormat diagonal = diagonalStyleOnly;
        diagonal.diagonalUp = true;
        QTest::newRow("diagonal") << diagonal << true;
        xls::CellFormat bold;
        bold.fontIndex = 1;
        bold.horizontal = xls::HorizontalAlignment::Center;
        QTest::newRow("font and alignment only") << bold << false;
    }

    void formatsThatPrint() {
        QFETCH(xls::CellFormat, format);
        QFETCH(bool, prints);
        Book book;
        book.workbook.setCellFormats({xls::CellFormat{}, format});
        book.sheet().setCells(
            {xls::Cell::text(0, 0, 0, QStringLiteral("a")), xls::Cell::blank(4, 2, 1)});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(indices(layout.page(0).rows).last(), prints ? 4 : 0);
        QCOMPARE(indices(layout.page(0).columns).last(), prints ? 2 : 0);
    }

    void usedRangeTakesWholeMergedAreas() {
        Book book;
        book.sheet().setCells({xls::Cell::text(1, 1, 0, QStringLiteral("a"))});
        book.sheet().setMergedRanges({{1, 3, 1, 4}});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(indices(layout.page(0).rows), range(0, 3));
        QCOMPARE(indices(layout.page(0).columns), range(0, 4));
    }

    void nothingToPrint() {
        Book book;
        const SheetMetrics metrics(book.sheet(), kDigit);
        QCOMPARE(PageLayout(book.workbook, book.sheet(), metrics).pageCount(), 0);
        book.sheet().setCells({xls::Cell::blank(3, 3, 0)});
        QCOMPARE(PageLayout(book.workbook, book.sheet(), metrics).pageCount(), 0);
        // A print area of hidden rows only.
        book.area(3, 3, 3, 3);
        xls::RowInfo hidden;
        hidden.row = 3;
        hidden.hidden = true;
        book.sheet().setRows({hidden});
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.pageCount(), 0);
        QVERIFY(layout.page(0).rows.isEmpty());
    }

    // Row 40 is hidden and row 2 is a print title, so pages of rows 0 to 99 start at rows 0,
    // 34 and 68 (the title takes a row's room after page 1). What prints sits at the given
    // positions (x column, y row); the corners are those of the pages printed.
    void blankPagesAreLeftOut_data() {
        QTest::addColumn<xls::CellRange>("area");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QList<QPoint>>("at");
        QTest::addColumn<QList<QPoint>>("corners");
        const QList<QPoint> none;
        QTest::newRow("whole column")
            << xls::CellRange{0, 65535, 1, 1} << "number" << QList<QPoint>{{1, 0}, {1, 100}}
            << QList<QPoint>{{1, 0}, {1, 68}};
        QTest::newRow("formula with an empty result")
            << xls::CellRange{0, 99, 0, 0} << "empty formula" << QList<QPoint>{{0, 50}}
            << QList<QPoint>{{0, 34}};
        QTest::newRow("fill alone") << xls::CellRange{0, 99, 0, 0} << "fill"
                                    << QList<QPoint>{{0, 80}} << QList<QPoint>{{0, 68}};
        QTest::newRow("error") << xls::CellRange{0, 99, 0, 0} << "error" << QList<QPoint>{{0, 99}}
                               << QList<QPoint>{{0, 68}};
        QTest::newRow("merged across a break")
            << xls::CellRange{0, 99, 0, 0} << "merged" << QList<QPoint>{{0, 30}}
            << QList<QPoint>{{0, 0}, {0, 34}};
        QTest::newRow("hidden row")
            << xls::CellRange{0, 99, 0, 0} << "number" << QList<QPoint>{{0, 40}} << none;
        QTest::newRow("title row only")
            << xls::CellRange{3, 99, 0, 0} << "number" << QList<QPoint>{{0, 2}} << none;
        QTest::newRow("title row the area starts with")
            << xls::CellRange{2, 99, 0, 0} << "number" << QList<QPoint>{{0, 2}, {0, 99}}
            << QList<QPoint>{{0, 3}, {0, 70}};
        QTest::newRow("plain blank")
            << xls::CellRange{0, 99, 0, 0} << "blank" << QList<QPoint>{{0, 10}} << none;
        QTest::newRow("beside the area")
            << xls::CellRange{0, 99, 0, 0} << "number" << QList<QPoint>{{1, 10}} << none;
        QTest::newRow("comment box across a break")
            << xls::CellRange{0, 99, 0, 0} << "comment" << QList<QPoint>{{0, 30}}
            << QList<QPoint>{{0, 0}, {0, 34}};
        QTest::newRow("hidden comment")
            << xls::CellRange{0, 99, 0, 0} << "hidden comment" << QList<QPoint>{{0, 30}} << none;
    }

    void blankPagesAreLeftOut() {
        QFETCH(xls::CellRange, area);
        QFETCH(QString, what);
        QFETCH(QList<QPoint>, at);
        QFETCH(QList<QPoint>, corners);
        Book book;
        xls::Sheet& sheet = book.sheet();
        sheet.setPrintAreas({area});
        sheet.setTitleRows({2, 2, 0, 255});
        xls::RowInfo hidden;
        hidden.row = 40;
        hidden.hidden = true;
        sheet.setRows({hidden});
        std::vector<xls::Cell> cells;
        for (const QPoint& p : at) {
            xls::Cell cell = what == "fill"    ? xls::Cell::blank(p.y(), p.x(), 2)
                             : what == "blank" ? xls::Cell::blank(p.y(), p.x(), 0)
                             : what == "error"
                                 ? xls::Cell::error(p.y(), p.x(), 0, xls::CellError::NotAvailable)
                                 : xls::Cell::number(p.y(), p.x(), 0, 1);
            if (what == "empty formula") {
                cell = xls::Cell::text(p.y(), p.x(), 0, QString());
                cell.setFormula(true);
            }
            if (what == "merged")
                sheet.setMergedRanges({{p.y(), p.y() + 6, p.x(), p.x()}});
            if (what.endsWith("comment")) {
                sheet.setObjects({commentBox({p.x(), 0, p.y(), 0, p.x() + 1, 0, p.y() + 6, 100},
                                             what == "comment")});
                continue;
            }
            cells.push_back(cell);
        }
        sheet.setCells(cells);
        sheet.pageSetup().comments = xls::CommentPrinting::AsDisplayed;
        const SheetMetrics metrics(sheet, kDigit);
        const PageLayout layout(book.workbook, sheet, metrics);
        QCOMPARE(pageCorners(layout), corners);
    }

    // Without a print area, the printed range takes in the cells a printed comment box covers;
    // a box ending at the very start of a column or row does not cover it.
    void commentBoxesWidenThePrintedRange_data() {
        QTest::addColumn<xls::ObjectAnchor>("anchor");
        QTest::addColumn<xls::CommentPrinting>("printing");
        QTest::addColumn<QList<QPoint>>("corners");
        QTest::addColumn<int>("lastColumn");
        QTest::addColumn<int>("lastRow");
        using P = xls::CommentPrinting;
        QTest::newRow("within a page") << xls::ObjectAnchor{4, 100, 2, 0, 7, 0, 5, 0}
                                       << P::AsDisplayed << QList<QPoint>{{0, 0}} << 6 << 4;
        QTest::newRow("past the first page")
            << xls::ObjectAnchor{8, 0, 40, 0, 12, 10, 42, 10} << P::AsDisplayed
            << QList<QPoint>{{0, 0}, {0, 34}, {10, 34}} << 9 << 42;
        QTest::newRow("listed at the end, not on the page")
            << xls::ObjectAnchor{8, 0, 40, 0, 12, 10, 42, 10} << P::AtEnd << QList<QPoint>{{0, 0}}
            << 0 << 0;
    }

    void commentBoxesWidenThePrintedRange() {
        QFETCH(xls::ObjectAnchor, anchor);
        QFETCH(xls::CommentPrinting, printing);
        QFETCH(QList<QPoint>, corners);
        QFETCH(int, lastColumn);
        QFETCH(int, lastRow);
        Book book;
        xls::Sheet& sheet = book.sheet();
        sheet.setCells({xls::Cell::number(0, 0, 0, 1)});
        sheet.setObjects({commentBox(anchor)});
        sheet.pageSetup().comments = printing;
        sheet.setTitleRows({2, 2, 0, 255});
        const SheetMetrics metrics(sheet, kDigit);
        const PageLayout layout(book.workbook, sheet, metrics);
        QCOMPARE(pageCorners(layout), corners);
        const LaidOutPage first = layout.page(0);
        QCOMPARE(indices(first.columns).last(), lastColumn);
        const LaidOutPage last = layout.page(layout.pageCount() - 1);
        QCOMPARE(indices(last.rows).last(), lastRow);
    }

    void breaksOfAnEmptySheetAddNoPage() {
        Book book;
        book.sheet().setPrintAreas({{0, 999, 0, 20}});
        for (int row = 10; row < 1000; row += 10)
            book.sheet().pageSetup().rowBreaks.append(row);
        book.sheet().pageSetup().columnBreaks = {3, 6};
        const SheetMetrics metrics(book.sheet(), kDigit);
        QCOMPARE(PageLayout(book.workbook, book.sheet(), metrics).pageCount(), 0);
    }

    void pageNumbersSkipBlankPages() {
        Book book;
        book.sheet().setPrintAreas({{0, 99, 0, 0}});
        book.sheet().setCells(
            {xls::Cell::number(0, 0, 0, 1), xls::Cell::blank(80, 0, 1)}); // pages 1 and 3
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.pageCount(), 2);
        QCOMPARE(layout.page(1, 5).number, 6);
        QCOMPARE(indices(layout.page(1).rows).first(), 68);
    }

    void severalPrintAreasPrintInTurn() {
        Book book;
        book.areas({{0, 39, 0, 1}, {10, 12, 3, 3}});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.pageCount(), 3);
        QCOMPARE(indices(layout.page(1).rows), range(34, 39));
        QCOMPARE(indices(layout.page(2).rows), range(10, 12));
        QCOMPARE(indices(layout.page(2).columns), QList<int>{3});
        QCOMPARE(layout.page(2, 1).number, 3);
    }

    void oversizedBandsGetAPageEach() {
        Book book;
        book.area(0, 2, 0, 0);
        xls::RowInfo huge;
        huge.row = 1;
        huge.height = 20000; // 1000 points
        book.sheet().setRows({huge});
        book.sheet().setColumns({{0, 0, 65535, false, 15}});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.pageCount(), 3);
        QCOMPARE(indices(layout.page(0).rows), QList<int>{0});
        QCOMPARE(indices(layout.page(1).rows), QList<int>{1});
        QCOMPARE(indices(layout.page(2).rows), QList<int>{2});
        QCOMPARE(indices(layout.page(1).columns), QList<int>{0});
    }

    void paper_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QSizeF>("size"); // in points, as the page is turned
        QTest::newRow("printer's default") << 0 << false << QSizeF(595, 842);
        QTest::newRow("letter") << 1 << false << QSizeF(612, 792);
        QTest::newRow("legal") << 5 << false << QSizeF(612, 1008);
        QTest::newRow("A3") << 8 << false << QSizeF(842, 1191);
        QTest::newRow("A4 landscape") << 9 << true << QSizeF(842, 595);
        QTest::newRow("A5") << 11 << false << QSizeF(420, 595);
        QTest::newRow("B4 JIS") << 12 << false << QSizeF(729, 1032);
        QTest::newRow("B5 JIS") << 13 << false << QSizeF(516, 729);
        QTest::newRow("A6") << 70 << false << QSizeF(297, 420);
        QTest::newRow("A4 fed sideways") << 77 << false << QSizeF(842, 595);
        QTest::newRow("unknown") << 9999 << false << QSizeF(595, 842);
    }

    void paper() {
        QFETCH(int, code);
        QFETCH(bool, landscape);
        QFETCH(QSizeF, size);
        Book book;
        book.area(0, 0, 0, 0);
        book.sheet().pageSetup().paperSize = code;
        if (landscape)
            book.sheet().pageSetup().orientation = xls::Orientation::Landscape;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        const QPageLayout& page = layout.frame().pageLayout;
        QCOMPARE(page.fullRect(QPageLayout::Point).size(), size);
        QCOMPARE(page.paintRect(QPageLayout::Point),
                 QRectF(54, 72, size.width() - 108, size.height() - 144));
    }

    void marginsAndHeaderFooterMargins() {
        Book book;
        book.area(0, 99, 0, 0);
        xls::PageSetup& setup = book.sheet().pageSetup();
        setup.topMargin = 2;
        setup.bottomMargin = 0.5;
        setup.leftMargin = 1;
        setup.headerMargin = 0.25;
        setup.footerMargin = 0.75;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.frame().headerMargin, 18.0);
        QCOMPARE(layout.frame().footerMargin, 54.0);
        QCOMPARE(layout.page(0).origin, QPointF(72, 144));
        // 842 - 144 - 36 = 662 points: 32 rows.
        QCOMPARE(indices(layout.page(1).rows).first(), 32);
    }

    void marginsLeavingNoRoomAreShrunk() {
        Book book;
        book.area(0, 0, 0, 0);
        xls::PageSetup& setup = book.sheet().pageSetup();
        setup.leftMargin = 10;
        setup.rightMargin = 0.75;
        setup.topMargin = 6;
        setup.bottomMargin = 6;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // 720 + 54 points across 595 become half of it, in the same proportion; 864 down
        // against 842 likewise.
        const QRectF printable = layout.frame().pageLayout.paintRect(QPageLayout::Point);
        QCOMPARE(printable.width(), 297.5);
        QCOMPARE(printable.left(), 720 * 297.5 / 774);
        QCOMPARE(printable.top(), 210.5);
        QCOMPARE(printable.height(), 421.0);
        QCOMPARE(layout.pageCount(), 1);
    }

    void pageNumbers() {
        Book book;
        book.area(0, 99, 0, 0);
        const SheetMetrics metrics(book.sheet(), kDigit);
        {
            const PageLayout layout(book.workbook, book.sheet(), metrics);
            QCOMPARE(layout.page(0).number, 1);
            QCOMPARE(layout.page(2, 7).number, 9);
        }
        book.sheet().pageSetup().firstPageNumber = 5;
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QCOMPARE(layout.page(0, 7).number, 5);
        QCOMPARE(layout.page(1, 7).number, 6);
    }

    void headingsTakeRoom() {
        Book book;
        book.area(0, 99, 0, 19);
        book.sheet().pageSetup().printHeadings = true;
        book.sheet().pageSetup().printGridlines = true;
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        QVERIFY(layout.frame().headings);
        QVERIFY(layout.frame().gridlines);
        const LaidOutPage page = layout.page(0);
        // Row numbers up to 100: 3 digits of 7 pixels and 5 of padding, 26 pixels.
        QCOMPARE(page.headingWidth, 19.5);
        QCOMPARE(page.headingHeight, 20.25);
        // 487 - 19.5 leaves room for 9 columns; 698 - 20.25 for 33 rows.
        QCOMPARE(indices(page.columns), range(0, 8));
        QCOMPARE(indices(page.rows), range(0, 32));
        QCOMPARE(page.columns[0].offset, 19.5);
        QCOMPARE(page.rows[0].offset, 20.25);
        QCOMPARE(page.blockSize, QSizeF(19.5 + 9 * 48, 20.25 + 33 * 20.25));
    }

    // Text flowing into empty neighbours widens the printed range to the last column it
    // reaches, and every page it reaches prints. Columns are 48 points, 10 a page.
    void textFlowsAcrossPageBreaks_data() {
        QTest::addColumn<QList<QList<double>>>("cells"); // row, column, reach left and right
        QTest::addColumn<QList<xls::CellRange>>("merges");
        QTest::addColumn<bool>("printArea"); // B1:L2
        QTest::addColumn<QList<QPoint>>("corners");
        QTest::addColumn<int>("last"); // the last column printed
        using Cells = QList<QList<double>>;
        using Merges = QList<xls::CellRange>;
        using Corners = QList<QPoint>;
        QTest::newRow("right past the range")
            << Cells{{0, 0, 0, 0}, {1, 2, 0, 50}} << Merges{} << false << Corners{{0, 0}} << 4;
        QTest::newRow("right across a break")
            << Cells{{0, 8, 0, 90}} << Merges{} << false << Corners{{0, 0}, {10, 0}} << 10;
        QTest::newRow("right across two breaks") << Cells{{0, 8, 0, 600}} << Merges{} << false
                                                 << Corners{{0, 0}, {10, 0}, {20, 0}} << 21;
        QTest::newRow("left across a break")
            << Cells{{0, 12, 150, 0}} << Merges{} << false << Corners{{0, 0}, {10, 0}} << 12;
        QTest::newRow("left within its page")
            << Cells{{0, 12, 50, 0}} << Merges{} << false << Corners{{10, 0}} << 12;
        QTest::newRow("left across two breaks") << Cells{{0, 22, 600, 0}} << Merges{} << false
                                                << Corners{{0, 0}, {10, 0}, {20, 0}} << 22;
        QTest::newRow("centred across a break")
            << Cells{{0, 10, 90, 90}} << Merges{} << false << Corners{{0, 0}, {10, 0}} << 12;
        QTest::newRow("centred across two breaks") << Cells{{0, 15, 300, 300}} << Merges{} << false
                                                   << Corners{{0, 0}, {10, 0}, {20, 0}} << 22;
        QTest::newRow("stopped by a filled cell")
            << Cells{{0, 8, 0, 600}, {0, 9, 0, 0}} << Merges{} << false << Corners{{0, 0}} << 9;
        QTest::newRow("stopped by a merged area")
            << Cells{{0, 8, 0, 600}} << Merges{{0, 0, 9, 9}} << false << Corners{{0, 0}} << 8;
        QTest::newRow("a merged cell stays")
            << Cells{{0, 8, 0, 150}} << Merges{{0, 0, 8, 9}} << false << Corners{{0, 0}} << 9;
        QTest::newRow("the sheet's last column")
            << Cells{{0, 254, 0, 500}} << Merges{} << false << Corners{{250, 0}} << 255;
        QTest::newRow("from the sheet's last column")
            << Cells{{0, 255, 100, 0}} << Merges{} << false << Corners{{250, 0}} << 255;
        QTest::newRow("the sheet's first column")
            << Cells{{0, 1, 500, 0}} << Merges{} << false << Corners{{0, 0}} << 1;
        QTest::newRow("only a row's ends can flow past it")
            << Cells{{0, 2, 0, 0}, {0, 3, 500, 500}, {0, 4, 0, 0}} << Merges{} << false
            << Corners{{0, 0}} << 4;
        QTest::newRow("cut at the print area's edge")
            << Cells{{0, 8, 0, 600}} << Merges{} << true << Corners{{1, 0}, {11, 0}} << 11;
        QTest::newRow("from outside the print area")
            << Cells{{0, 0, 0, 600}, {1, 1, 0, 0}} << Merges{} << true << Corners{{1, 0}} << 10;
    }

    void textFlowsAcrossPageBreaks() {
        QFETCH(QList<QList<double>>, cells);
        QFETCH(QList<xls::CellRange>, merges);
        QFETCH(bool, printArea);
        QFETCH(QList<QPoint>, corners);
        QFETCH(int, last);
        Book book;
        std::vector<xls::Cell> sheetCells;
        for (const QList<double>& cell : cells)
            sheetCells.push_back(
                xls::Cell::text(int(cell[0]), int(cell[1]), 0, QStringLiteral("a")));
        book.sheet().setCells(sheetCells);
        book.sheet().setMergedRanges(merges);
        if (printArea)
            book.sheet().setPrintAreas({{0, 1, 1, 11}});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const FixedReach reach(cells);
        const PageLayout layout(book.workbook, book.sheet(), metrics, &reach);
        QCOMPARE(pageCorners(layout), corners);
        QCOMPARE(layout.page(layout.pageCount() - 1).columns.last().index, last);
        // A cell between two filled ones has no room to flow: it is not measured.
        for (const auto& [row, column] : reach.m_measured) {
            const auto filled = [&, row = row](int at) {
                return std::any_of(cells.begin(), cells.end(), [&](const QList<double>& cell) {
                    return int(cell[0]) == row && int(cell[1]) == at;
                });
            };
            QVERIFY(!filled(column - 1) || !filled(column + 1));
        }
    }

    void hiddenRowsDoNotWidenThePrintedRange() {
        Book book;
        book.sheet().setCells({xls::Cell::text(0, 0, 0, QStringLiteral("a")),
                               xls::Cell::text(1, 0, 0, QStringLiteral("a"))});
        xls::RowInfo hidden;
        hidden.row = 1;
        hidden.hidden = true;
        book.sheet().setRows({hidden});
        const SheetMetrics metrics(book.sheet(), kDigit);
        const FixedReach reach({{1, 0, 0, 500}});
        const PageLayout layout(book.workbook, book.sheet(), metrics, &reach);
        QCOMPARE(indices(layout.page(0).columns), range(0, 0));
    }

    void longSheetIsLaidOutPageByPage() {
        Book book;
        book.area(0, 65535, 0, 0);
        const SheetMetrics metrics(book.sheet(), kDigit);
        const PageLayout layout(book.workbook, book.sheet(), metrics);
        // 65,536 rows at 34 a page.
        QCOMPARE(layout.pageCount(), 1928);
        QCOMPARE(indices(layout.page(1927).rows), range(65518, 65535));
    }
};

QTEST_GUILESS_MAIN(TestPageLayout)
#include "tst_PageLayout.moc"
