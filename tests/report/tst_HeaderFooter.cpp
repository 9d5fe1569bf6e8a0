#include "report/HeaderFooter.h"

#include "xls/Font.h"

#include <QColor>
#include <QTest>

#include <cmath>

using report::expandHeaderFooter;
using report::HeaderFooterFields;
using report::HeaderFooterLine;
using report::HeaderFooterRun;
using report::HeaderFooterSection;
using report::HeaderFooterText;

namespace {

xls::Font defaultFont() {
    xls::Font font;
    font.name = QStringLiteral("ＭＳ Ｐゴシック");
    font.height = 220;
    return font;
}

HeaderFooterFields sampleFields() {
    HeaderFooterFields f;
    f.page = 3;
    f.pageCount = 12;
    f.sheetName = QStringLiteral("売上");
    f.fileName = QStringLiteral("report.xls");
    f.folderPath = QStringLiteral("/data/books/");
    f.printed = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 30));
    return f;
}

HeaderFooterText expand(const QString& code) {
    return expandHeaderFooter(code, sampleFields(), defaultFont());
}

// The text of a section, lines joined by "|".
QString plain(const HeaderFooterSection& section) {
    QStringList lines;
    for (const HeaderFooterLine& line : section.lines) {
        QString text;
        for (const HeaderFooterRun& run : line)
            text += run.text;
        lines.append(text);
    }
    return lines.join(u'|');
}

QList<HeaderFooterRun> runs(const HeaderFooterSection& section) {
    QList<HeaderFooterRun> all;
    for (const HeaderFooterLine& line : section.lines)
        all += line;
    return all;
}

} // namespace

class TestHeaderFooter : public QObject {
    Q_OBJECT

private slots:
    void plainTextIsCentredInTheDefaultFont() {
        const HeaderFooterText text = expand(QStringLiteral("月次報告"));
        QVERIFY(text.left.isEmpty());
        QVERIFY(text.right.isEmpty());
        QCOMPARE(text.center.lines.size(), 1);
        QCOMPARE(text.center.lines[0].size(), 1);
        const HeaderFooterRun& run = text.center.lines[0][0];
        QCOMPARE(run.text, QStringLiteral("月次報告"));
        QCOMPARE(run.fontName, QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(run.pointSize, 11.0);
        QVERIFY(!run.bold && !run.italic && !run.underline && !run.doubleUnderline);
        QVERIFY(!run.strikeout && !run.superscript && !run.subscript);
    }

    void emptyCodeHasNoLines() {
        const HeaderFooterText text = expand(QString());
        QVERIFY(text.left.isEmpty() && text.center.isEmpty() && text.right.isEmpty());
        QVERIFY(expand(QStringLiteral("&L&B&C&R")).left.isEmpty());
    }

    void sections() {
        const HeaderFooterText text = expand(QStringLiteral("top&Lleft&Ccentre&Rright&Lmore"));
        QCOMPARE(plain(text.left), QStringLiteral("leftmore"));
        QCOMPARE(plain(text.center), QStringLiteral("topcentre"));
        QCOMPARE(plain(text.right), QStringLiteral("right"));
    }

    void fields_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("page") << "&P"
                              << "3";
        QTest::newRow("pages") << "&P / &N"
                               << "3 / 12";
        QTest::newRow("page plus") << "&P+10"
                                   << "13";
        QTest::newRow("page minus") << "&P-1ページ"
                                    << "2ページ";
        QTest::newRow("plus without number") << "&P+x"
                                             << "3+x";
        QTest::newRow("sheet") << "[&A]"
                               << "[売上]";
        QTest::newRow("file") << "&F"
                              << "report.xls";
        QTest::newRow("folder") << "&Z&F"
                                << "/data/books/report.xls";
        QTest::newRow("date") << "&D"
                              << "2024/03/05";
        QTest::newRow("time") << "&T"
                              << "9:07";
        QTest::newRow("ampersand") << "A&&B"
                                   << "A&B";
        QTest::newRow("ampersand before code") << "&&P"
                                               << "&P";
        QTest::newRow("unknown codes") << "&J&Qx&"
                                       << "x";
        QTest::newRow("colour") << "&K00FF00green"
                                << "green";
        QTest::newRow("lower case") << "&p/&n"
                                    << "3/12";
    }

