// Drawing objects on the report printer's pages: where they print, what they add to the
// printed range, how they cross page breaks, and how they compare with LibreOffice's own PDF
// export of the same LibreOffice-made workbook.

#include "HandMadeSheet.h"

#include "platform/CupsPrintSpooler.h"
#include "report/CellFonts.h"
#include "report/FontMapper.h"
#include "report/PageLayout.h"
#include "report/PagePainter.h"
#include "report/PictureImage.h"
#include "report/SheetMetrics.h"
#include "report/TextShaper.h"
#include "report/XlsReport.h"
#include "tests/support/LibreOfficePdf.h"
#include "tests/support/PrivateCups.h"
#include "xls/CellText.h"
#include "xls/IconvCodePages.h"
#include "xls/Workbook.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(std::vector<xls::SheetObject>)

namespace {

constexpr double kDigit = 7; // a default column of 64 pixels, 48 points
constexpr double kZoom = 2;  // image pixels a point

// A hand-made sheet with rows of 20 points, so that an A4 page with the default margins holds
// rows 0 to 33, and a value in A1.
struct Book : handmade::Book {
    Book() {
        sheet().setDefaultRowHeight(400, false);
        sheet().setCells({xls::Cell::text(0, 0, 0, QStringLiteral("a1"))});
    }
};

xls::SheetObject box(int firstRow, int lastRow, QRgb fill, int lastRowOffset = 128) {
    xls::SheetObject object;
    object.kind = xls::ObjectKind::Rectangle;
    object.shapeType = 1;
    object.anchor = {1, 0, firstRow, 0, 3, 0, lastRow, lastRowOffset};
    object.fill.color.rgb = fill;
    object.line.visible = false;
    return object;
}

template <typename Change> xls::SheetObject changed(xls::SheetObject object, Change change) {
    change(object);
    return object;
}

// Each page of a sheet painted into an image, at kZoom pixels a point.
QList<QImage> paintPages(const xls::Workbook& workbook, const xls::Sheet& sheet) {
    const report::SheetMetrics metrics(sheet, kDigit);
    const report::PageLayout layout(workbook, sheet, metrics);
    const report::FontMapper mapper;
    const report::TextShaper shaper;
    const report::CellFonts fonts(workbook, mapper, shaper);
    const xls::CellText cellText(workbook);
    const report::PagePainter painter(workbook, sheet, metrics, fonts, cellText);
    QList<QImage> pages;
    for (int ordinal = 0; ordinal < layout.pageCount(); ++ordinal) {
        QImage image(int(595 * kZoom), int(842 * kZoom), QImage::Format_RGB32);
        image.setDotsPerMeterX(2835);
        image.setDotsPerMeterY(2835);
        image.fill(Qt::white);
        QPainter device(&image);
        device.scale(kZoom, kZoom);
        painter.paint(device, layout.frame(), layout.page(ordinal), {});
        pages.append(image);
    }
    return pages;
}

// The colour at a point of a page, in points from the top left corner of the paper.
QRgb at(const QImage& page, double x, double y) {
    return page.pixel(int(std::lround(x * kZoom)), int(std::lround(y * kZoom))) & 0xFFFFFF;
}

// A bottom-up 24-bit DIB, as the workbook keeps bitmaps: a 40-byte header and the pixels, no
// file header. Rows are padded to four bytes.
QByteArray dib(int width, int height, const QList<QRgb>& pixels) {
    QByteArray header(40, '\0');
    qToLittleEndian<quint32>(40, header.data());
    qToLittleEndian<qint32>(width, header.data() + 4);
    qToLittleEndian<qint32>(height, header.data() + 8);
    qToLittleEndian<quint16>(1, header.data() + 12);
    qToLittleEndian<quint16>(24, header.data() + 14);
    QByteArray bits;
    for (int row = height - 1; row >= 0; --row) {
        for (int column = 0; column < width; ++column) {
            const QRgb pixel = pixels[row * width + column];
            bits += char(qBlue(pixel));
            bits += char(qGreen(pixel));
            bits += char(qRed(pixel));
        }
        bits += QByteArray((4 - width * 3 % 4) % 4, '\0');
    }
    return header + bits;
}

// A metafile as the workbook keeps it, without the placeable header: a window 200 units wide
// and 100 tall, its left half a red rectangle.
QByteArray wmf() {
    QByteArray records;
    const auto record = [&records](quint16 function, const QList<qint16>& parameters) {
        QByteArray r(6, '\0');
        qToLittleEndian<quint32>(quint32(3 + parameters.size()), r.data());
        qToLittleEndian<quint16>(function, r.data() + 4);
        for (const qint16 parameter : parameters) {
            r += QByteArray(2, '\0');
            qToLittleEndian<qint16>(parameter, r.data() + r.size() - 2);
        }
        records += r;
    };
    record(0x020B, {0, 0});           // window origin
    record(0x020C, {100, 200});       // window extent: height, width
    record(0x02FC, {0, 0xFF, 0, 0});  // a solid red brush: style, colour (low, high), hatch
    record(0x012D, {0});              // selected
    record(0x041B, {100, 100, 0, 0}); // rectangle: bottom, right, top, left
    record(0x0000, {});
    QByteArray header(18, '\0');
    qToLittleEndian<quint16>(1, header.data());
    qToLittleEndian<quint16>(9, header.data() + 2);
    qToLittleEndian<quint16>(0x0300, header.data() + 4);
    qToLittleEndian<quint32>(quint32((18 + records.size()) / 2), header.data() + 6);
    qToLittleEndian<quint16>(1, header.data() + 10);
    qToLittleEndian<quint32>(7, header.data() + 12);
    return header + records;
}

// An enhanced metafile of the same picture: a frame of 200 by 100 device pixels, its left half
// a red rectangle without a pen.
QByteArray emf() {
    QByteArray records;
    const auto record = [&records](quint32 type, const QList<qint32>& fields) {
        QByteArray r(8 + 4 * fields.size(), '\0');
        qToLittleEndian<quint32>(type, r.data());
        qToLittleEndian<quint32>(quint32(r.size()), r.data() + 4);
        for (qsizetype i = 0; i < fields.size(); ++i)
            qToLittleEndian<qint32>(fields[i], r.data() + 8 + 4 * i);
        records += r;
    };
    record(1, {0,          0,       199,  99,      // bounds in device pixels
               0,          0,       2000, 1000,    // frame in 1/100 mm
               0x464D4520, 0x10000, 0,    6,    2, // signature, version, size, records, handles
               0,          0,       0,             // description and palette
               2000,       1000,    200,  100});   // device pixels and millimetres
    record(39, {1, 0, 0x0000FF, 0});               // a solid red brush
    record(37, {1});                               // selected
    record(37, {qint32(0x80000008)});              // the null pen
    record(43, {0, 0, 100, 100});                  // rectangle
    record(14, {0, 16, 16});                       // end of file
    return records;
}

// The words of a PDF with their page and top left corner, from pdftotext -bbox.
struct Word {
    int page = 0;
    QPointF corner;
};
QMultiHash<QString, Word> pdfWords(const QString& pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(30000))
        return {};
    QMultiHash<QString, Word> words;
    int page = 0;
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    for (const QString& line : QString::fromUtf8(text.readAllStandardOutput()).split('\n')) {
        if (line.contains(QLatin1String("<page ")))
            ++page;
        const QRegularExpressionMatch match = word.match(line);
        if (match.hasMatch())
            words.insert(match.captured(3), {page, QPointF(match.captured(1).toDouble(),
                                                           match.captured(2).toDouble())});
    }
    return words;
}

