// Painting single pages of hand-made sheets, looked at pixel by pixel, and the font mapping.

#include "BiffBuilder.h"
#include "HandMadeSheet.h"
#include "OfficeArtBuilder.h"

#include "report/CellFonts.h"
#include "report/FontMapper.h"
#include "report/PageLayers.h"
#include "report/PagePainter.h"
#include "report/SheetMetrics.h"
#include "report/TextShaper.h"
#include "xls/CellText.h"
#include "xls/IconvCodePages.h"
#include "xls/Workbook.h"
#include "xls/WorkbookReader.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(xls::Script)
Q_DECLARE_METATYPE(xls::CommentPrinting)

namespace {

constexpr double kZoom = 3; // image pixels a point
using handmade::Book;
using handmade::kColumn;
using handmade::kOrigin;
using handmade::kRow;
using handmade::pageOf;

class Painted {
public:
    Painted(Book& book, const report::LaidOutPage& page, bool gridlines = false,
            bool headings = false)
        : m_image(static_cast<int>(400 * kZoom), static_cast<int>(120 * kZoom),
                  QImage::Format_RGB32) {
        // 72 dots per inch: a font's points are the painter's units, as on the printer.
        m_image.setDotsPerMeterX(2835);
        m_image.setDotsPerMeterY(2835);
        m_image.fill(Qt::white);
        const report::SheetMetrics metrics(book.sheet(), 7);
        const report::FontMapper mapper;
        const report::TextShaper shaper;
        const report::CellFonts fonts(book.workbook, mapper, shaper);
        const xls::CellText cellText(book.workbook);
        const report::PagePainter painter(book.workbook, book.sheet(), metrics, fonts, cellText);
        report::PageFrame frame;
        frame.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                       QPageLayout::Point);
        frame.gridlines = gridlines;
        frame.headings = headings;
        QPainter device(&m_image);
        device.scale(kZoom, kZoom);
        painter.paint(device, frame, page, report::HeaderFooterFields{});
    }

    // The colour at a point of the page, in points.
    QColor at(double x, double y) const {
        return m_image.pixelColor(static_cast<int>(std::lround(x * kZoom)),
                                  static_cast<int>(std::lround(y * kZoom)));
    }
    // How many pixels of a rectangle (in points, on the page) are not white.
    int ink(const QRectF& rect) const {
        return count(rect, [](QRgb pixel) { return pixel != qRgb(255, 255, 255); });
    }
    // How many pixels of a rectangle are dark, as text is.
    int dark(const QRectF& rect) const {
        return count(rect, [](QRgb pixel) { return QColor(pixel).lightness() < 80; });
    }
    // The lowest row of a rectangle with a dark pixel, in points; the rectangle's top if none.
    double inkBottom(const QRectF& rect) const {
        for (double y = rect.bottom(); y > rect.top(); y -= 1 / kZoom) {
            if (dark(QRectF(rect.left(), y, rect.width(), 1 / kZoom)) > 0)
                return y;
        }
        return rect.top();
    }
    // How many pixels of a rectangle have a colour near to a given one.
    int near(const QRectF& rect, const QColor& color) const {
        return count(rect, [&color](QRgb pixel) {
            const QColor c(pixel);
            return std::abs(c.red() - color.red()) < 40 &&
                   std::abs(c.green() - color.green()) < 40 &&
                   std::abs(c.blue() - color.blue()) < 40;
        });
    }

private:
    template <typename Test> int count(const QRectF& rect, Test test) const {
        int count = 0;
        const QRect pixels(
            static_cast<int>(rect.left() * kZoom), static_cast<int>(rect.top() * kZoom),
            static_cast<int>(rect.width() * kZoom), static_cast<int>(rect.height() * kZoom));
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                if (test(m_image.pixel(x, y)))
                    ++count;
            }
        }
        return count;
    }

    QImage m_image;
};

// The page rectangle of a cell slot, inset so that borders and gridlines stay outside.
QRectF inside(int rowSlot, int columnSlot, double inset = 3) {
    return QRectF(kOrigin.x() + columnSlot * kColumn + inset, kOrigin.y() + rowSlot * kRow + inset,
                  kColumn - 2 * inset, kRow - 2 * inset);
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

} // namespace

class ReportPaintingTest : public QObject {
    Q_OBJECT

private slots:
    void fillsAndBorders();
    void borderStylesDiffer();
    void bordersOfCellsOffThePage();
    void gridlinesAndHeadingsOnlyWhenAsked();
    void textFlowsIntoEmptyNeighboursOnly();
    void overflowingTextHidesGridlinesItCrosses();
    void rightAlignedTextFlowsLeft();
    void numbersDoNotFlow();
    void textStopsAtTheBlockEdge();
    void mergedAreaStartingOffThePage();
    void oddFormatsPaintSafely();
    void accountingUnderlineSpansTheCell();
    void scriptsSitOffTheBaseline_data();
    void scriptsSitOffTheBaseline();
    void commentBoxes_data();
    void commentBoxes();
    void pageOptions_data();
    void pageOptions();
    void mapsFontNames_data();
    void mapsFontNames();
    void measuresDigitWidths_data();
    void measuresDigitWidths();
    void headerFooterPictures_data();
    void headerFooterPictures();
};

