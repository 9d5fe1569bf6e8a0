// Charts on the report printer's pages: the LibreOffice-made chart fixture printed by us and
// exported by LibreOffice, compared chart by chart; and a chart sheet's own page.

#include "report/CellFonts.h"
#include "report/ChartPainter.h"
#include "report/ChartScale.h"
#include "report/FontMapper.h"
#include "report/PrintOptions.h"
#include "report/ReportRenderer.h"
#include "report/TextShaper.h"
#include "tests/support/LibreOfficePdf.h"
#include "tests/support/PrivateCups.h"
#include "xls/IconvCodePages.h"
#include "xls/Workbook.h"
#include "xls/WorkbookReader.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <optional>

Q_DECLARE_METATYPE(xls::ValueScale)

namespace {

const QString kFixture = QStringLiteral(TESSALY_XLS_FIXTURES "/charts.xls");
// The size the fixture's charts were made at: 120 by 65 millimetres.
constexpr double kChartWidth = 120 / 25.4 * 72;
constexpr double kChartHeight = 65 / 25.4 * 72;

// A word of a PDF: its page and box, from pdftotext -bbox.
struct Word {
    QString text;
    int page = 0;
    QRectF box;
};

QList<Word> pdfWords(const QString& pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(60000))
        return {};
    QList<Word> words;
    int page = 0;
    const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (const QString& line : QString::fromUtf8(text.readAllStandardOutput()).split('\n')) {
        if (line.contains(QLatin1String("<page ")))
            ++page;
        const QRegularExpressionMatch match = word.match(line);
        if (match.hasMatch())
            words.append(
                {match.captured(5), page,
                 QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                        QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()))});
    }
    return words;
}

// Separate patches of a colour in an image: pixels within a small distance of it, joined to
// their four neighbours; specks smaller than a legend key (the holes of letters and digits
// drawn over a bar) do not count.
int patches(const QImage& page, QRgb color) {
    constexpr int kNear = 12;
    constexpr int kSpeck = 100;
    const QRect area = page.rect();
    const auto matches = [&](int x, int y) {
        const QRgb pixel = page.pixel(x, y);
        return std::abs(qRed(pixel) - qRed(color)) + std::abs(qGreen(pixel) - qGreen(color)) +
                   std::abs(qBlue(pixel) - qBlue(color)) <
               kNear;
    };
    QList<bool> seen(qsizetype(page.width()) * page.height(), false);
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (seen[y * page.width() + x] || !matches(x, y))
                continue;
            int size = 0;
            QList<QPoint> stack{{x, y}};
            seen[y * page.width() + x] = true;
            while (!stack.isEmpty()) {
                const QPoint at = stack.takeLast();
                ++size;
                for (const QPoint step :
                     {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint next = at + step;
                    if (!area.contains(next) || seen[next.y() * page.width() + next.x()] ||
                        !matches(next.x(), next.y()))
                        continue;
                    seen[next.y() * page.width() + next.x()] = true;
                    stack.append(next);
                }
            }
            count += size > kSpeck ? 1 : 0;
        }
    }
    return count;
}

const xls::Workbook& fixture() {
    static const xls::IconvCodePages codePages;
    static const xls::Workbook book = xls::WorkbookReader(codePages).readFile(kFixture);
    return book;
}

// The sheets of a workbook printed by us into a PDF; the number of pages painted.
int printOurs(const xls::Workbook& workbook, const QString& pdf) {
    const report::FontMapper fonts;
    const report::TextShaper shaper;
    const report::ReportRenderer renderer(workbook, kFixture, fonts, shaper);
    QList<const xls::Sheet*> sheets;
    for (const xls::Sheet& sheet : workbook.sheets())
        sheets.append(&sheet);
    QPdfWriter writer(pdf);
    return renderer.render(writer, sheets, QDateTime(QDate(2026, 1, 2), QTime(3, 4)));
}

const xls::Chart& fixtureChart(int ordinal) {
    return *fixture().sheets().at(1).objects().at(ordinal).chart;
}