// The bounds, in points, of the red pixels of a PDF's page below the line at top, as pdftoppm
// renders it at 72 dots per inch.
QRect redBelow(const QString& pdf, int page, int top) {
    const QString base = pdf + QStringLiteral(".page");
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"),
                  QString::number(page), QStringLiteral("-l"), QString::number(page),
                  QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, base});
    if (!render.waitForFinished(60000))
        return {};
    const QImage image(base + QStringLiteral(".png"));
    QRect red;
    for (int y = top; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) > 200 && qGreen(pixel) < 80 && qBlue(pixel) < 80)
                red |= QRect(x, y, 1, 1);
        }
    }
    return red;
}

} // namespace

class ReportObjectsTest : public QObject {
    Q_OBJECT

private slots:
    void printedRangeTakesInObjects_data();
    void printedRangeTakesInObjects();
    void objectCrossesThePageBreakButNotTheTitles();
    void decodesPictures_data();
    void decodesPictures();
    void paintsPictures_data();
    void paintsPictures();
    void showsControlState_data();
    void showsControlState();
    void matchesLibreOfficesExport();
};

void ReportObjectsTest::printedRangeTakesInObjects_data() {
    QTest::addColumn<std::vector<xls::SheetObject>>("objects");
    QTest::addColumn<bool>("withCell");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("lastRow"); // of the last page's own rows

    const xls::SheetObject far = box(100, 101, 0xFFFF0000);
    QTest::newRow("none") << std::vector<xls::SheetObject>{} << true << 1 << 0;
    // The pages between A1's and the object's are blank.
    QTest::newRow("far down") << std::vector{far} << true << 2 << 101;
    QTest::newRow("alone on its sheet") << std::vector{far} << false << 1 << 101;
    QTest::newRow("not printing") << std::vector{changed(far, [](auto& o) { o.prints = false; })}
                                  << true << 1 << 0;
    QTest::newRow("hidden") << std::vector{changed(far, [](auto& o) { o.hidden = true; })} << true
                            << 1 << 0;
    QTest::newRow("comment") << std::vector{changed(far, [](auto& o) {
        o.kind = xls::ObjectKind::Comment;
    })} << true << 1 << 0;
    // Ending on the top edge of row 34, the object does not reach the second page.
    QTest::newRow("ends at a row's edge")
        << std::vector{box(30, 34, 0xFFFF0000, 0)} << true << 1 << 33;
    QTest::newRow("ends inside the row")
        << std::vector{box(30, 34, 0xFFFF0000, 1)} << true << 2 << 34;
}