void ReportPaintingTest::fillsAndBorders() {
    Book book;
    xls::CellFormat format;
    format.fillPattern = 1;
    format.patternColorIndex = 2;                 // red
    format.bottom = {xls::BorderStyle::Thick, 4}; // blue
    const int filled = book.addFormat(format);
    xls::CellFormat hatch;
    hatch.fillPattern = 11; // thin horizontal stripes
    hatch.patternColorIndex = 4;
    hatch.backgroundColorIndex = 5; // yellow
    const int hatched = book.addFormat(hatch);
    book.sheet().setCells({xls::Cell::blank(0, 0, filled), xls::Cell::blank(0, 2, hatched)});
    const Painted painted(book, pageOf({0, 1}, {0, 1, 2}));

    QVERIFY(near(painted.at(inside(0, 0).center().x(), inside(0, 0).center().y()), Qt::red));
    // The thick border straddles the cell's bottom edge.
    const double bottom = kOrigin.y() + kRow;
    QVERIFY(near(painted.at(kOrigin.x() + 30, bottom), Qt::blue));
    QVERIFY(near(painted.at(kOrigin.x() + 30, bottom + 0.8), Qt::blue));
    // Neither reaches the next cell.
    QCOMPARE(painted.ink(inside(1, 0)), 0);
    QCOMPARE(painted.ink(inside(0, 1, 1.5)), 0);
    // The hatch shows both its colours.
    const int blue = painted.near(inside(0, 2), Qt::blue);
    const int yellow = painted.near(inside(0, 2), Qt::yellow);
    QVERIFY2(blue > 0 && yellow > blue, qPrintable(QStringLiteral("%1 %2").arg(blue).arg(yellow)));
}

void ReportPaintingTest::bordersOfCellsOffThePage() {
    Book book;
    xls::CellFormat topBorder;
    topBorder.top = {xls::BorderStyle::Thick, 4}; // blue
    xls::CellFormat leftBorder;
    leftBorder.left = {xls::BorderStyle::Thick, 2}; // red
    const int top = book.addFormat(topBorder);
    const int left = book.addFormat(leftBorder);
    // Below the page's last row, and right of its last column.
    book.sheet().setCells({xls::Cell::blank(1, 0, top), xls::Cell::blank(0, 2, left)});
    const Painted painted(book, pageOf({0}, {0, 1}));
    QVERIFY(painted.near(QRectF(kOrigin.x() + 5, kOrigin.y() + kRow - 0.5, 40, 1), Qt::blue) > 0);
    QVERIFY(painted.near(QRectF(kOrigin.x() + 2 * kColumn - 0.5, kOrigin.y() + 5, 1, 10), Qt::red) >
            0);
    // Nothing on the edges that no neighbour borders.
    QCOMPARE(painted.ink(QRectF(kOrigin.x() + kColumn + 5, kOrigin.y() + kRow - 0.5, 40, 1)), 0);
}

void ReportPaintingTest::borderStylesDiffer() {
    // Solid lines are unbroken, dashes and dots are not, and thicker styles are wider.
    const QPen thin = report::borderPen(int(xls::BorderStyle::Thin), Qt::black);
    const QPen medium = report::borderPen(int(xls::BorderStyle::Medium), Qt::black);
    const QPen thick = report::borderPen(int(xls::BorderStyle::Thick), Qt::black);
    const QPen hair = report::borderPen(int(xls::BorderStyle::Hair), Qt::black);
    QVERIFY(hair.widthF() < thin.widthF() && thin.widthF() < medium.widthF() &&
            medium.widthF() < thick.widthF());
    QCOMPARE(thin.style(), Qt::SolidLine);
    QCOMPARE(report::borderPen(int(xls::BorderStyle::None), Qt::black).style(), Qt::NoPen);
    QList<QList<qreal>> patterns;
    for (const auto style : {xls::BorderStyle::Dashed, xls::BorderStyle::Dotted,
                             xls::BorderStyle::DashDot, xls::BorderStyle::DashDotDot,
                             xls::BorderStyle::MediumDashed, xls::BorderStyle::SlantedDashDot}) {
        const QPen pen = report::borderPen(int(style), Qt::red);
        QCOMPARE(pen.color(), QColor(Qt::red));
        QVERIFY(!pen.dashPattern().isEmpty());
        QVERIFY2(!patterns.contains(pen.dashPattern()), "two styles share a dash pattern");
        patterns.append(pen.dashPattern());
    }
    QCOMPARE(report::borderPen(int(xls::BorderStyle::MediumDashDot), Qt::black).widthF(),
             medium.widthF());
}