// A chart painted alone into an image at the size it was made at, two pixels a point.
QImage paintedChart(const xls::Chart& chart) {
    constexpr double kZoom = 2;
    const xls::Workbook& book = fixture();
    const QSizeF size(kChartWidth, kChartHeight);
    QImage image((size * kZoom).toSize(), QImage::Format_RGB32);
    // Fonts in points at 72 dots per inch, as on the PDF page.
    constexpr int kDotsPerMeter = 2835;
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    image.fill(Qt::white);
    const report::FontMapper fonts;
    const report::TextShaper shaper;
    const report::CellFonts cellFonts(book, fonts, shaper);
    const report::PrintOptions options(book.palette(), book.sheets().at(1).pageSetup());
    QPainter painter(&image);
    painter.scale(kZoom, kZoom);
    report::ChartPainter(book, cellFonts, options).paint(painter, chart, QRectF(QPointF(), size));
    return image;
}

// The colour the file gives the first series, or its first point in a chart of one colour a
// point: its fill, or for lines and markers its line.
QRgb firstColor(const xls::Chart& chart) {
    const xls::ChartSeries& series = chart.series.front();
    for (const xls::PointFormat& point : series.points) {
        if (point.point == 0 && point.format.fill)
            return point.format.fill->foreground.rgb;
    }
    const xls::ChartType type = chart.groups.front().type;
    if (type == xls::ChartType::Bar || type == xls::ChartType::Area)
        return series.format.fill ? series.format.fill->foreground.rgb : 0;
    return series.format.line ? series.format.line->color.rgb : 0;
}

// The chart with its first series alone; its line hidden when it shows markers, so that the
// markers stand apart.
xls::Chart firstSeriesAlone(xls::Chart chart, bool markersOnly) {
    chart.series.resize(1);
    if (markersOnly) {
        xls::ChartLine none;
        none.dash = xls::ChartDash::None;
        chart.series.front().format.line = none;
    }
    return chart;
}

// The first word of a text on a PDF's pages.
Word wordOf(const QList<Word>& words, const QString& text) {
    const auto found = std::find_if(words.begin(), words.end(),
                                    [&](const Word& word) { return word.text == text; });
    return found == words.end() ? Word{} : *found;
}

// Whether a word shows in the chart below its title: on the title's page, or at the top of
// the next one where a page break cuts the chart.
bool inChart(const QList<Word>& words, const Word& title, const QString& text) {
    constexpr double kChartBelowTitle = 180;
    constexpr double kPageTop = 190;
    return std::any_of(words.begin(), words.end(), [&](const Word& word) {
        const double below = word.box.top() - title.box.top();
        return word.text == text &&
               ((word.page == title.page && below > 0 && below < kChartBelowTitle) ||
                (word.page == title.page + 1 && word.box.top() < kPageTop));
    });
}

// A legend entry's place from its chart's title: the word on the title's page, in the chart
// below the title, that stands furthest to the side (a data label may show the same text
// nearer the middle).
std::optional<QPointF> legendEntry(const QList<Word>& words, const Word& title,
                                   const QString& entry) {
    constexpr double kChartBelowTitle = 180;
    std::optional<QPointF> found;
    for (const Word& word : words) {
        const QPointF from = word.box.center() - title.box.center();
        if (word.text == entry && word.page == title.page && from.y() > 0 &&
            from.y() < kChartBelowTitle && (!found || std::abs(from.x()) > std::abs(found->x())))
            found = from;
    }
    return found;
}

} // namespace

class ReportChartsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void matchesLibreOfficesExport_data();
    void matchesLibreOfficesExport();
    void scaleFollowsTheAutomaticRules_data();
    void scaleFollowsTheAutomaticRules();
    void chartsTakePagesByTheirPrintFlag_data();
    void chartsTakePagesByTheirPrintFlag();
    void chartSheetPrintsOnePage_data();
    void chartSheetPrintsOnePage();

private:
    QTemporaryDir m_work;
    QString m_ours;
    QString m_theirs;
    QList<Word> m_ourWords;
    QList<Word> m_theirWords;
};