void ReportObjectsTest::printedRangeTakesInObjects() {
    QFETCH(std::vector<xls::SheetObject>, objects);
    QFETCH(bool, withCell);
    QFETCH(int, pages);
    QFETCH(int, lastRow);
    Book book;
    if (!withCell)
        book.sheet().setCells({});
    book.sheet().setObjects(objects);
    const report::SheetMetrics metrics(book.sheet(), kDigit);
    const report::PageLayout layout(book.workbook, book.sheet(), metrics);
    QCOMPARE(layout.pageCount(), pages);
    QCOMPARE(layout.page(pages - 1).rows.back().index, lastRow);
}

void ReportObjectsTest::objectCrossesThePageBreakButNotTheTitles() {
    Book book;
    book.sheet().setTitleRows({0, 0, 0, 255});
    // Red from row 30 to the middle of row 40, across the break after row 33; blue over the
    // title row.
    book.sheet().setObjects({box(30, 40, 0xFFFF0000), box(0, 0, 0xFF0000FF, 200)});
    const QList<QImage> pages = paintPages(book.workbook, book.sheet());
    QCOMPARE(pages.size(), 2);
    // Default margins: 0.75 in left, 1 in top; column B starts 48 points in.
    const double x = 54 + 48 + 30;
    const auto rowY = [](int shownRow) { return 72 + 20 * shownRow + 10; };
    const QRgb red = 0xFF0000;
    const QRgb blue = 0x0000FF;
    QCOMPARE(at(pages[0], x, rowY(0)), blue);
    QCOMPARE(at(pages[0], x, rowY(29)), QRgb(0xFFFFFF));
    QCOMPARE(at(pages[0], x, rowY(30)), red);
    QCOMPARE(at(pages[0], x, rowY(33)), red);
    // Page 2 shows the title row, then rows 34 on: the rectangle goes on below the title and
    // ends in the middle of row 40, its upper part cut off rather than drawn over the title.
    QCOMPARE(at(pages[1], x, rowY(0)), QRgb(0xFFFFFF));
    QCOMPARE(at(pages[1], x, rowY(1)), red);
    QCOMPARE(at(pages[1], x, 72 + 20 * 7 + 5), red);
    QCOMPARE(at(pages[1], x, 72 + 20 * 7 + 15), QRgb(0xFFFFFF));
}

