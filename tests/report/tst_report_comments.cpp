// Comments printed by the report printer, compared with LibreOffice's own PDF export of the
// same LibreOffice-made workbook, and the comment list's pages and numbering.

#include "report/FontMapper.h"
#include "report/ReportRenderer.h"
#include "report/TextShaper.h"
#include "report/WorkbookPdf.h"
#include "tests/support/LibreOfficePdf.h"
#include "tests/support/PrivateCups.h"
#include "xls/IconvCodePages.h"
#include "xls/Workbook.h"

#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Where a word stands on a page, in points from the page's top left corner.
QPointF wordAt(const QString& pdf, int page, const QString& word) {
    QProcess bbox;
    bbox.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    if (!bbox.waitForFinished(30000))
        return {-1, -1};
    static const QRegularExpression pattern(
        QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    auto matches = pattern.globalMatch(QString::fromUtf8(bbox.readAllStandardOutput()));
    while (matches.hasNext()) {
        const auto match = matches.next();
        if (match.captured(3) == word)
            return {match.captured(1).toDouble(), match.captured(2).toDouble()};
    }
    return {-1, -1};
}

QStringList lines(const QString& page) {
    QStringList result;
    for (const QString& line : page.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        result.append(line.simplified());
    return result;
}

// Box positions agree with LibreOffice's within this many points: the two measure columns
// slightly differently and inset the text by their own margins.
constexpr double kTolerance = 6;

} // namespace

class ReportCommentsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void boxesStandWhereLibreOfficePrintsThem_data();
    void boxesStandWhereLibreOfficePrintsThem();
    void printsEachSheetAsItsSetupSays();
    void listNumbersOnAcrossPagesAndSheets();

private:
    QTemporaryDir m_folder;
    QString m_ours;
    QString m_theirs;
};

void ReportCommentsTest::initTestCase() {
    QVERIFY(m_folder.isValid());
    // Both print a copy: nothing is written beside the fixture.
    const QString book = m_folder.filePath(QStringLiteral("comments.xls"));
    QVERIFY(QFile::copy(QStringLiteral(TESSALY_COMMENT_FIXTURE), book));
    const xls::IconvCodePages codePages;
    m_ours = m_folder.filePath(QStringLiteral("ours.pdf"));
    QCOMPARE(report::writeWorkbookPdf(codePages, book,
                                      {QStringLiteral("Displayed"), QStringLiteral("AtEnd"),
                                       QStringLiteral("NoComments")},
                                      m_ours),
             5);
    const QString exported =
        testsupport::exportWithLibreOffice({book}, m_folder.filePath(QStringLiteral("lo")));
    QVERIFY2(exported.isEmpty(), qPrintable(exported));
    m_theirs = m_folder.filePath(QStringLiteral("lo/comments.pdf"));
    QVERIFY(QFile::exists(m_theirs));
}

void ReportCommentsTest::boxesStandWhereLibreOfficePrintsThem_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("page"); // the same in both documents
    QTest::newRow("shown box") << QStringLiteral("Shown") << 1;
    QTest::newRow("box above the break") << QStringLiteral("Across") << 1;
    // The page below the break holds nothing but the box's lower part; its text, cut away
    // above the page, still stands in the PDF at its place.
    QTest::newRow("box below the break") << QStringLiteral("Across") << 2;
}

void ReportCommentsTest::boxesStandWhereLibreOfficePrintsThem() {
    QFETCH(QString, word);
    QFETCH(int, page);
    const QPointF ours = wordAt(m_ours, page, word);
    const QPointF theirs = wordAt(m_theirs, page, word);
    QVERIFY2(ours.x() >= 0 && theirs.x() >= 0,
             qPrintable(QStringLiteral("ours %1, LibreOffice's %2").arg(ours.x()).arg(theirs.x())));
    QVERIFY2(std::abs(ours.x() - theirs.x()) <= kTolerance &&
                 std::abs(ours.y() - theirs.y()) <= kTolerance,
             qPrintable(QStringLiteral("ours (%1, %2), LibreOffice's (%3, %4)")
                            .arg(ours.x())
                            .arg(ours.y())
                            .arg(theirs.x())
                            .arg(theirs.y())));
}

