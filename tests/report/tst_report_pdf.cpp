// The report printer writing whole workbooks into PDF files, read back with poppler, and
// compared with LibreOffice's own PDF export of the same workbooks.

#include "platform/CupsPrintSpooler.h"
#include "report/FontMapper.h"
#include "report/ReportError.h"
#include "report/ReportRenderer.h"
#include "report/TextShaper.h"
#include "report/XlsReport.h"
#include "tests/support/Fixtures.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/LibreOfficePdf.h"
#include "tests/support/PrivateCups.h"
#include "tests/xls/BiffBuilder.h"
#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <functional>
#include <stdexcept>

namespace {

QString reportFixture(const QString& name) {
    return QStringLiteral(TESSALY_REPORT_FIXTURES) + QLatin1Char('/') + name;
}

// The message of the ReportError that action raised, or a null text when it raised none.
QString reportFailure(const std::function<void()>& action) {
    try {
        action();
    } catch (const report::ReportError& error) {
        return error.message().isNull() ? QStringLiteral("(empty message)") : error.message();
    }
    return {};
}

// The text of pdffonts for a file.
QString pdfFonts(const QString& path) {
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {path});
    if (!fonts.waitForFinished(30000) || fonts.exitCode() != 0)
        return {};
    return QString::fromUtf8(fonts.readAllStandardOutput());
}

// Every text of the page, its words in reading order; pdftotext's layout blanks collapsed.
QString words(const QString& page) {
    return page.simplified();
}

// For each page of a PDF, the rows of a sheet that show ink there: the top of each word
// counted in rows of rowHeight points from that of the page's word "mark", row 0. Only text
// inside the paper counts, as pdftotext reads it.
QList<QSet<int>> inkedRows(const QString& pdf, double rowHeight) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(30000) || text.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(text.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral(R"re(<word [^>]*yMin="([0-9.]+)"[^>]*>([^<]*)<)re"));
    QList<QSet<int>> pages;
    for (const QString& page : html.split(QStringLiteral("<page ")).mid(1)) {
        QList<QPair<double, QString>> words;
        double mark = -1;
        for (auto it = word.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            words.append({match.captured(1).toDouble(), match.captured(2)});
            if (match.captured(2) == QLatin1String("mark"))
                mark = words.back().first;
        }
        QSet<int> rows;
        for (const auto& [top, ignored] : words) {
            if (mark >= 0 && top > mark - rowHeight / 2)
                rows.insert(qRound((top - mark) / rowHeight));
        }
        pages.append(rows);
    }
    return pages;
}

} // namespace

class ReportPdfTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void printsEverySheetWithRunningNumbers();
    void splitsAWideSheetInPageOrder();
    void fitsAndRepeatsTitles();
    void printsJapaneseTextInIpaFonts();
    void printsTheGivenSheetsInTheGivenOrder();
    void startSheetsEmptiesTheList();
    void printsNothingWithoutSheets();
    void refusesUnknownSheetsAndUnreadableFiles();
    void refusesMisusedCalls();
    void printsOffTheGuiThread();
    void mergedCellSpansThePageBreak();
    void numbersPagesAcrossSheetsAndSkipsCharts();
    void narrowsNumbersThatDoNotFit();
    void pageCountsAgreeWithLibreOffice();

private:
    // spill.xls printed by us and by LibreOffice: the pages of each sheet, and the pages of
    // "Flow" on which each text shows.
    void compareSpilledText(const QString& ours, const QString& theirs);
    // The hand-built Excel 4.0 sheet printed by us and by LibreOffice: the same cell texts in
    // the same order.
    void compareCellTexts(const QString& ours, const QString& theirs);
    // Prints sheets of a workbook into a PDF file through the control's call sequence.
    QString printToPdf(const QString& workbook, const QStringList& sheets, const QString& name);

    xls::IconvCodePages m_codePages;
    platform::CupsPrintSpooler m_spooler; // the pages go into PDF files: not used
    QTemporaryDir m_folder;
};

void ReportPdfTest::initTestCase() {
    QVERIFY(m_folder.isValid());
    QVERIFY(QFile::exists(reportFixture(QStringLiteral("report_pages.xls"))));
}