void ReportObjectsTest::decodesPictures_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRgb>("topLeft");

    const QByteArray bitmap =
        dib(3, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000, 0xFFFFFFFF, 0xFF808080});
    // An 8-bit DIB with a colour table of two entries (red, blue) named by biClrUsed.
    QByteArray indexed = dib(1, 1, {0});
    indexed.truncate(40);
    qToLittleEndian<quint16>(8, indexed.data() + 14);
    qToLittleEndian<quint32>(2, indexed.data() + 32);
    indexed += QByteArray::fromHex("0000ff00"
                                   "ff000000") +
               QByteArray::fromHex("01000000");
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, 0xFF00FF00);
    image.setPixel(1, 0, 0xFFFF0000);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    QByteArray claimsAll = bitmap;
    qToLittleEndian<qint32>(0x7FFFFFFF, claimsAll.data() + 4);
    const int dibFormat = int(xls::PictureFormat::Dib);
    QTest::newRow("24-bit DIB") << dibFormat << bitmap << QSize(3, 2) << QRgb(0xFFFF0000);
    QTest::newRow("8-bit DIB") << dibFormat << indexed << QSize(1, 1) << QRgb(0xFF0000FF);
    QTest::newRow("PNG") << int(xls::PictureFormat::Png) << png << QSize(2, 1) << QRgb(0xFF00FF00);
    QTest::newRow("DIB header cut short") << dibFormat << bitmap.left(20) << QSize(0, 0) << QRgb(0);
    QTest::newRow("DIB claiming a huge width") << dibFormat << claimsAll << QSize(0, 0) << QRgb(0);
    QTest::newRow("metafile") << int(xls::PictureFormat::Wmf) << bitmap << QSize(0, 0) << QRgb(0);
}

void ReportObjectsTest::decodesPictures() {
    QFETCH(int, format);
    QFETCH(QByteArray, data);
    QFETCH(QSize, size);
    QFETCH(QRgb, topLeft);
    xls::Picture picture;
    picture.format = xls::PictureFormat(format);
    picture.data = data;
    const QImage image = report::pictureImage(picture);
    QCOMPARE(image.size(), size);
    if (!image.isNull())
        QCOMPARE(image.pixel(0, 0) | 0xFF000000, topLeft);
}

void ReportObjectsTest::paintsPictures_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<double>("cropLeft");
    QTest::addColumn<QRgb>("left");
    QTest::addColumn<QRgb>("right");
    QTest::addColumn<bool>("blackAndWhite");

    // The right half of a red and blue bitmap fills the box.
    const QByteArray bitmap = dib(2, 1, {0xFFFF0000, 0xFF0000FF});
    QTest::newRow("cropped bitmap") << int(xls::PictureFormat::Dib) << bitmap << 0.5
                                    << QRgb(0x0000FF) << QRgb(0x0000FF) << false;
    // A metafile 200 units wide, 100 tall, red in its left half.
    QTest::newRow("metafile") << int(xls::PictureFormat::Wmf) << wmf() << 0.0 << QRgb(0xFF0000)
                              << QRgb(0xFFFFFF) << false;
    // In black and white both print in grey: blue as 0x27, red as 0x57.
    QTest::newRow("bitmap in black and white") << int(xls::PictureFormat::Dib) << bitmap << 0.5
                                               << QRgb(0x272727) << QRgb(0x272727) << true;
    QTest::newRow("metafile in black and white")
        << int(xls::PictureFormat::Wmf) << wmf() << 0.0 << QRgb(0x575757) << QRgb(0xFFFFFF) << true;
    QTest::newRow("enhanced metafile") << int(xls::PictureFormat::Emf) << emf() << 0.0
                                       << QRgb(0xFF0000) << QRgb(0xFFFFFF) << false;
    QTest::newRow("enhanced metafile in black and white")
        << int(xls::PictureFormat::Emf) << emf() << 0.0 << QRgb(0x575757) << QRgb(0xFFFFFF) << true;
}