void ReportPaintingTest::gridlinesAndHeadingsOnlyWhenAsked() {
    Book book;
    book.sheet().setCells({xls::Cell::text(0, 0, 0, QString())});
    const auto page = pageOf({0, 1}, {0, 1});
    const double edgeX = kOrigin.x() + kColumn;
    const double midY = kOrigin.y() + kRow / 2;
    QCOMPARE(Painted(book, page).ink(QRectF(edgeX - 1, midY - 2, 2, 4)), 0);
    QVERIFY(Painted(book, page, true).ink(QRectF(edgeX - 1, midY - 2, 2, 4)) > 0);

    auto headed = page;
    headed.headingWidth = 20;
    headed.headingHeight = 15;
    for (auto& band : headed.rows)
        band.offset += 15;
    for (auto& band : headed.columns)
        band.offset += 20;
    headed.blockSize += QSizeF(20, 15);
    const Painted withHeadings(book, headed, false, true);
    // "A" above the first column, "1" left of the first row.
    QVERIFY(withHeadings.ink(QRectF(kOrigin.x() + 20 + 25, kOrigin.y() + 3, 10, 9)) > 0);
    QVERIFY(withHeadings.ink(QRectF(kOrigin.x() + 5, kOrigin.y() + 15 + 4, 10, 12)) > 0);
    QCOMPARE(Painted(book, headed).ink(QRectF(kOrigin.x() + 20 + 25, kOrigin.y() + 3, 10, 9)), 0);
}

void ReportPaintingTest::textFlowsIntoEmptyNeighboursOnly() {
    Book book;
    const QString longText = QStringLiteral("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM");
    // Row 0: B empty, so A's text flows over B and C. Row 1: B holds a blank text, which
    // stops it.
    book.sheet().setCells({xls::Cell::text(0, 0, 0, longText), xls::Cell::text(1, 0, 0, longText),
                           xls::Cell::text(1, 1, 0, QStringLiteral(" "))});
    const Painted painted(book, pageOf({0, 1}, {0, 1, 2}));
    QVERIFY(painted.ink(inside(0, 0, 1)) > 0);
    QVERIFY(painted.ink(inside(0, 1, 1)) > 0);
    QVERIFY(painted.ink(inside(0, 2, 1)) > 0);
    QVERIFY(painted.ink(inside(1, 0, 1)) > 0);
    QCOMPARE(painted.ink(inside(1, 1, 0.5)), 0);
    QCOMPARE(painted.ink(inside(1, 2, 0.5)), 0);
}

void ReportPaintingTest::overflowingTextHidesGridlinesItCrosses() {
    Book book;
    xls::CellFormat bordered;
    bordered.right = {xls::BorderStyle::Thin, 2}; // red
    const int redRight = book.addFormat(bordered);
    // About a column and a half wide: from A it reaches into B, not C.
    const QString text = QStringLiteral("MMMMMMMMMMM");
    // Row 0: B empty. Row 1: B holds a blank text, so A's text stays in A. Row 2: as row 0,
    // with a border on A's right edge.
    book.sheet().setCells({xls::Cell::text(0, 0, 0, text), xls::Cell::text(1, 0, 0, text),
                           xls::Cell::text(1, 1, 0, QStringLiteral(" ")),
                           xls::Cell::text(2, 0, redRight, text)});
    const Painted painted(book, pageOf({0, 1, 2}, {0, 1, 2}), true);
    // A strip of a vertical gridline, in the top of a row where no text is.
    const auto vertical = [](int rowSlot, int edge) {
        return QRectF(kOrigin.x() + edge * kColumn - 1, kOrigin.y() + rowSlot * kRow + 2, 2, 4);
    };
    QVERIFY(painted.ink(inside(0, 1, 1)) > 0);
    QCOMPARE(painted.ink(vertical(0, 1)), 0);
    QVERIFY(painted.ink(vertical(0, 2)) > 0);
    QVERIFY(painted.ink(vertical(0, 0)) > 0);
    // The horizontal gridlines above and below the text still run under it.
    const auto horizontal = [](int rowEdge) {
        return QRectF(kOrigin.x() + kColumn + 5, kOrigin.y() + rowEdge * kRow - 1, kColumn - 10, 2);
    };
    QVERIFY(painted.ink(horizontal(0)) > 0);
    QVERIFY(painted.ink(horizontal(1)) > 0);
    // A text that does not flow leaves its gridline.
    QVERIFY(painted.ink(vertical(1, 1)) > 0);
    // A border where the text flows is still drawn.
    QVERIFY(painted.near(vertical(2, 1), Qt::red) > 0);
    QVERIFY(painted.ink(inside(2, 1, 1)) > 0);
}

void ReportPaintingTest::rightAlignedTextFlowsLeft() {
    Book book;
    xls::CellFormat right;
    right.horizontal = xls::HorizontalAlignment::Right;
    const int format = book.addFormat(right);
    book.sheet().setCells({xls::Cell::text(0, 2, format, QStringLiteral("MMMMMMMMMMMMMMMMMMMM"))});
    const Painted painted(book, pageOf({0}, {0, 1, 2}));
    QVERIFY(painted.ink(inside(0, 1, 1)) > 0);
    QVERIFY(painted.ink(inside(0, 2, 1)) > 0);
}

void ReportPaintingTest::numbersDoNotFlow() {
    Book book;
    book.sheet().setCells({xls::Cell::number(0, 0, 0, 1234567890123456.0)});
    const Painted painted(book, pageOf({0}, {0, 1}));
    // Shown as # marks inside its own cell.
    QVERIFY(painted.ink(inside(0, 0, 1)) > 0);
    QCOMPARE(painted.ink(inside(0, 1, 0.5)), 0);
}