void ReportChartsTest::initTestCase() {
    QVERIFY(m_work.isValid());
    m_ours = m_work.filePath(QStringLiteral("ours.pdf"));
    QVERIFY(printOurs(fixture(), m_ours) > 0);
    const QString copy = m_work.filePath(QStringLiteral("charts.xls"));
    QVERIFY(QFile::copy(kFixture, copy));
    const QString exported = testsupport::exportWithLibreOffice({copy}, m_work.path());
    QVERIFY2(exported.isEmpty(), qPrintable(exported));
    m_theirs = m_work.filePath(QStringLiteral("charts.pdf"));
    m_ourWords = pdfWords(m_ours);
    m_theirWords = pdfWords(m_theirs);
}

// The title of each chart of the Charts sheet is on the same page as in LibreOffice's export,
// and in the same place within stated tolerances: across within 12 points (each of the six
// columns a chart spans prints about 3.3 points narrower in our layout, so the chart's middle
// lies 10 points further left); down within 10 points, plus 14 for every page break above it
// (LibreOffice lays its rows out in exact twips, we in whole pixels, so its pages break up to
// a row later each). Legend entries stand where LibreOffice puts them, measured from the
// title, within 25 points across (the same narrower columns) and 6 points down; the value
// axis' highest tick label shows in both. Bars, slices,
// rings, areas and markers are counted from the chart painted alone: patches of the first
// series' colour, its legend key included.
void ReportChartsTest::matchesLibreOfficesExport_data() {
    QTest::addColumn<int>("chart");
    QTest::addColumn<QStringList>("legend");
    QTest::addColumn<bool>("alone");
    QTest::addColumn<bool>("markersOnly");
    QTest::addColumn<int>("patchesOfFirst");
    QTest::addColumn<QString>("topTick");
    const QStringList series{QStringLiteral("North"), QStringLiteral("South"),
                             QStringLiteral("West")};
    const QStringList months{QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"),
                             QStringLiteral("Apr"), QStringLiteral("May")};
    // Lines cross each other: their series are counted alone.
    QTest::newRow("column") << 0 << series << false << false << 5 + 1 << QStringLiteral("40");
    QTest::newRow("column_stacked")
        << 1 << series << false << false << 5 + 1 << QStringLiteral("45");
    QTest::newRow("column_percent")
        << 2 << series << false << false << 5 + 1 << QStringLiteral("100%");
    QTest::newRow("bar") << 3 << series << false << false << 5 + 1 << QStringLiteral("25");
    QTest::newRow("line_markers") << 4 << series << true << true << 5 + 1 << QStringLiteral("25");
    QTest::newRow("line") << 5 << series << true << false << 1 + 1 << QStringLiteral("100");
    QTest::newRow("line_stacked") << 6 << series << true << false << 1 + 1 << QStringLiteral("45");
    QTest::newRow("pie") << 7 << months << false << false << 1 + 1 << QStringLiteral("");
    QTest::newRow("pie_exploded") << 8 << months << false << false << 1 + 1 << QStringLiteral("");
    // The doughnut's rings start together: their first pieces touch.
    QTest::newRow("doughnut") << 9 << months << false << false << 1 + 1 << QStringLiteral("");
    QTest::newRow("area_stacked") << 10 << series << false << false << 1 + 1
                                  << QStringLiteral("45");
    QTest::newRow("scatter") << 11 << series.mid(1) << true << true << 5 + 1
                             << QStringLiteral("16");
    QTest::newRow("radar") << 12 << series << true << true << 5 + 1 << QStringLiteral("");
    QTest::newRow("combination") << 13 << series << true << false << 5 + 1 << QStringLiteral("14");
}