void ReportObjectsTest::paintsPictures() {
    QFETCH(int, format);
    QFETCH(QByteArray, data);
    QFETCH(double, cropLeft);
    QFETCH(QRgb, left);
    QFETCH(QRgb, right);
    QFETCH(bool, blackAndWhite);
    Book book;
    book.sheet().pageSetup().blackAndWhite = blackAndWhite;
    xls::Picture picture;
    picture.format = xls::PictureFormat(format);
    picture.data = data;
    // The store's bounds, in 1/100 mm, are not the metafile's own units: its window frames it.
    picture.metafileBounds = QRect(0, 0, 5080, 2540);
    book.workbook.setPictures({picture});
    // Rows 2 to 4 of columns B to D.
    xls::SheetObject shown = box(2, 4, 0xFF00FF00, 0);
    shown.kind = xls::ObjectKind::Picture;
    shown.picture = 0;
    shown.cropLeft = cropLeft;
    book.sheet().setObjects({shown});
    const QList<QImage> pages = paintPages(book.workbook, book.sheet());
    QCOMPARE(pages.size(), 1);
    QCOMPARE(at(pages[0], 54 + 48 + 15, 72 + 60), left);
    QCOMPARE(at(pages[0], 54 + 48 * 3 - 15, 72 + 60), right);
}

void ReportObjectsTest::showsControlState_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("checked");
    // Where the mark shows the state, as fractions of its 9-point square: the middle of the
    // tick's long stroke, the middle of the dot.
    QTest::addColumn<QPointF>("probe");
    const int checkBox = int(xls::ObjectKind::CheckBox);
    const int optionButton = int(xls::ObjectKind::OptionButton);
    QTest::newRow("check box ticked") << checkBox << 1 << QPointF(0.61, 0.5);
    QTest::newRow("check box clear") << checkBox << 0 << QPointF(0.61, 0.5);
    QTest::newRow("option chosen") << optionButton << 1 << QPointF(0.5, 0.5);
    QTest::newRow("option not chosen") << optionButton << 0 << QPointF(0.5, 0.5);
}

void ReportObjectsTest::showsControlState() {
    QFETCH(int, kind);
    QFETCH(int, checked);
    QFETCH(QPointF, probe);
    Book book;
    xls::SheetObject control = box(2, 4, 0xFFFFFFFF, 0);
    control.kind = xls::ObjectKind(kind);
    control.checked = checked;
    book.sheet().setObjects({control});
    const QList<QImage> pages = paintPages(book.workbook, book.sheet());
    QCOMPARE(pages.size(), 1);
    // The box spans rows 2 to 4; the mark stands 1 point in from its left edge, centred.
    const QPointF mark(54 + 48 + 1, 72 + 60 - 4.5);
    const QRgb shown = at(pages[0], mark.x() + 9 * probe.x(), mark.y() + 9 * probe.y());
    QCOMPARE(qGray(shown) < 128, checked == 1);
}