void ReportPaintingTest::textStopsAtTheBlockEdge() {
    Book book;
    book.sheet().setCells(
        {xls::Cell::text(0, 1, 0, QStringLiteral("MMMMMMMMMMMMMMMMMMMMMMMMMMMM"))});
    // Column B is the last on the page: its text must not run beyond the block.
    const Painted painted(book, pageOf({0}, {0, 1}));
    QVERIFY(painted.ink(inside(0, 1, 1)) > 0);
    const double blockRight = kOrigin.x() + 2 * kColumn;
    QCOMPARE(painted.ink(QRectF(blockRight + 0.5, kOrigin.y(), 100, kRow)), 0);
}

void ReportPaintingTest::mergedAreaStartingOffThePage() {
    Book book;
    xls::CellFormat format;
    format.fillPattern = 1;
    format.patternColorIndex = 3; // green
    format.horizontal = xls::HorizontalAlignment::Center;
    const int filled = book.addFormat(format);
    // The merge A1:D1 with its value in A1; the page shows only columns C and D.
    book.sheet().setCells({xls::Cell::text(0, 0, filled, QStringLiteral("WWWWWWWWWW")),
                           xls::Cell::blank(0, 1, filled), xls::Cell::blank(0, 2, filled),
                           xls::Cell::blank(0, 3, filled)});
    book.sheet().setMergedRanges({{0, 0, 0, 3}});
    xls::ColumnInfo columns;
    columns.firstColumn = 0;
    columns.lastColumn = 3;
    columns.width = 2908; // 80 pixels, 60 points, with a digit of 7 pixels
    book.sheet().setColumns({columns});
    const Painted painted(book, pageOf({0}, {2, 3}));
    // The fill covers both columns of the page.
    QVERIFY(near(painted.at(kOrigin.x() + 5, kOrigin.y() + 2), Qt::green));
    QVERIFY(near(painted.at(kOrigin.x() + 115, kOrigin.y() + 2), Qt::green));
    // Centred over A:D, the text is centred on the page's left edge: its right half shows
    // in column C, none reaches the right half of column D.
    QVERIFY(painted.dark(QRectF(kOrigin.x() + 1, kOrigin.y() + 4, 19, 14)) > 0);
    QCOMPARE(painted.dark(QRectF(kOrigin.x() + 90, kOrigin.y() + 4, 29, 14)), 0);
}

void ReportPaintingTest::oddFormatsPaintSafely() {
    // What a damaged or unusual file may hold: values out of their ranges, merged ranges
    // reversed and overlapping, colours that name nothing. The page still paints.
    Book book;
    xls::Font tiny;
    tiny.height = 0;
    tiny.colorIndex = 9999;
    book.workbook.setFonts({xls::Font{}, tiny});
    xls::CellFormat odd;
    odd.fontIndex = 1;
    odd.rotation = 200;
    odd.indent = 1000;
    odd.fillPattern = 40;
    odd.patternColorIndex = 5000;
    odd.backgroundColorIndex = -3;
    odd.left = {static_cast<xls::BorderStyle>(99), 77777};
    odd.horizontal = static_cast<xls::HorizontalAlignment>(42);
    odd.vertical = static_cast<xls::VerticalAlignment>(42);
    const int oddFormat = book.addFormat(odd);
    xls::CellFormat stacked;
    stacked.rotation = 255;
    stacked.shrinkToFit = true;
    stacked.wrap = true;
    const int stackedFormat = book.addFormat(stacked);
    book.sheet().setCells({xls::Cell::text(0, 0, oddFormat, QStringLiteral("odd")),
                           xls::Cell::number(0, 1, 999, std::nan("")),
                           xls::Cell::number(0, 2, 0, -1e308),
                           xls::Cell::text(1, 0, stackedFormat, QStringLiteral("\n\r\n")),
                           xls::Cell::text(1, 1, 0, QString(20000, QChar(u'漢'))),
                           xls::Cell::error(1, 2, 0, xls::CellError::NotAvailable)});
    book.sheet().setMergedRanges({{1, 0, 2, 0}, {0, 1, 0, 2}, {0, 0, 0, 1}, {0, 65535, 0, 255}});
    const Painted painted(book, pageOf({0, 1}, {0, 1, 2}));
    QVERIFY(painted.ink(QRectF(kOrigin, QSizeF(3 * kColumn, 2 * kRow))) > 0);
    QCOMPARE(painted.ink(QRectF(kOrigin.x() + 3 * kColumn + 2, 0, 100, 120)), 0);
}

