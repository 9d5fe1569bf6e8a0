// The report fixtures written by our PDF writer and by Qt's, from the same layout: the same
// pages, sizes, words and ink, and fonts that are embedded as subsets with their text.

#include "report/FontMapper.h"
#include "report/ReportRenderer.h"
#include "report/TextShaper.h"
#include "report/WorkbookPdf.h"
#include "tests/support/PrivateCups.h"
#include "xls/IconvCodePages.h"
#include "xls/Workbook.h"
#include "xls/WorkbookReader.h"

#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

constexpr int kDpi = 50;
constexpr int kBlock = 8;          // pixels a side of the areas compared
constexpr int kInkDifference = 40; // of 255, in an area's mean grey

QString run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList sortedWords(const QString& page) {
    QStringList words = page.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    std::sort(words.begin(), words.end());
    return words;
}

QStringList pageSizes(const QString& pdf) {
    const QString info = run(QStringLiteral("pdfinfo"), {"-f", "1", "-l", "999", pdf});
    QStringList sizes;
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Page")) && line.contains(QStringLiteral(" size:")))
            sizes.append(line.section(QLatin1Char(':'), 1).simplified());
    }
    return sizes;
}

QImage pageImage(const QString& pdf, int page, const QString& folder) {
    const QString stem = folder + QStringLiteral("/page");
    run(QStringLiteral("pdftoppm"),
        {"-gray", "-r", QString::number(kDpi), "-f", QString::number(page), "-l",
         QString::number(page), "-singlefile", "-png", pdf, stem});
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

// The areas whose mean grey differs by more than kInkDifference.
int differingAreas(const QImage& ours, const QImage& theirs) {
    int differing = 0;
    for (int top = 0; top + kBlock <= ours.height(); top += kBlock) {
        for (int left = 0; left + kBlock <= ours.width(); left += kBlock) {
            int sum = 0;
            for (int y = top; y < top + kBlock; ++y) {
                for (int x = left; x < left + kBlock; ++x)
                    sum += qGray(ours.pixel(x, y)) - qGray(theirs.pixel(x, y));
            }
            differing += std::abs(sum) / (kBlock * kBlock) > kInkDifference ? 1 : 0;
        }
    }
    return differing;
}

} // namespace

class ReportWritersTest : public QObject {
    Q_OBJECT

private slots:
    void fixturesPrintAsQtWritesThem_data();
    void fixturesPrintAsQtWritesThem();

private:
    QTemporaryDir m_folder;
};

void ReportWritersTest::fixturesPrintAsQtWritesThem_data() {
    QTest::addColumn<QString>("file");
    for (const char* name :
         {"report_pages", "formats", "merge_split", "overflow", "spill", "older_picture"})
        QTest::newRow(name) << QStringLiteral(TESSALY_REPORT_FIXTURES "/%1.xls").arg(name);
    QTest::newRow("comments") << QStringLiteral(TESSALY_COMMENT_FIXTURE);
    QTest::newRow("objects") << QStringLiteral(TESSALY_OBJECT_FIXTURE);
}

void ReportWritersTest::fixturesPrintAsQtWritesThem() {
    QFETCH(QString, file);
    const xls::IconvCodePages codePages;
    const auto workbook =
        std::make_shared<const xls::Workbook>(xls::WorkbookReader(codePages).readFile(file));
    QStringList names;
    QList<const xls::Sheet*> sheets;
    for (const xls::Sheet& sheet : workbook->sheets()) {
        if (sheet.visibility() == xls::SheetVisibility::Visible) {
            names.append(sheet.name());
            sheets.append(&sheet);
        }
    }
    const QString ours = m_folder.filePath(QStringLiteral("ours.pdf"));
    const QString theirs = m_folder.filePath(QStringLiteral("qt.pdf"));
    const int pages = report::writeWorkbookPdf(codePages, {file, workbook}, names, ours);
    {
        const report::FontMapper fonts;
        QPdfWriter writer(theirs);
        const report::TextShaper shaper;
        QCOMPARE(report::ReportRenderer(*workbook, file, fonts, shaper)
                     .render(writer, sheets, QDateTime::currentDateTime()),
                 pages);
    }
    QVERIFY(run(QStringLiteral("qpdf"), {"--check", ours}).contains(QStringLiteral("No syntax")));
    QCOMPARE(pageSizes(ours), pageSizes(theirs));
    // Every font embedded as a subset, with its characters.
    const QStringList fonts =
        run(QStringLiteral("pdffonts"), {ours}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(fonts.size() > 2);
    for (const QString& font : fonts.mid(2))
        QVERIFY2(font.contains(QRegularExpression(QStringLiteral("yes +yes +yes"))),
                 qPrintable(font));
    const QStringList ourTexts = testsupport::pdfPageTexts(ours);
    const QStringList theirTexts = testsupport::pdfPageTexts(theirs);
    QCOMPARE(ourTexts.size(), pages);
    for (int page = 0; page < pages; ++page) {
        QCOMPARE(sortedWords(ourTexts[page]), sortedWords(theirTexts[page]));
        const QImage mine = pageImage(ours, page + 1, m_folder.path());
        const QImage qts = pageImage(theirs, page + 1, m_folder.path());
        QCOMPARE(mine.size(), qts.size());
        QVERIFY2(
            differingAreas(mine, qts) == 0,
            qPrintable(
                QStringLiteral("page %1: %2 areas").arg(page + 1).arg(differingAreas(mine, qts))));
    }
}

QTEST_MAIN(ReportWritersTest)
#include "tst_report_writers.moc"