QString ReportPdfTest::printToPdf(const QString& workbook, const QStringList& sheets,
                                  const QString& name) {
    QString pdf = QFileInfo(name).isAbsolute() ? name : m_folder.filePath(name);
    // Without a file the control would print on the default printer.
    if (pdf.isEmpty())
        throw std::logic_error("no PDF file named");
    report::XlsReport control(m_codePages, m_spooler);
    control.setOutputFile(pdf);
    control.setFile(workbook);
    control.StartSheets();
    for (const QString& sheet : sheets) {
        control.AddSheet(sheet, QString());
        control.CommitSheet();
    }
    control.Print();
    return pdf;
}

void ReportPdfTest::printsEverySheetWithRunningNumbers() {
    const QString pdf =
        printToPdf(reportFixture(QStringLiteral("report_pages.xls")),
                   {QStringLiteral("Cover"), QStringLiteral("Wide"), QStringLiteral("Fit"),
                    QStringLiteral("Titles"), QStringLiteral("Empty")},
                   QStringLiteral("pages.pdf"));
    QCOMPARE(testsupport::pdfPageCount(pdf), 11);
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 11);
    const QStringList sheetOfPage{
        QStringLiteral("Cover"),  QStringLiteral("Wide"),  QStringLiteral("Wide"),
        QStringLiteral("Wide"),   QStringLiteral("Wide"),  QStringLiteral("Wide"),
        QStringLiteral("Wide"),   QStringLiteral("Fit"),   QStringLiteral("Titles"),
        QStringLiteral("Titles"), QStringLiteral("Titles")};
    for (int i = 0; i < pages.size(); ++i) {
        const QString text = words(pages[i]);
        // The header's three sections, then the cells, then the footer.
        const QString header = QStringLiteral("%1 %2/11 head-right").arg(sheetOfPage[i]).arg(i + 1);
        QVERIFY2(text.startsWith(header), qPrintable(text.left(80)));
        QVERIFY2(text.endsWith(QStringLiteral("foot-page-%1").arg(i + 1)),
                 qPrintable(text.right(80)));
    }
    QVERIFY(words(pages[0]).contains(QStringLiteral("cover-marker")));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished(30000));
    const QString details = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(details.contains(QStringLiteral("Title:           report_pages.xls")),
             qPrintable(details));
    QVERIFY2(details.contains(QStringLiteral("595 x 842 pts (A4)")), qPrintable(details));
}

void ReportPdfTest::splitsAWideSheetInPageOrder() {
    const QString pdf = printToPdf(reportFixture(QStringLiteral("report_pages.xls")),
                                   {QStringLiteral("Wide")}, QStringLiteral("wide.pdf"));
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 6);
    // 4 columns and 54 rows a page; the sheet asks for pages over, then down.
    struct Block {
        int firstRow, lastRow, firstColumn, lastColumn;
    };
    const QList<Block> blocks{{1, 54, 1, 4},   {1, 54, 5, 8},   {1, 54, 9, 12},
                              {55, 100, 1, 4}, {55, 100, 5, 8}, {55, 100, 9, 12}};
    for (int page = 0; page < pages.size(); ++page) {
        const Block& block = blocks[page];
        const QString text = words(pages[page]);
        QVERIFY2(text.contains(QStringLiteral("Wide %1/6").arg(page + 1)),
                 qPrintable(text.left(60)));
        // Row by row, left to right, every cell of the block and none beyond it.
        QStringList expected;
        for (int row = block.firstRow; row <= block.lastRow; ++row) {
            for (int column = block.firstColumn; column <= block.lastColumn; ++column)
                expected.append(QStringLiteral("w-r%1-c%2").arg(row).arg(column));
        }
        QVERIFY2(text.contains(expected.join(QLatin1Char(' '))),
                 qPrintable(QStringLiteral("page %1: %2").arg(page + 1).arg(text.left(200))));
        QCOMPARE(text.count(QStringLiteral("w-r")), expected.size());
    }
}