void ReportPaintingTest::accountingUnderlineSpansTheCell() {
    Book book;
    xls::Font underlined;
    underlined.underline = xls::Underline::DoubleAccounting;
    xls::Font single;
    single.underline = xls::Underline::Single;
    book.workbook.setFonts({xls::Font{}, underlined, single});
    xls::CellFormat accounting;
    accounting.fontIndex = 1;
    accounting.vertical = xls::VerticalAlignment::Center;
    xls::CellFormat plain;
    plain.fontIndex = 2;
    plain.vertical = xls::VerticalAlignment::Center;
    book.sheet().setCells({xls::Cell::text(0, 0, book.addFormat(accounting), QStringLiteral("i")),
                           xls::Cell::text(1, 0, book.addFormat(plain), QStringLiteral("i"))});
    const Painted painted(book, pageOf({0, 1}, {0}));
    // Under the right part of the cell, far from the narrow text: only the accounting
    // underline reaches there.
    QVERIFY(painted.dark(QRectF(kOrigin.x() + 40, kOrigin.y() + 2, 15, kRow - 4)) > 0);
    QCOMPARE(painted.dark(QRectF(kOrigin.x() + 40, kOrigin.y() + kRow + 2, 15, kRow - 4)), 0);
    QVERIFY(painted.dark(QRectF(kOrigin.x() + 1, kOrigin.y() + kRow + 2, 10, kRow - 4)) > 0);
}

void ReportPaintingTest::scriptsSitOffTheBaseline_data() {
    QTest::addColumn<xls::Script>("script");
    QTest::addColumn<double>("least"); // how far "22" sits below "HH", in points
    QTest::addColumn<double>("most");
    QTest::newRow("superscript raised") << xls::Script::Superscript << -4.0 << -2.0;
    QTest::newRow("subscript lowered") << xls::Script::Subscript << 1.0 << 2.5;
    QTest::newRow("normal on the baseline") << xls::Script::Normal << -0.5 << 0.5;
}

void ReportPaintingTest::scriptsSitOffTheBaseline() {
    QFETCH(xls::Script, script);
    QFETCH(double, least);
    QFETCH(double, most);
    Book book;
    xls::Font scripted;
    scripted.script = script;
    book.workbook.setFonts({xls::Font{}, scripted});
    book.workbook.richTexts().push_back({{{2, 1}}, std::nullopt});
    xls::CellFormat centred;
    centred.vertical = xls::VerticalAlignment::Center;
    book.sheet().setCells({xls::Cell::text(0, 0, book.addFormat(centred), "HH22", 0)});
    const Painted painted(book, pageOf({0}, {0}));
    // "HH" takes 14.4 points from the cell's padding, "22" the next 7 or more.
    const double hh = painted.inkBottom(QRectF(kOrigin.x() + 3, kOrigin.y(), 10, kRow));
    const double twos = painted.inkBottom(QRectF(kOrigin.x() + 17, kOrigin.y(), 5, kRow));
    QVERIFY2(twos - hh >= least && twos - hh <= most, qPrintable(QString::number(twos - hh)));
}

void ReportPaintingTest::commentBoxes_data() {
    QTest::addColumn<xls::CommentPrinting>("printing");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QList<int>>("rows"); // the page's rows; row 0 a print title when first
    QTest::addColumn<QRectF>("expected"); // the box on the page, in points; empty: none
    using P = xls::CommentPrinting;
    // The box: from column 1 at half its width and row 5 at half its height to the start of
    // column 3 and of row 8.
    const QRectF box(kOrigin.x() + 90, kOrigin.y() + kRow / 2, 90, kRow * 2.5);
    QTest::newRow("on the page") << P::AsDisplayed << true << QList<int>{5, 6, 7, 8} << box;
    QTest::newRow("under a title row")
        << P::AsDisplayed << true << QList<int>{0, 5, 6, 7, 8} << box.translated(0, kRow);
    // Rows 3 and 4 lie above the page: the box's top is cut at the page's first row.
    QTest::newRow("starting above the page")
        << P::AsDisplayed << true << QList<int>{6, 7, 8}
        << QRectF(box.left(), kOrigin.y(), box.width(), 2 * kRow);
    QTest::newRow("hidden") << P::AsDisplayed << false << QList<int>{5, 6, 7, 8} << QRectF();
    QTest::newRow("listed at the end") << P::AtEnd << true << QList<int>{5, 6, 7, 8} << QRectF();
    QTest::newRow("not printed") << P::None << true << QList<int>{5, 6, 7, 8} << QRectF();
}