void ReportChartsTest::matchesLibreOfficesExport() {
    QFETCH(int, chart);
    QFETCH(QStringList, legend);
    QFETCH(bool, alone);
    QFETCH(bool, markersOnly);
    QFETCH(int, patchesOfFirst);
    QFETCH(QString, topTick);
    constexpr int kFirstChartPage = 2;
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const Word ours = wordOf(m_ourWords, name);
    const Word theirs = wordOf(m_theirWords, name);
    QVERIFY2(ours.page > 0 && theirs.page > 0, qPrintable(name));
    QCOMPARE(ours.page, theirs.page);
    const QPointF off = ours.box.center() - theirs.box.center();
    const QString where = QStringLiteral("ours at (%1, %2), LibreOffice's at (%3, %4)")
                              .arg(ours.box.center().x())
                              .arg(ours.box.center().y())
                              .arg(theirs.box.center().x())
                              .arg(theirs.box.center().y());
    QVERIFY2(std::abs(off.x()) <= 12, qPrintable(where));
    QVERIFY2(std::abs(off.y()) <= 10 + 14 * (ours.page - kFirstChartPage), qPrintable(where));

    for (const QString& entry : legend) {
        const std::optional<QPointF> ourEntry = legendEntry(m_ourWords, ours, entry);
        const std::optional<QPointF> theirEntry = legendEntry(m_theirWords, theirs, entry);
        // A chart cut by a page break may show its legend on the next page only.
        QCOMPARE(ourEntry.has_value(), theirEntry.has_value());
        if (!ourEntry)
            continue;
        const QString at = QStringLiteral("%1: ours (%2, %3), LibreOffice's (%4, %5)")
                               .arg(entry)
                               .arg(ourEntry->x())
                               .arg(ourEntry->y())
                               .arg(theirEntry->x())
                               .arg(theirEntry->y());
        QVERIFY2(std::abs(ourEntry->x() - theirEntry->x()) <= 25, qPrintable(at));
        QVERIFY2(std::abs(ourEntry->y() - theirEntry->y()) <= 6, qPrintable(at));
    }

    // The value axis' highest tick label, from the scale's automatic rules or the one the file
    // gives.
    if (!topTick.isEmpty()) {
        QVERIFY2(inChart(m_theirWords, theirs, topTick), qPrintable(topTick));
        QVERIFY2(inChart(m_ourWords, ours, topTick), qPrintable(topTick));
    }

    const xls::Chart& original = fixtureChart(chart);
    const QImage image = paintedChart(alone ? firstSeriesAlone(original, markersOnly) : original);
    QCOMPARE(patches(image, firstColor(original)), patchesOfFirst);
}

// Value axes of the fixture's charts as LibreOffice's export shows them (it follows the
// spreadsheet's automatic rules there), and the scale the column chart gives outright.
void ReportChartsTest::scaleFollowsTheAutomaticRules_data() {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<bool>("zero");
    QTest::addColumn<xls::ValueScale>("given");
    QTest::addColumn<QList<double>>("ticks");
    xls::ValueScale fixed;
    fixed.minimum = 0;
    fixed.maximum = 40;
    fixed.majorUnit = 8;
    xls::ValueScale logarithmic;
    logarithmic.logarithmic = true;
    QTest::newRow("column_stacked") << 12.0 << 39.0 << true << xls::ValueScale{}
                                    << QList<double>{0, 5, 10, 15, 20, 25, 30, 35, 40, 45};
    QTest::newRow("line_markers") << 5.0 << 20.0 << false << xls::ValueScale{}
                                  << QList<double>{0, 5, 10, 15, 20, 25};
    QTest::newRow("scatter") << 5.0 << 14.0 << false << xls::ValueScale{}
                             << QList<double>{0, 2, 4, 6, 8, 10, 12, 14, 16};
    QTest::newRow("combination, secondary")
        << 5.0 << 12.0 << false << xls::ValueScale{} << QList<double>{0, 2, 4, 6, 8, 10, 12, 14};
    QTest::newRow("line, logarithmic")
        << 5.0 << 20.0 << false << logarithmic << QList<double>{1, 10, 100};
    QTest::newRow("column, given")
        << 5.0 << 20.0 << true << fixed << QList<double>{0, 8, 16, 24, 32, 40};
}

void ReportChartsTest::scaleFollowsTheAutomaticRules() {
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(bool, zero);
    QFETCH(xls::ValueScale, given);
    QFETCH(QList<double>, ticks);
    const report::ChartScale scale(given, low, high, zero);
    const std::vector<double> actual = scale.ticks();
    QCOMPARE(QList<double>(actual.begin(), actual.end()), ticks);
    // The ends of the scale are the ends of the axis; reversed, they swap.
    QCOMPARE(scale.fraction(ticks.front()), 0.0);
    QCOMPARE(scale.fraction(ticks.back()), 1.0);
    given.reversed = true;
    QCOMPARE(report::ChartScale(given, low, high, zero).fraction(ticks.front()), 1.0);
}