void ReportPdfTest::fitsAndRepeatsTitles() {
    const QString pdf =
        printToPdf(reportFixture(QStringLiteral("report_pages.xls")),
                   {QStringLiteral("Fit"), QStringLiteral("Titles")}, QStringLiteral("fit.pdf"));
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 4);
    // Fitted to one page: all 1,200 cells on it.
    const QString fitted = words(pages[0]);
    QCOMPARE(fitted.count(QStringLiteral("f-r")), 1200);
    QVERIFY(fitted.contains(QStringLiteral("f-r1-c1 f-r1-c2")));
    QVERIFY(fitted.contains(QStringLiteral("f-r100-c11 f-r100-c12")));
    // The title row heads every page of its sheet, then the body continues in order.
    int nextBody = 2;
    for (int page = 1; page < 4; ++page) {
        const QString text = words(pages[page]);
        QCOMPARE(text.count(QStringLiteral("title-row-marker")), 1);
        const int title = text.indexOf(QStringLiteral("title-row-marker"));
        const int body = text.indexOf(QStringLiteral("t-body-%1 ").arg(nextBody));
        QVERIFY2(title >= 0 && body > title, qPrintable(text.left(120)));
        while (text.contains(QStringLiteral("t-body-%1 ").arg(nextBody)) ||
               text.contains(QStringLiteral("t-body-%1 foot").arg(nextBody)))
            ++nextBody;
    }
    QCOMPARE(nextBody, 151);
}

void ReportPdfTest::printsJapaneseTextInIpaFonts() {
    const QString pdf = printToPdf(reportFixture(QStringLiteral("report_pages.xls")),
                                   {QStringLiteral("Cover")}, QStringLiteral("japanese.pdf"));
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY2(pages[0].contains(QStringLiteral("請求書の合計")), qPrintable(pages[0]));
    QVERIFY2(pages[0].contains(QStringLiteral("明朝の行")), qPrintable(pages[0]));
    const QString fonts = pdfFonts(pdf);
    QVERIFY2(fonts.contains(QStringLiteral("IPAPGothic")), qPrintable(fonts));
    QVERIFY2(fonts.contains(QStringLiteral("IPAMincho")), qPrintable(fonts));
    QVERIFY2(fonts.contains(QStringLiteral("LiberationSans")), qPrintable(fonts));
    // Embedded, so that the pages print the same wherever they go.
    for (const QString& line : fonts.split(QLatin1Char('\n')).mid(2)) {
        if (!line.trimmed().isEmpty())
            QVERIFY2(line.contains(QStringLiteral(" yes ")), qPrintable(line));
    }
}

void ReportPdfTest::printsTheGivenSheetsInTheGivenOrder() {
    const QString pdf =
        printToPdf(testsupport::fixturePath(QStringLiteral("three_sheets.xls")),
                   {QStringLiteral("Gamma"), QStringLiteral("Alpha")}, QStringLiteral("order.pdf"));
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[0].contains(QStringLiteral("gamma-sheet-marker")));
    QVERIFY(pages[1].contains(QStringLiteral("alpha-sheet-marker")));
    QVERIFY(!pages[0].contains(QStringLiteral("alpha")) &&
            !pages[1].contains(QStringLiteral("gamma")));
    // "行1" stands in cells of Arial: its glyphs come from the Japanese fallback font.
    QVERIFY(pages[0].contains(QStringLiteral("行1")));
    const QString fonts = pdfFonts(pdf);
    QVERIFY2(fonts.contains(QStringLiteral("LiberationSans")) &&
                 fonts.contains(QStringLiteral("IPAPGothic")),
             qPrintable(fonts));
    // A sheet given twice prints twice.
    const QString twice =
        printToPdf(testsupport::fixturePath(QStringLiteral("three_sheets.xls")),
                   {QStringLiteral("Beta"), QStringLiteral("Beta")}, QStringLiteral("twice.pdf"));
    QCOMPARE(testsupport::pdfPageCount(twice), 2);
}