    void fields() {
        QFETCH(QString, code);
        QFETCH(QString, expected);
        QCOMPARE(plain(expand(code).center), expected);
    }

    // Each form of &K colours the text after it; the colour lasts to the section's end.
    void colours_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");    // of the run after the code
        QTest::addColumn<QColor>("expected"); // invalid: the automatic colour
        QTest::newRow("none") << "x"
                              << "x" << QColor();
        QTest::newRow("rgb") << "&KFF0000x"
                             << "x" << QColor(0xFF, 0x00, 0x00);
        QTest::newRow("rgb lower case") << "&k00ff80x"
                                        << "x" << QColor(0x00, 0xFF, 0x80);
        QTest::newRow("theme accent 1") << "&K04+000x"
                                        << "x" << QColor(0x4F, 0x81, 0xBD);
        QTest::newRow("theme hyperlink") << "&K10+000x"
                                         << "x" << QColor(0x00, 0x00, 0xFF);
        QTest::newRow("light 1 darker by half") << "&K00-050x"
                                                << "x" << QColor(0x80, 0x80, 0x80);
        QTest::newRow("dark 1 lighter by a quarter") << "&K01+025x"
                                                     << "x" << QColor(0x40, 0x40, 0x40);
        QTest::newRow("colour then bold") << "&K0000FF&By"
                                          << "y" << QColor(0x00, 0x00, 0xFF);
        QTest::newRow("too few digits") << "&K12345"
                                        << "12345" << QColor();
        // Out of range: the nearest theme colour, the nearest tint.
        QTest::newRow("theme past the last") << "&K15+000x"
                                             << "x" << QColor(0x80, 0x00, 0x80);
        QTest::newRow("tint past 100") << "&K04+200x"
                                       << "x" << QColor(0xFF, 0xFF, 0xFF);
        QTest::newRow("neither form") << "&K0A+000x"
                                      << "0A+000x" << QColor();
    }

    void colours() {
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(QColor, expected);
        const HeaderFooterText expanded = expand(code + QStringLiteral("&Rz"));
        const HeaderFooterRun last = runs(expanded.center).back();
        QCOMPARE(last.text, text);
        QCOMPARE(last.color.isValid(), expected.isValid());
        if (expected.isValid()) {
            const QColor got = last.color;
            QVERIFY2(std::abs(got.red() - expected.red()) <= 1 &&
                         std::abs(got.green() - expected.green()) <= 1 &&
                         std::abs(got.blue() - expected.blue()) <= 1,
                     qPrintable(got.name()));
        }
        QVERIFY(!runs(expanded.right).back().color.isValid());
    }

    void fontNamesAndStyles() {
        const auto text =
            expand(QStringLiteral("a&\"Arial,Bold\"b&\"-,Italic\"c&\"ＭＳ 明朝,太字 斜体\"d"
                                  "&\"Times New Roman,Regular\"e&\"-,標準\"f"));
        const QList<HeaderFooterRun> all = runs(text.center);
        QCOMPARE(all.size(), 6);
        QCOMPARE(all[0].fontName, QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(all[1].text, QStringLiteral("b"));
        QCOMPARE(all[1].fontName, QStringLiteral("Arial"));
        QVERIFY(all[1].bold && !all[1].italic);
        QCOMPARE(all[2].fontName, QStringLiteral("Arial"));
        QVERIFY(!all[2].bold && all[2].italic);
        QCOMPARE(all[3].fontName, QStringLiteral("ＭＳ 明朝"));
        QVERIFY(all[3].bold && all[3].italic);
        QCOMPARE(all[4].fontName, QStringLiteral("Times New Roman"));
        QVERIFY(!all[4].bold && !all[4].italic);
        QCOMPARE(all[5].fontName, QStringLiteral("Times New Roman"));
        QVERIFY(!all[5].bold && !all[5].italic);
        // An unclosed font code takes the rest of the text.
        QVERIFY(expand(QStringLiteral("&\"Arial,Bold")).center.isEmpty());
    }

    void sizes() {
        const QList<HeaderFooterRun> all =
            runs(expand(QStringLiteral("&14big&8small&1234")).center);
        QCOMPARE(all.size(), 3);
        QCOMPARE(all[0].text, QStringLiteral("big"));
        QCOMPARE(all[0].pointSize, 14.0);
        QCOMPARE(all[1].pointSize, 8.0);
        // Two digits at most: the rest is text.
        QCOMPARE(all[2].text, QStringLiteral("34"));
        QCOMPARE(all[2].pointSize, 12.0);
        QCOMPARE(runs(expand(QStringLiteral("&0x")).center)[0].pointSize, 11.0);
    }

    void toggles() {
        const QList<HeaderFooterRun> all =
            runs(expand(QStringLiteral("&Bb&Ibi&B&Ii&Uu&Ee&Ss&Xx&Yy&Y&S&Eplain")).center);
        QCOMPARE(all.size(), 9);
        QCOMPARE(all[0].text, QStringLiteral("b"));
        QVERIFY(all[0].bold && !all[0].italic);
        QVERIFY(all[1].bold && all[1].italic);
        QVERIFY(!all[2].bold && !all[2].italic && all[2].text == u'i');
        QVERIFY(all[3].underline && !all[3].doubleUnderline);
        QVERIFY(!all[4].underline && all[4].doubleUnderline);
        QVERIFY(all[5].strikeout && all[5].doubleUnderline);
        QVERIFY(all[6].superscript && !all[6].subscript);
        QVERIFY(!all[7].superscript && all[7].subscript);
        QCOMPARE(all[8].text, QStringLiteral("plain"));
        QVERIFY(!all[8].underline && !all[8].doubleUnderline && !all[8].strikeout);
        QVERIFY(!all[8].superscript && !all[8].subscript && !all[8].bold && !all[8].italic);
    }

    void eachSectionStartsInTheDefaultFont() {
        const HeaderFooterText text =
            expand(QStringLiteral("&L&\"Arial,Italic\"&B&20left&Ccentre"));
        QVERIFY(runs(text.left)[0].bold && runs(text.left)[0].italic);
        QCOMPARE(runs(text.left)[0].pointSize, 20.0);
        const HeaderFooterRun centre = runs(text.center)[0];
        QVERIFY(!centre.bold && !centre.italic);
        QCOMPARE(centre.pointSize, 11.0);
        QCOMPARE(centre.fontName, QStringLiteral("ＭＳ Ｐゴシック"));
    }

    void defaultFontStyleIsTheStart() {
        xls::Font font = defaultFont();
        font.weight = 700;
        font.italic = true;
        font.underline = xls::Underline::Double;
        const auto all =
            runs(expandHeaderFooter(QStringLiteral("a&Bb&Ec"), sampleFields(), font).center);
        QVERIFY(all[0].bold && all[0].italic && all[0].doubleUnderline);
        QVERIFY(!all[1].bold && all[1].doubleUnderline);
        QVERIFY(!all[2].doubleUnderline);
    }

    void lineBreaks() {
        const HeaderFooterText text = expand(QStringLiteral("&Lone\r\n\n&Bthree&Rx\n"));
        QCOMPARE(text.left.lines.size(), 3);
        QCOMPARE(plain(text.left), QStringLiteral("one||three"));
        QVERIFY(text.left.lines[1].isEmpty());
        QVERIFY(text.left.lines[2][0].bold);
        QCOMPARE(text.right.lines.size(), 2);
        // A font change inside a line splits it into runs, not lines.
        const HeaderFooterText runsText = expand(QStringLiteral("a&Bb&Bc"));
        QCOMPARE(runsText.center.lines.size(), 1);
        QCOMPARE(runsText.center.lines[0].size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestHeaderFooter)
#include "tst_HeaderFooter.moc"