// LibreOffice prints the same workbook; its column widths come out about 3.3 points wider a
// column than the spreadsheet's pixel rule gives, so horizontal positions are compared
// within 1.5 points plus that much for every column between the page's left edge and the
// object. Vertical positions agree within 4 points (the largest seen: 2.7, a control's label).
void ReportObjectsTest::matchesLibreOfficesExport() {
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString source = QStringLiteral(TESSALY_REPORT_SOURCES "/object_pages.xls");
    const QString copy = work.filePath(QStringLiteral("object_pages.xls"));
    QVERIFY(QFile::copy(source, copy));
    const QString exported = testsupport::exportWithLibreOffice({copy}, work.path());
    QVERIFY2(exported.isEmpty(), qPrintable(exported));
    const QString theirs = work.filePath(QStringLiteral("object_pages.pdf"));

    xls::IconvCodePages codePages;
    platform::CupsPrintSpooler spooler; // the pages go into a PDF file: not used
    report::XlsReport control(codePages, spooler);
    const QString ours = work.filePath(QStringLiteral("ours.pdf"));
    control.setOutputFile(ours);
    control.setFile(source);
    control.StartSheets();
    for (const char* sheet : {"Objects", "Reach", "Across"}) {
        control.AddSheet(QString::fromLatin1(sheet), QString());
        control.CommitSheet();
    }
    control.Print();

    // Objects: page 1; Reach: A1's page and the far text box's page, the two blank pages
    // between them left out; Across: the rectangle's two pages.
    QCOMPARE(testsupport::pdfPageCount(ours), 6);
    QCOMPARE(testsupport::pdfPageCount(theirs), 6);
    const auto ourWords = pdfWords(ours);
    const auto theirWords = pdfWords(theirs);
    struct Expected {
        const char* word;
        int page;
        // Columns between the page's left edge and the word's object (its centre, for
        // centred text).
        int columnsIn;
        // Automatic row breaks above the word's page. LibreOffice lays its 12.8-point rows
        // out in exact twips; the spreadsheet, and we, in whole pixels (17, 12.75 points), so
        // that more rows fit a page and the next page can start a row further down.
        int rowBreaksAbove = 0;
    };
    // The rectangle's text straddles LibreOffice's page break, which falls a row above ours
    // (see rowBreaksAbove): its page 6 part is LibreOffice's alone.
    const QList<Expected> expected{
        {"box-text-marker", 1, 1}, {"bold-run", 1, 1},   {"Agree", 1, 1},     {"Choice", 1, 4},
        {"label-marker", 1, 4},    {"far-box", 4, 3, 1}, {"across-box", 5, 2}};
    for (const Expected& e : expected) {
        const QString word = QString::fromLatin1(e.word);
        const auto onPage = [&](const QMultiHash<QString, Word>& words) -> std::optional<QPointF> {
            for (auto it = words.find(word); it != words.end() && it.key() == word; ++it) {
                if (it->page == e.page)
                    return it->corner;
            }
            return std::nullopt;
        };
        const auto mine = onPage(ourWords);
        const auto lo = onPage(theirWords);
        QVERIFY2(mine && lo, qPrintable(QStringLiteral("%1 on page %2").arg(word).arg(e.page)));
        const QString where = QStringLiteral("%1: ours at (%2, %3), LibreOffice's at (%4, %5)")
                                  .arg(word)
                                  .arg(mine->x())
                                  .arg(mine->y())
                                  .arg(lo->x())
                                  .arg(lo->y());
        QVERIFY2(std::abs(mine->x() - lo->x()) <= 1.5 + 3.3 * e.columnsIn, qPrintable(where));
        QVERIFY2(std::abs(mine->y() - lo->y()) <= 4 + 12.8 * e.rowBreaksAbove, qPrintable(where));
    }
    // The far text box is the only thing of its page.
    QCOMPARE(ourWords.count(QStringLiteral("far-box")), 1);
    // LibreOffice reading the file back loses the shape's own "not printable" flag and prints
    // it; we honour it.
    QVERIFY(theirWords.contains(QStringLiteral("noprint-marker")));
    QVERIFY(!ourWords.contains(QStringLiteral("noprint-marker")));

    // The metafile picture, drawn as vectors: its red left half, 2 cm square, where
    // LibreOffice draws it.
    const QRect ourMetafile = redBelow(ours, 1, 400);
    const QRect theirMetafile = redBelow(theirs, 1, 400);
    const QString boxes = QStringLiteral("ours %1,%2 %3x%4, LibreOffice's %5,%6 %7x%8")
                              .arg(ourMetafile.x())
                              .arg(ourMetafile.y())
                              .arg(ourMetafile.width())
                              .arg(ourMetafile.height())
                              .arg(theirMetafile.x())
                              .arg(theirMetafile.y())
                              .arg(theirMetafile.width())
                              .arg(theirMetafile.height());
    // The box spans parts of two columns: its width differs as theirs do.
    QVERIFY2(std::abs(ourMetafile.height() - 57) <= 2, qPrintable(boxes));
    QVERIFY2(std::abs(ourMetafile.x() - theirMetafile.x()) <= 1.5 + 3.3 &&
                 std::abs(ourMetafile.y() - theirMetafile.y()) <= 4 &&
                 std::abs(ourMetafile.width() - theirMetafile.width()) <= 1 + 3.3 &&
                 std::abs(ourMetafile.height() - theirMetafile.height()) <= 2,
             qPrintable(boxes));

    // The picture is an image of the PDF, on the first page, in both.
    for (const QString& pdf : {ours, theirs}) {
        QProcess images;
        images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QVERIFY(images.waitForFinished(30000));
        const QStringList lines =
            QString::fromUtf8(images.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3); // two heading lines and one image
        QVERIFY2(lines[2].simplified().startsWith(QStringLiteral("1 0 image 64 32 rgb")),
                 qPrintable(pdf + QStringLiteral(": ") + lines[2]));
    }
}

QTEST_MAIN(ReportObjectsTest)
#include "tst_report_objects.moc"