void ReportPdfTest::startSheetsEmptiesTheList() {
    const QString pdf = m_folder.filePath(QStringLiteral("restart.pdf"));
    report::XlsReport control(m_codePages, m_spooler);
    control.setOutputFile(pdf);
    control.setFile(testsupport::fixturePath(QStringLiteral("three_sheets.xls")));
    control.StartSheets();
    control.AddSheet(QStringLiteral("Alpha"), QString());
    control.CommitSheet();
    control.StartSheets();
    control.AddSheet(QStringLiteral("Beta"), QString());
    control.CommitSheet();
    // Named but not committed: not printed.
    control.AddSheet(QStringLiteral("Gamma"), QString());
    control.Print();
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains(QStringLiteral("beta-sheet-marker")));
    QCOMPARE(control.printedPages(), 1);
}

void ReportPdfTest::printsNothingWithoutSheets() {
    const QString folder = m_folder.filePath(QStringLiteral("nothing"));
    QVERIFY(QDir().mkpath(folder));
    const testsupport::FolderSnapshot before(folder);
    const QString pdf = folder + QStringLiteral("/none.pdf");
    report::XlsReport control(m_codePages, m_spooler);
    control.setOutputFile(pdf);
    control.setFile(testsupport::fixturePath(QStringLiteral("three_sheets.xls")));
    control.StartSheets();
    QCOMPARE(reportFailure([&] { control.Print(); }), QString());
    // A sheet with nothing on it prints no page either, and is no error.
    control.AddSheet(QStringLiteral("Empty"), QString());
    control.CommitSheet();
    control.setFile(reportFixture(QStringLiteral("report_pages.xls")));
    QCOMPARE(reportFailure([&] { control.Print(); }), QString());
    QCOMPARE(control.printedPages(), 0);
    QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(folder)), QStringList());
}

void ReportPdfTest::refusesUnknownSheetsAndUnreadableFiles() {
    const QString folder = m_folder.filePath(QStringLiteral("refused"));
    QVERIFY(QDir().mkpath(folder));
    const QString corrupt = testsupport::copyFixture(QStringLiteral("corrupt.xls"), folder);
    QVERIFY(!corrupt.isEmpty());
    const testsupport::FolderSnapshot before(folder);
    const QString pdf = folder + QStringLiteral("/out.pdf");

    QString cause = reportFailure([&] {
        printToPdf(testsupport::fixturePath(QStringLiteral("three_sheets.xls")),
                   {QStringLiteral("Alpha"), QStringLiteral("Delta")}, pdf);
    });
    QVERIFY2(cause.contains(QStringLiteral("\"Delta\"")), qPrintable(cause));
    // Sheet names are matched exactly.
    cause = reportFailure([&] {
        printToPdf(testsupport::fixturePath(QStringLiteral("three_sheets.xls")),
                   {QStringLiteral("alpha")}, pdf);
    });
    QVERIFY2(cause.contains(QStringLiteral("\"alpha\"")), qPrintable(cause));
    // The engine's own message.
    cause = reportFailure([&] { printToPdf(corrupt, {QStringLiteral("Alpha")}, pdf); });
    QVERIFY(!cause.isEmpty());
    xls::IconvCodePages codePages;
    QString engineMessage;
    try {
        xls::WorkbookReader(codePages).readFile(corrupt);
    } catch (const xls::ReadError& error) {
        engineMessage = error.message();
    }
    QCOMPARE(cause, engineMessage);
    // A PDF file that cannot be written.
    const QString unwritable = folder + QStringLiteral("/no-such-folder/out.pdf");
    cause = reportFailure([&] {
        printToPdf(testsupport::fixturePath(QStringLiteral("three_sheets.xls")),
                   {QStringLiteral("Alpha")}, unwritable);
    });
    QVERIFY2(cause.contains(unwritable), qPrintable(cause));
    cause = reportFailure(
        [&] { printToPdf(folder + QStringLiteral("/missing.xls"), {QStringLiteral("A")}, pdf); });
    QVERIFY2(!cause.isEmpty(), "a missing workbook is an error");
    QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(folder)), QStringList());
}

void ReportPdfTest::refusesMisusedCalls() {
    report::XlsReport control(m_codePages, m_spooler);
    control.StartSheets();
    QVERIFY(!reportFailure([&] { control.CommitSheet(); }).isEmpty());
    QVERIFY(!reportFailure([&] {
                 control.AddSheet(QStringLiteral("Alpha"), QStringLiteral("A1:B2"));
             }).isEmpty());
    qint16 status = 7;
    QVERIFY(
        !reportFailure([&] { control.SelectPrinter(1, QStringLiteral("x"), status); }).isEmpty());
    QCOMPARE(status, qint16(7));
}