// A comment box paints its fill and border where its anchor puts it on the page, above the
// cells, cut at the page's own rows; only a shown comment of a sheet printing comments as
// displayed paints.
void ReportPaintingTest::commentBoxes() {
    QFETCH(xls::CommentPrinting, printing);
    QFETCH(bool, shown);
    QFETCH(QList<int>, rows);
    QFETCH(QRectF, expected);
    Book book;
    xls::Sheet& sheet = book.sheet();
    // Rows and columns measure as the hand-made bands do.
    sheet.setDefaultRowHeight(static_cast<int>(kRow * 20), false);
    xls::ColumnInfo columns;
    columns.lastColumn = 255;
    columns.width = 2908; // 80 pixels, 60 points, with a digit of 7 pixels
    sheet.setColumns({columns});
    sheet.pageSetup().comments = printing;
    xls::CellFormat filled;
    filled.fillPattern = 1;
    filled.patternColorIndex = 4; // blue, under the box
    sheet.setCells({xls::Cell::blank(6, 1, book.addFormat(filled))});
    xls::SheetObject comment;
    comment.kind = xls::ObjectKind::Comment;
    comment.anchor = {1, 512, 5, 128, 3, 0, 8, 0};
    comment.fill.color.rgb = qRgb(0xFF, 0xFF, 0x00);
    comment.line.color.rgb = qRgb(0xFF, 0x00, 0x00);
    comment.line.widthEmu = 3 * 12700;
    comment.text = xls::ObjectText{};
    comment.text->text = QStringLiteral("MMMM");
    comment.note = xls::CommentNote{4, 0, shown, {}};
    sheet.setObjects({comment});
    const Painted painted(book, pageOf(rows, {0, 1, 2, 3, 4}, rows.first() == 0 ? 1 : 0));

    // The box covers the right half of the filled cell B7.
    const QPointF underBox(kOrigin.x() + kColumn + 50, kOrigin.y() + kRow * rows.indexOf(6) + 10);
    if (expected.isEmpty()) {
        QVERIFY(near(painted.at(underBox.x(), underBox.y()), Qt::blue));
        QCOMPARE(painted.near(QRectF(kOrigin, QSizeF(380, 100)), Qt::red), 0);
        return;
    }
    // Filled above the cell's own fill; the border along its edges; nothing beyond them.
    QVERIFY(near(painted.at(underBox.x(), underBox.y()), Qt::yellow));
    QVERIFY(near(painted.at(expected.left(), expected.center().y()), Qt::red));
    QVERIFY(near(painted.at(expected.right(), expected.center().y()), Qt::red));
    QVERIFY(near(painted.at(expected.center().x(), expected.bottom()), Qt::red));
    QCOMPARE(painted.near(QRectF(kOrigin.x(), kOrigin.y(), 400, expected.top() - kOrigin.y() - 2),
                          Qt::red),
             0);
    QCOMPARE(painted.near(QRectF(expected.right() + 2, kOrigin.y(), 100, 100), Qt::red), 0);
    // The text, dark, at the box's top left inside its margins.
    if (expected.top() > kOrigin.y())
        QVERIFY(painted.dark(QRectF(expected.topLeft() + QPointF(8, 4), QSizeF(25, 8))) > 0);
}

void ReportPaintingTest::pageOptions_data() {
    QTest::addColumn<bool>("blackAndWhite");
    QTest::addColumn<bool>("draft");
    QTest::addColumn<bool>("gridlines");
    QTest::addColumn<QColor>("shapeFill"); // white: no shape
    QTest::addColumn<QColor>("shapeLine");
    QTest::addColumn<QColor>("header");
    const QColor white(Qt::white);
    QTest::newRow("in colour") << false << false << true << QColor(Qt::yellow) << QColor(Qt::red)
                               << QColor(Qt::red);
    QTest::newRow("black and white")
        << true << false << true << white << QColor(Qt::black) << QColor(Qt::black);
    QTest::newRow("draft") << false << true << false << white << white << QColor(Qt::red);
}

// A sheet printing its gridlines, with a yellow rectangle outlined in red over B2:C4 and a
// red (&K) header: black and white draws the shape white with a black outline and the header
// black; draft quality leaves out the gridlines and the shape.
void ReportPaintingTest::pageOptions() {
    QFETCH(bool, blackAndWhite);
    QFETCH(bool, draft);
    QFETCH(bool, gridlines);
    QFETCH(QColor, shapeFill);
    QFETCH(QColor, shapeLine);
    QFETCH(QColor, header);
    Book book;
    xls::Sheet& sheet = book.sheet();
    sheet.setDefaultRowHeight(static_cast<int>(kRow * 20), false);
    xls::ColumnInfo columns;
    columns.lastColumn = 255;
    columns.width = 2908; // 60 points, as the hand-made bands
    sheet.setColumns({columns});
    sheet.setCells({xls::Cell::text(0, 0, 0, QStringLiteral("x"))});
    xls::SheetObject shape;
    shape.kind = xls::ObjectKind::Rectangle;
    shape.shapeType = 1;
    shape.anchor = {1, 0, 1, 0, 3, 0, 4, 0};
    shape.fill.color.rgb = qRgb(0xFF, 0xFF, 0x00);
    shape.line.color.rgb = qRgb(0xFF, 0x00, 0x00);
    shape.line.widthEmu = 3 * 12700;
    sheet.setObjects({shape});
    sheet.pageSetup().header = QStringLiteral("&KFF0000MMMMMMMM");
    sheet.pageSetup().blackAndWhite = blackAndWhite;
    sheet.pageSetup().draft = draft;
    const Painted painted(book, pageOf({0, 1, 2, 3, 4}, {0, 1, 2, 3}), true);

    const QRectF gridline(kOrigin.x() + kColumn - 1, kOrigin.y() + 4, 2, 4);
    QCOMPARE(painted.ink(gridline) > 0, gridlines);
    const QRectF box(kOrigin.x() + kColumn, kOrigin.y() + kRow, 2 * kColumn, 3 * kRow);
    QVERIFY(near(painted.at(box.center().x(), box.center().y()), shapeFill));
    QVERIFY(near(painted.at(box.left(), box.center().y()), shapeLine));
    // The centred header, above the cells.
    const QRectF heading(250, 0, 100, kOrigin.y() - 1);
    QVERIFY(painted.near(heading, header) > 0);
    QCOMPARE(painted.near(heading, Qt::red) > 0, header == QColor(Qt::red));
}