// As displayed: shown boxes only, the bold run in a bold font. At the end: no box on the
// sheet's page, then a list of every comment by row, then column, holding the same cells and
// texts as LibreOffice's list (which LibreOffice orders by column). Not printed: nothing.
void ReportCommentsTest::printsEachSheetAsItsSetupSays() {
    const QStringList ours = testsupport::pdfPageTexts(m_ours);
    QCOMPARE(ours.size(), 5);
    for (const QString& page : ours) {
        QVERIFY2(!page.contains(QStringLiteral("Hidden note")) &&
                     !page.contains(QStringLiteral("Not printed")),
                 qPrintable(page));
    }
    QVERIFY(ours[0].contains(QStringLiteral("displayed-marker")));
    QVERIFY(ours[0].contains(QStringLiteral("Shown note")));
    QVERIFY(ours[2].contains(QStringLiteral("at-end-marker")));
    QVERIFY2(!ours[2].contains(QStringLiteral("Note B7")), qPrintable(ours[2]));
    const QStringList expected{QStringLiteral("AtEnd"),
                               QStringLiteral("Cell: D2"),
                               QStringLiteral("Comment: Note D2"),
                               QStringLiteral("Cell: A7"),
                               QStringLiteral("Comment: Note A7"),
                               QStringLiteral("Cell: B7"),
                               QStringLiteral("Comment: Note B7"),
                               QStringLiteral("Page 4")};
    QCOMPARE(lines(ours[3]), expected);
    QCOMPARE(lines(ours[4]), QStringList{QStringLiteral("none-marker")});

    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {m_ours});
    QVERIFY(fonts.waitForFinished(30000));
    QVERIFY(QString::fromUtf8(fonts.readAllStandardOutput())
                .contains(QStringLiteral("LiberationSans-Bold")));

    // LibreOffice lists "A7: Note A7" and so on after the AtEnd sheet's page.
    const QStringList theirs = testsupport::pdfPageTexts(m_theirs);
    QStringList theirList;
    for (const QString& page : theirs) {
        if (page.contains(QStringLiteral("Note A7")) && page.contains(QStringLiteral("D2:")))
            theirList = lines(page);
    }
    QStringList ourPairs;
    for (int at = 1; at + 1 < expected.size() - 1; at += 2)
        ourPairs.append(expected[at].mid(6) + QStringLiteral(": ") + expected[at + 1].mid(9));
    ourPairs.sort();
    QStringList theirPairs = theirList.filter(QRegularExpression(QStringLiteral("^[A-Z]+\\d+:")));
    for (QString& pair : theirPairs)
        pair = pair.simplified();
    theirPairs.sort();
    QCOMPARE(ourPairs, theirPairs);
}

// A list longer than a page goes on over as many pages as it needs, each comment whole on one
// page, numbered on after the sheet's pages and counted in &N; the next sheet numbers on
// after the list.
void ReportCommentsTest::listNumbersOnAcrossPagesAndSheets() {
    xls::Workbook workbook;
    workbook.setFonts({xls::Font{}});
    workbook.setCellFormats({xls::CellFormat{}});
    for (const QString& name : {QStringLiteral("Listed"), QStringLiteral("Next")}) {
        workbook.sheets().emplace_back(name, xls::SheetKind::Worksheet,
                                       xls::SheetVisibility::Visible);
        xls::Sheet& sheet = workbook.sheets().back();
        sheet.setCells({xls::Cell::text(0, 0, 0, name + QStringLiteral("-cell"))});
        sheet.pageSetup().header = QStringLiteral("&Cpage &P of &N");
    }
    xls::Sheet& listed = workbook.sheets().front();
    listed.pageSetup().comments = xls::CommentPrinting::AtEnd;
    std::vector<xls::SheetObject> comments;
    // Forty comments of three lines each, given bottom to top.
    for (int row = 39; row >= 0; --row) {
        xls::SheetObject comment;
        comment.kind = xls::ObjectKind::Comment;
        comment.text = xls::ObjectText{};
        comment.text->text = QStringLiteral("first %1\nsecond\nthird").arg(row + 1);
        comment.note = xls::CommentNote{row, 2, false, {}};
        comments.push_back(comment);
    }
    listed.setObjects(comments);
    QList<const xls::Sheet*> sheets{&workbook.sheets()[0], &workbook.sheets()[1]};
    const report::FontMapper fonts;
    const report::TextShaper shaper;
    const report::ReportRenderer renderer(workbook, QStringLiteral("/nowhere/list.xls"), fonts,
                                          shaper);
    const int total = renderer.pageCount(sheets);
    QVERIFY2(total >= 4, qPrintable(QString::number(total)));
    const QString pdf = m_folder.filePath(QStringLiteral("list.pdf"));
    {
        QPdfWriter writer(pdf);
        QCOMPARE(renderer.render(writer, sheets, QDateTime::currentDateTime()), total);
    }
    const QStringList pages = testsupport::pdfPageTexts(pdf);
    QCOMPARE(pages.size(), total);
    int next = 1;
    for (int page = 0; page < total; ++page) {
        const QStringList text = lines(pages[page]);
        QCOMPARE(text.value(0), QStringLiteral("page %1 of %2").arg(page + 1).arg(total));
        if (page == 0 || page == total - 1)
            continue;
        // Comment pages: whole entries, in row order, continuing from the last page.
        QVERIFY(!text.isEmpty());
        for (int at = 1; at < text.size(); at += 4) {
            QCOMPARE(text.mid(at, 4),
                     (QStringList{QStringLiteral("Cell: C%1").arg(next),
                                  QStringLiteral("Comment: first %1").arg(next),
                                  QStringLiteral("second"), QStringLiteral("third")}));
            ++next;
        }
    }
    QCOMPARE(next, 41);
    QVERIFY(pages.last().contains(QStringLiteral("Next-cell")));
}

QTEST_MAIN(ReportCommentsTest)
#include "tst_report_comments.moc"