void ReportPdfTest::printsOffTheGuiThread() {
    QString failure = QStringLiteral("not run");
    const QString pdf = m_folder.filePath(QStringLiteral("thread.pdf"));
    QThread* worker = QThread::create([&] {
        failure = reportFailure([&] {
            printToPdf(testsupport::fixturePath(QStringLiteral("two_sheets.xls")),
                       {QStringLiteral("First"), QStringLiteral("Second")},
                       QStringLiteral("thread.pdf"));
        });
    });
    worker->start();
    QVERIFY(worker->wait(120000));
    delete worker;
    QCOMPARE(failure, QString());
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 3);
    QVERIFY(pages[2].contains(QStringLiteral("second-sheet-bottom")));
}

void ReportPdfTest::mergedCellSpansThePageBreak() {
    const QString pdf = printToPdf(reportFixture(QStringLiteral("merge_split.xls")),
                                   {QStringLiteral("Merge")}, QStringLiteral("merge.pdf"));
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 2);
    QVERIFY(words(pages[0]).contains(QStringLiteral("m-col-1 m-col-2 m-col-3")));
    QVERIFY(words(pages[1]).contains(QStringLiteral("m-col-4 m-col-5 m-col-6")));
    // Centred over six columns, the text straddles the break: each page holds a part of it,
    // clipped at the page's edge, and pdftotext reads the whole text from both.
    QVERIFY2(pages[0].contains(QStringLiteral("merged-across-pages")), qPrintable(pages[0]));
    QVERIFY2(pages[1].contains(QStringLiteral("merged-across-pages")), qPrintable(pages[1]));
}

void ReportPdfTest::numbersPagesAcrossSheetsAndSkipsCharts() {
    xls::Workbook workbook;
    workbook.setFonts({xls::Font{}});
    workbook.setCellFormats({xls::CellFormat{}});
    const auto addSheet = [&](const QString& name, xls::SheetKind kind) -> xls::Sheet& {
        workbook.sheets().emplace_back(name, kind, xls::SheetVisibility::Visible);
        xls::Sheet& sheet = workbook.sheets().back();
        if (kind != xls::SheetKind::Chart)
            sheet.setCells({xls::Cell::text(0, 0, 0, name + QStringLiteral("-cell"))});
        sheet.pageSetup().header = QStringLiteral("&Cpage &P of &N");
        return sheet;
    };
    // A long print area, of which only the first page and that of row 150 are not blank.
    xls::Sheet& one = addSheet(QStringLiteral("One"), xls::SheetKind::Worksheet);
    one.setPrintAreas({{0, 199, 0, 0}});
    one.setCells({xls::Cell::text(0, 0, 0, QStringLiteral("One-cell")),
                  xls::Cell::text(150, 0, 0, QStringLiteral("One-late"))});
    addSheet(QStringLiteral("Chart"), xls::SheetKind::Chart);
    addSheet(QStringLiteral("Two"), xls::SheetKind::Worksheet).pageSetup().firstPageNumber = 10;
    addSheet(QStringLiteral("Macro"), xls::SheetKind::MacroSheet);
    xls::Sheet& three = addSheet(QStringLiteral("Three"), xls::SheetKind::Worksheet);
    three.pageSetup().orientation = xls::Orientation::Landscape;
    three.pageSetup().paperSize = 8; // A3

    QList<const xls::Sheet*> sheets;
    for (const xls::Sheet& sheet : workbook.sheets())
        sheets.append(&sheet);
    const report::FontMapper fonts;
    const report::TextShaper shaper;
    const report::ReportRenderer renderer(workbook, QStringLiteral("/nowhere/book.xls"), fonts,
                                          shaper);
    QCOMPARE(renderer.pageCount(sheets), 5);
    const QString pdf = m_folder.filePath(QStringLiteral("numbers.pdf"));
    {
        QPdfWriter writer(pdf);
        QCOMPARE(renderer.render(writer, sheets, QDateTime::currentDateTime()), 5);
    }
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 5);
    // Numbers run on across the sheets, skipping blank pages, a sheet's own first number
    // restarts them, &N counts the pages of the whole document, and a macro sheet prints.
    QVERIFY2(words(pages[0]).startsWith(QStringLiteral("page 1 of 5 One-cell")),
             qPrintable(pages[0]));
    QVERIFY2(words(pages[1]).startsWith(QStringLiteral("page 2 of 5 One-late")),
             qPrintable(pages[1]));
    QVERIFY2(words(pages[2]).startsWith(QStringLiteral("page 10 of 5 Two-cell")),
             qPrintable(pages[2]));
    QVERIFY2(words(pages[3]).startsWith(QStringLiteral("page 11 of 5 Macro-cell")),
             qPrintable(pages[3]));
    QVERIFY2(words(pages[4]).startsWith(QStringLiteral("page 12 of 5 Three-cell")),
             qPrintable(pages[4]));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                           QStringLiteral("-l"), QStringLiteral("5"), pdf});
    QVERIFY(info.waitForFinished(30000));
    const QString sizes = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(sizes.contains(QStringLiteral("Page    1 size:  595 x 842 pts (A4)")),
             qPrintable(sizes));
    QVERIFY2(sizes.contains(QStringLiteral("Page    5 size:  1191 x 842 pts (A3)")),
             qPrintable(sizes));

    // A chart sheet whose chart could not be read prints nothing.
    QCOMPARE(renderer.pageCount({&workbook.sheets()[1]}), 0);
}