void ReportPaintingTest::mapsFontNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("charSet");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("fallback");
    QTest::newRow("ms pgothic") << QStringLiteral("ＭＳ Ｐゴシック") << 128
                                << QStringLiteral("IPAPGothic") << QString();
    QTest::newRow("ms pgothic ascii")
        << QStringLiteral("MS PGothic") << 0 << QStringLiteral("IPAPGothic") << QString();
    QTest::newRow("ms gothic") << QStringLiteral("ＭＳ ゴシック") << 128
                               << QStringLiteral("IPAGothic") << QString();
    QTest::newRow("ms mincho") << QStringLiteral("ＭＳ 明朝") << 128 << QStringLiteral("IPAMincho")
                               << QString();
    QTest::newRow("ms pmincho") << QStringLiteral("MS PMincho") << 0 << QStringLiteral("IPAPMincho")
                                << QString();
    QTest::newRow("arial") << QStringLiteral("Arial") << 0 << QStringLiteral("Liberation Sans")
                           << QStringLiteral("IPAPGothic");
    QTest::newRow("times") << QStringLiteral("Times New Roman") << 0
                           << QStringLiteral("Liberation Serif") << QStringLiteral("IPAPMincho");
    QTest::newRow("century") << QStringLiteral("Century") << 0 << QStringLiteral("Liberation Serif")
                             << QStringLiteral("IPAPMincho");
    QTest::newRow("courier") << QStringLiteral("Courier New") << 0
                             << QStringLiteral("Liberation Mono") << QStringLiteral("IPAPGothic");
    QTest::newRow("calibri") << QStringLiteral("Calibri") << 0 << QStringLiteral("Carlito")
                             << QStringLiteral("Liberation Sans");
    QTest::newRow("cambria") << QStringLiteral("Cambria") << 0 << QStringLiteral("Caladea")
                             << QStringLiteral("Liberation Serif");
    QTest::newRow("yu mincho ascii")
        << QStringLiteral("Yu Mincho") << 0 << QStringLiteral("IPAPMincho") << QString();
    QTest::newRow("hg maru gothic half-width")
        << QStringLiteral("HG丸ｺﾞｼｯｸM-PRO") << 128 << QStringLiteral("IPAPGothic") << QString();
    QTest::newRow("hgs gothic e") << QStringLiteral("HGSｺﾞｼｯｸE") << 128
                                  << QStringLiteral("IPAPGothic") << QString();
    QTest::newRow("unknown japanese")
        << QStringLiteral("ＤＦ勘亭流") << 128 << QStringLiteral("IPAPGothic") << QString();
    QTest::newRow("unknown latin")
        << QStringLiteral("Frobnicate Sans") << 0 << QStringLiteral("Liberation Sans")
        << QStringLiteral("IPAPGothic");
}

void ReportPaintingTest::mapsFontNames() {
    QFETCH(QString, name);
    QFETCH(int, charSet);
    QFETCH(QString, first);
    QFETCH(QString, fallback);
    const report::FontMapper fonts;
    const QStringList families = fonts.families(name, 0, charSet);
    QVERIFY2(!families.isEmpty() && families.first() == first, qPrintable(families.join(u',')));
    if (!fallback.isEmpty())
        QCOMPARE(families.value(1), fallback);
    // Whatever font it is, Japanese text has glyphs in one of its families.
    xls::Font font;
    font.name = name;
    font.charSet = charSet;
    const QFont mapped = fonts.font(font);
    QCOMPARE(mapped.families(), families);
    bool japanese = false;
    for (const QString& family : families)
        japanese = japanese || QFontMetricsF(QFont(family)).inFont(QChar(u'請'));
    QVERIFY(japanese);
}

// The spreadsheet's digit widths for common Normal fonts, whatever the substitute measures;
// names in either spelling. Other fonts and bold faces are measured.
void ReportPaintingTest::measuresDigitWidths_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("weight");
    QTest::addColumn<double>("pixels");
    const auto row = [](const char* tag, const QString& name, int twips, double pixels) {
        QTest::newRow(tag) << name << twips << 400 << pixels;
    };
    row("arial 10", QStringLiteral("Arial"), 200, 7);
    row("calibri 11", QStringLiteral("Calibri"), 220, 7);
    row("verdana 10", QStringLiteral("Verdana"), 200, 8);
    row("tahoma 10", QStringLiteral("TAHOMA"), 200, 7);
    row("times 12", QStringLiteral("Times New Roman"), 240, 8);
    row("ms sans serif 8", QStringLiteral("MS Sans Serif"), 160, 6);
    row("ms pgothic 11", QStringLiteral("ＭＳ Ｐゴシック"), 220, 8);
    row("ms pgothic ascii 11", QStringLiteral("MS PGothic"), 220, 8);
    row("ms mincho 10", QStringLiteral("ＭＳ 明朝"), 200, 7);
    row("yu gothic 11", QStringLiteral("游ゴシック"), 220, 8);
    row("simsun 12", QStringLiteral("SimSun"), 240, 8);
    row("pmingliu 12", QStringLiteral("新細明體"), 240, 8);
    row("gulim 11", QStringLiteral("굴림"), 220, 8);
    // Measured in Liberation Sans: 27 pixels of em, digits 0.556 em.
    row("arial 20", QStringLiteral("Arial"), 400, 15);
    QTest::newRow("bold calibri 11")
        << QStringLiteral("Calibri") << 220 << 700 << -1.0; // measured, not the table's 7
}