// The Charts sheet holds nothing but its charts: they make its printed range and keep its
// pages from being blank, as LibreOffice's export shows (five pages), unless their print flag
// is off.
void ReportChartsTest::chartsTakePagesByTheirPrintFlag_data() {
    QTest::addColumn<bool>("prints");
    QTest::addColumn<int>("pages");
    QTest::newRow("printed") << true << testsupport::pdfPageCount(m_theirs) - 1;
    QTest::newRow("not printed") << false << 0;
}

void ReportChartsTest::chartsTakePagesByTheirPrintFlag() {
    QFETCH(bool, prints);
    QFETCH(int, pages);
    xls::Workbook book = fixture();
    xls::Sheet& charts = book.sheets().at(1);
    std::vector<xls::SheetObject> objects = charts.objects();
    for (xls::SheetObject& object : objects)
        object.prints = prints;
    charts.setObjects(std::move(objects));
    const report::FontMapper fonts;
    const report::TextShaper shaper;
    QCOMPARE(report::ReportRenderer(book, kFixture, fonts, shaper).pageCount({&charts}), pages);
}

// A chart sheet prints one page of its own paper and orientation, its chart spread over the
// area between the margins, numbered in its place among the sheets' pages: the workbook's
// sheets print 1 page (Data) and 5 (Charts); the chart sheet's header shows "&P of &N".
void ReportChartsTest::chartSheetPrintsOnePage_data() {
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("page");
    QTest::newRow("first") << 0 << 1;
    QTest::newRow("last") << 2 << 7;
}

void ReportChartsTest::chartSheetPrintsOnePage() {
    QFETCH(int, at);
    QFETCH(int, page);
    xls::Workbook book = fixture();
    // LibreOffice gives the Data sheet a first page number of its own: numbered on instead.
    book.sheets().front().pageSetup().firstPageNumber.reset();
    xls::Sheet sheet(QStringLiteral("Chart1"), xls::SheetKind::Chart,
                     xls::SheetVisibility::Visible);
    sheet.setChart(std::make_shared<xls::Chart>(fixtureChart(0)));
    xls::PageSetup& setup = sheet.pageSetup();
    setup.orientation = xls::Orientation::Landscape;
    setup.header = QStringLiteral("&P of &N");
    setup.leftMargin = 2;
    book.sheets().insert(book.sheets().begin() + at, std::move(sheet));
    const QString pdf = m_work.filePath(QStringLiteral("chartsheet.pdf"));
    QCOMPARE(printOurs(book, pdf), 7);

    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), 7);
    QVERIFY2(pages[page - 1].contains(QStringLiteral("%1 of 7").arg(page)),
             qPrintable(pages[page - 1]));
    // The Data sheet's page numbers on from the sheets before it.
    const int dataPage = at == 0 ? 2 : 1;
    QVERIFY(pages[dataPage - 1].contains(QStringLiteral("Page %1").arg(dataPage)));

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QString::number(page),
                                           QStringLiteral("-l"), QString::number(page), pdf});
    QVERIFY(info.waitForFinished(30000));
    const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(infoText.contains(QRegularExpression(QStringLiteral("size:\\s+842 x 595 pts"))),
             qPrintable(infoText));
    // The title stands in the middle of the area between the 2-inch left margin and the
    // 0.75-inch right one, at the top of the area below the 1-inch top margin.
    QList<Word> words;
    for (const Word& word : pdfWords(pdf)) {
        if (word.page == page)
            words.append(word);
    }
    const QRectF title =
        wordOf(words, QStringLiteral("Chart")).box | wordOf(words, QStringLiteral("column")).box;
    const double middle = (2 * 72 + 841.89 - 0.75 * 72) / 2;
    QVERIFY2(std::abs(title.center().x() - middle) < 3,
             qPrintable(QString::number(title.center().x())));
    QVERIFY2(title.top() > 72 && title.top() < 72 + 20, qPrintable(QString::number(title.top())));
}

QTEST_MAIN(ReportChartsTest)
#include "tst_report_charts.moc"