void ReportPdfTest::narrowsNumbersThatDoNotFit() {
    xls::Workbook workbook;
    workbook.setFonts({xls::Font{}});
    xls::CellFormat twoDecimals;
    twoDecimals.formatIndex = 2; // 0.00
    workbook.setCellFormats({xls::CellFormat{}, twoDecimals});
    workbook.sheets().emplace_back(QStringLiteral("N"), xls::SheetKind::Worksheet,
                                   xls::SheetVisibility::Visible);
    xls::Sheet& sheet = workbook.sheets().back();
    // Column A 50 pixels wide (with the 7-pixel digit of Arial 10), column B as wide as the
    // default; the marker in C keeps the texts from flowing.
    xls::ColumnInfo narrow;
    narrow.width = 1811;
    sheet.setColumns({narrow});
    sheet.setCells({xls::Cell::number(0, 0, 0, 3.14159265358979),
                    xls::Cell::number(1, 0, 0, 123456789012345.0),
                    xls::Cell::number(2, 0, 1, 123456789.0), xls::Cell::number(3, 0, 0, 42),
                    xls::Cell::number(4, 1, 0, 3.14159265358979)});
    const report::FontMapper fonts;
    const report::TextShaper shaper;
    const report::ReportRenderer renderer(workbook, QStringLiteral("/nowhere/n.xls"), fonts,
                                          shaper);
    const QString pdf = m_folder.filePath(QStringLiteral("narrow.pdf"));
    {
        QPdfWriter writer(pdf);
        QCOMPARE(renderer.render(writer, {&sheet}, QDateTime::currentDateTime()), 1);
    }
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 1);
    const QStringList lines = pages[0].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList cells;
    for (const QString& line : lines)
        cells.append(line.trimmed());
    // General: fewer decimals, then exponent notation; a fixed format: # marks.
    QCOMPARE(cells.value(0), QStringLiteral("3.1416"));
    QCOMPARE(cells.value(1), QStringLiteral("1E+14"));
    QVERIFY2(cells.value(2).contains(QRegularExpression(QStringLiteral("^#{4,}$"))),
             qPrintable(cells.value(2)));
    QCOMPARE(cells.value(3), QStringLiteral("42"));
    QCOMPARE(cells.value(4), QStringLiteral("3.141593")); // as a default column shows pi
}