void ReportPaintingTest::measuresDigitWidths() {
    QFETCH(QString, name);
    QFETCH(int, twips);
    QFETCH(int, weight);
    QFETCH(double, pixels);
    xls::Font font;
    font.name = name;
    font.height = twips;
    font.weight = weight;
    const double width = report::FontMapper().maxDigitWidth(font);
    if (pixels < 0)
        QVERIFY2(width > 7, qPrintable(QString::number(width)));
    else
        QCOMPARE(std::lround(width), std::lround(pixels));
}

void ReportPaintingTest::headerFooterPictures_data() {
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("footer");
    QTest::addColumn<QString>("shape");   // the picture shape's name: its section
    QTest::addColumn<QRectF>("expected"); // in points; empty: no picture printed
    // A4 is 595 by 842 points; the side margins are 50 points, the header and footer margins
    // 20; the picture is 40 by 20 pixels, 30 by 15 points.
    QTest::newRow("left header") << "&L&G"
                                 << ""
                                 << "LH" << QRectF(50, 20, 30, 15);
    QTest::newRow("centre header") << "&C&G"
                                   << ""
                                   << "CH" << QRectF(282.5, 20, 30, 15);
    QTest::newRow("after right text") << "&Rtext&G"
                                      << ""
                                      << "RH" << QRectF(515, 20, 30, 15);
    QTest::newRow("on the second line") << "&Lfirst\n&G"
                                        << ""
                                        << "LH" << QRectF(50, 31.5, 30, 15);
    QTest::newRow("centre footer") << ""
                                   << "&C&G"
                                   << "CF" << QRectF(282.5, 807, 30, 15);
    QTest::newRow("section without picture") << "&L&G"
                                             << ""
                                             << "RH" << QRectF();
}

// A sheet's HFPicture records, built by hand: the section's picture prints for &G at its size,
// left, centred or right, its foot on the line's baseline (as the line's tallest run, its top
// is the line's top).
void ReportPaintingTest::headerFooterPictures() {
    QFETCH(QString, header);
    QFETCH(QString, footer);
    QFETCH(QString, shape);
    QFETCH(QRectF, expected);
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    red.save(&png, "PNG");
    using xlstest::BiffBuilder;
    const QByteArray stream = BiffBuilder::workbook(
        {xlstest::hfPicture(2, xlstest::pictureStore(png.data(), false))},
        {BiffBuilder::encoded(0x0014, xlstest::unicodeString(header, 2)),
         BiffBuilder::encoded(0x0015, xlstest::unicodeString(footer, 2)),
         xlstest::hfPicture(1, xlstest::hfDrawing(shape, 1, 40, 20)),
         BiffBuilder::encoded(0x0203, xlstest::u16(0) + xlstest::u16(0) + xlstest::u16(15) +
                                          xlstest::f64(1.0))});
    const xls::IconvCodePages codePages;
    const xls::Workbook workbook = xls::WorkbookReader(codePages).readStream(stream);
    const xls::Sheet& sheet = workbook.sheets().front();

    constexpr double zoom = 2;
    QImage page(static_cast<int>(595 * zoom), static_cast<int>(842 * zoom), QImage::Format_RGB32);
    page.setDotsPerMeterX(2835);
    page.setDotsPerMeterY(2835);
    page.fill(Qt::white);
    const report::SheetMetrics metrics(sheet, 7);
    const report::FontMapper mapper;
    const report::TextShaper shaper;
    const report::CellFonts fonts(workbook, mapper, shaper);
    const xls::CellText cellText(workbook);
    report::PageFrame frame;
    frame.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(50, 60, 50, 60), QPageLayout::Point);
    frame.headerMargin = 20;
    frame.footerMargin = 20;
    QPainter painter(&page);
    painter.scale(zoom, zoom);
    report::PagePainter(workbook, sheet, metrics, fonts, cellText)
        .paint(painter, frame, pageOf({0}, {0}), report::HeaderFooterFields{});
    painter.end();

    QRect found;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (near(page.pixelColor(x, y), Qt::red))
                found |= QRect(x, y, 1, 1);
    const QRectF printed(found.x() / zoom, found.y() / zoom, found.width() / zoom,
                         found.height() / zoom);
    QCOMPARE(printed.isEmpty(), expected.isEmpty());
    if (expected.isEmpty())
        return;
    for (const auto& [got, want] : {std::pair{printed.left(), expected.left()},
                                    {printed.top(), expected.top()},
                                    {printed.width(), expected.width()},
                                    {printed.height(), expected.height()}})
        QVERIFY2(std::abs(got - want) <= 1,
                 qPrintable(QStringLiteral("%1 for %2").arg(got).arg(want)));
}

QTEST_MAIN(ReportPaintingTest)
#include "tst_report_painting.moc"