void ReportPdfTest::pageCountsAgreeWithLibreOffice() {
    QTemporaryDir work;
    QVERIFY(work.isValid());
    struct Case {
        QString path;
        int ours;
        int libreOffice;
        const char* reason; // why the counts differ, when they do
    };
    const QList<Case> cases{
        {reportFixture(QStringLiteral("report_pages.xls")), 11, 11, nullptr},
        {reportFixture(QStringLiteral("merge_split.xls")), 2, 3,
         "LibreOffice measures column widths with its own character width: three columns of "
         "210 pixels fit the 649 pixels between the margins by the spreadsheet's pixel rule, "
         "but not by LibreOffice's"},
        {reportFixture(QStringLiteral("formats.xls")), 1, 2,
         "text in G7 flows past the last used column into I, and both widen the printed range "
         "to it; but nine columns 10 characters wide fit between the margins by the "
         "spreadsheet's pixel rule, not by LibreOffice's character width"},
        {reportFixture(QStringLiteral("overflow.xls")), 2, 2, nullptr},
        {reportFixture(QStringLiteral("spill.xls")), 15, 15, nullptr},
        {testsupport::fixturePath(QStringLiteral("three_sheets.xls")), 3, 3, nullptr},
        {testsupport::fixturePath(QStringLiteral("two_sheets.xls")), 3, 3, nullptr},
        // An Excel 4.0 worksheet whose DIMENSIONS record claims the whole sheet.
        {work.filePath(QStringLiteral("made/biff4_sheet.xls")), 1, 1, nullptr},
    };
    QVERIFY(QDir().mkpath(work.filePath(QStringLiteral("made"))));
    QFile biff4(cases.back().path);
    QVERIFY(biff4.open(QIODevice::WriteOnly));
    QVERIFY(biff4.write(xlstest::borderedBiff4Sheet(27)) > 0);
    biff4.close();
    QStringList copies;
    for (const Case& c : cases) {
        const QString copy = work.filePath(QFileInfo(c.path).fileName());
        QVERIFY(QFile::copy(c.path, copy));
        copies.append(copy);
    }
    const QString out = work.filePath(QStringLiteral("lo"));
    QVERIFY(QDir().mkpath(out));
    const QString exported = testsupport::exportWithLibreOffice(copies, out);
    QVERIFY2(exported.isEmpty(), qPrintable(exported));

    for (const Case& c : cases) {
        const QString base = QFileInfo(c.path).completeBaseName();
        report::XlsReport control(m_codePages, m_spooler);
        const QString oursPdf = work.filePath(base + QStringLiteral(".ours.pdf"));
        control.setOutputFile(oursPdf);
        control.setFile(c.path);
        control.StartSheets();
        QProcess sheets;
        sheets.start(QStringLiteral(TESSALY_XLS_TOOL), {QStringLiteral("sheets"), c.path});
        QVERIFY(sheets.waitForFinished(30000));
        for (const QString& name : QString::fromUtf8(sheets.readAllStandardOutput())
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            control.AddSheet(name, QString());
            control.CommitSheet();
        }
        control.Print();
        const int oursCount = testsupport::pdfPageCount(oursPdf);
        const int theirs =
            testsupport::pdfPageCount(out + QLatin1Char('/') + base + QStringLiteral(".pdf"));
        QVERIFY2(oursCount == c.ours,
                 qPrintable(QStringLiteral("%1: we print %2 pages").arg(base).arg(oursCount)));
        QVERIFY2(
            theirs == c.libreOffice,
            qPrintable(QStringLiteral("%1: LibreOffice prints %2 pages").arg(base).arg(theirs)));
        if (c.reason == nullptr)
            QCOMPARE(oursCount, theirs);
        else
            QVERIFY2(oursCount != theirs, c.reason);
        if (base == QLatin1String("spill")) {
            compareSpilledText(oursPdf, out + QLatin1Char('/') + base + QStringLiteral(".pdf"));
            if (QTest::currentTestFailed())
                return;
        }
        if (base == QLatin1String("biff4_sheet")) {
            compareCellTexts(oursPdf, out + QLatin1Char('/') + base + QStringLiteral(".pdf"));
            if (QTest::currentTestFailed())
                return;
        }
        if (base != QLatin1String("report_pages"))
            continue;
        // Page numbers and the page count in the headers, as LibreOffice prints them: the
        // numbers run on across the sheets and &N counts the whole document.
        const QStringList ourPages = testsupport::pdfPageTexts(oursPdf);
        const QStringList theirPages =
            testsupport::pdfPageTexts(out + QLatin1Char('/') + base + QStringLiteral(".pdf"));
        QCOMPARE(ourPages.size(), theirPages.size());
        for (int i = 0; i < ourPages.size(); ++i) {
            const QString header = words(ourPages[i]).section(QLatin1Char(' '), 0, 2);
            QVERIFY2(header.endsWith(QStringLiteral("/11 head-right")), qPrintable(header));
            QVERIFY2(words(theirPages[i]).startsWith(header),
                     qPrintable(QStringLiteral("page %1: ours %2, LibreOffice's %3")
                                    .arg(i + 1)
                                    .arg(header, words(theirPages[i]).left(40))));
        }
    }
}

void ReportPdfTest::compareCellTexts(const QString& ours, const QString& theirs) {
    static const QRegularExpression cellText(QStringLiteral("\\br\\d+c\\d+\\b"));
    const auto cellTexts = [](const QString& pdf) {
        QStringList texts;
        for (auto it = cellText.globalMatch(testsupport::pdfPageTexts(pdf).join(u' '));
             it.hasNext();)
            texts.append(it.next().captured());
        return texts;
    };
    const QStringList ourTexts = cellTexts(ours);
    QCOMPARE(ourTexts.size(), 81);
    QCOMPARE(ourTexts, cellTexts(theirs));
}

void ReportPdfTest::compareSpilledText(const QString& ours, const QString& theirs) {
    // The pages each sheet prints: text spilled onto a page of its own ("Only"), month names
    // in the title row that the print area starts with ("Titles"), a whole column fitted to 2
    // by 3 pages at the scale its 200 rows need ("FitColumn"), and a range starting at A1
    // with its first cells in C3 ("Offset").
    const QList<QPair<QString, int>> sheets{{QStringLiteral("Flow"), 3},
                                            {QStringLiteral("Only"), 2},
                                            {QStringLiteral("Titles"), 5},
                                            {QStringLiteral("FitColumn"), 3},
                                            {QStringLiteral("Offset"), 2}};
    // The pages of "Flow" (columns A:D, E:H and I:L) on which each row of texts shows ink.
    const QList<QPair<int, QList<int>>> flow{
        {1, {1, 2}},    // left-aligned in A, across one page break
        {2, {1, 2, 3}}, // across two
        {3, {2, 3}},    // right-aligned in L, across one
        {4, {1, 2, 3}}, // across two
        {5, {1, 2}},    // centred in D, across one
        {6, {1, 2, 3}}, // centred in G, across two
        {7, {1}},       // stopped by a filled cell before the break
        {8, {1}},       // stopped by a merged area
        {9, {3}},       // right-aligned, stopped by a filled cell
    };
    for (const QString& pdf : {ours, theirs}) {
        const QStringList pages = testsupport::pdfPageTexts(pdf);
        QStringList sheetOfPage;
        for (const QString& page : pages)
            sheetOfPage.append(words(page).section(QLatin1Char(' '), 0, 0));
        for (const auto& [sheet, count] : sheets)
            QVERIFY2(sheetOfPage.count(sheet) == count,
                     qPrintable(QStringLiteral("%1: %2 prints %3 pages of %4")
                                    .arg(pdf, sheet)
                                    .arg(sheetOfPage.count(sheet))
                                    .arg(count)));
        const QList<QSet<int>> inked = inkedRows(pdf, 12.75).mid(0, 3);
        for (const auto& [row, expected] : flow) {
            QList<int> shown;
            QString named;
            for (int page = 0; page < inked.size(); ++page) {
                if (inked[page].contains(row)) {
                    shown.append(page + 1);
                    named += QStringLiteral(" %1").arg(page + 1);
                }
            }
            QVERIFY2(
                shown == expected,
                qPrintable(
                    QStringLiteral("%1: row %2 shows on pages%3").arg(pdf).arg(row).arg(named)));
        }
    }
}

QTEST_MAIN(ReportPdfTest)
#include "tst_report_pdf.moc"
