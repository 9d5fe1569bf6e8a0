#include "report/FontFace.h"
#include "report/TextShaper.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTest>

using report::ShapedLine;
using report::TextShaper;

namespace {

QFont fontOf(const QStringList& families, double points) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    return font;
}

// Qt's own measure of the same text, unhinted and unkerned as cells print, on a device of 72
// dots per inch, where a pixel is a point. Qt keeps each advance in 64ths of a pixel.
double qtWidth(const QString& text, QFont font) {
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(2835);
    device.setDotsPerMeterY(2835);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(font, &device).horizontalAdvance(text);
}

QString charactersOf(const ShapedLine& line) {
    QString text;
    for (const report::GlyphRun& run : line.runs) {
        for (const char32_t character : run.characters) {
            if (character != 0)
                text.append(QString::fromUcs4(&character, 1));
        }
    }
    return text;
}

bool nearQt(const ShapedLine& line, const QString& text, const QFont& font) {
    return qAbs(line.width - qtWidth(text, font)) <= text.size() / 64.0;
}

} // namespace

class TextShaperTest : public QObject {
    Q_OBJECT

private slots:
    void widthsAgreeWithQt_data();
    void widthsAgreeWithQt();
    void missingCharactersComeFromLaterFamilies();
    void marksAndRightToLeftTextAreShaped();
    void stylesAFaceLacksAreSynthesized_data();
    void stylesAFaceLacksAreSynthesized();
};

void TextShaperTest::widthsAgreeWithQt_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("text");
    QTest::newRow("Latin") << "Liberation Sans"
                           << "Total: 1,234.50 AVAWAY";
    QTest::newRow("serif") << "Liberation Serif"
                           << "Quarterly report (draft)";
    QTest::newRow("Cyrillic and Greek") << "Liberation Sans"
                                        << "Отчёт αβγ";
    QTest::newRow("kana and kanji") << "IPAGothic"
                                    << "売上　ｶﾅ かな カナ 2024年";
    QTest::newRow("proportional Japanese") << "IPAPGothic"
                                           << "売上合計（税込）abc";
}

void TextShaperTest::widthsAgreeWithQt() {
    QFETCH(QString, family);
    QFETCH(QString, text);
    const TextShaper shaper;
    const QFont font = fontOf({family}, 11);
    const ShapedLine line = shaper.shape(text, font);
    QVERIFY(line.width > 0);
    QCOMPARE(line.runs.size(), 1u);
    QCOMPARE(line.runs.front().face->familyName(), family);
    QVERIFY2(nearQt(line, text, font),
             qPrintable(QStringLiteral("%1 against %2").arg(line.width).arg(qtWidth(text, font))));
    QCOMPARE(shaper.width(text, font), line.width);
    QCOMPARE(charactersOf(line), text);
}

void TextShaperTest::missingCharactersComeFromLaterFamilies() {
    const TextShaper shaper;
    const ShapedLine line =
        shaper.shape(QStringLiteral("Ab日本c"), fontOf({"Liberation Sans", "IPAGothic"}, 10));
    QCOMPARE(line.runs.size(), 3u);
    QCOMPARE(line.runs[0].face->familyName(), QStringLiteral("Liberation Sans"));
    QCOMPARE(line.runs[1].face->familyName(), QStringLiteral("IPAGothic"));
    QCOMPARE(line.runs[2].face->familyName(), QStringLiteral("Liberation Sans"));
    // Each run starts where the one before ends: IPA Gothic's kanji are a full em wide.
    QVERIFY(line.runs[1].x.front() > line.runs[0].x.back());
    QCOMPARE(line.runs[2].x.front() - line.runs[1].x.front(), 20.0);
    QCOMPARE(charactersOf(line), QStringLiteral("Ab日本c"));
}

void TextShaperTest::marksAndRightToLeftTextAreShaped() {
    const TextShaper shaper;
    const QFont font = fontOf({"Liberation Sans"}, 12);
    // A letter and a combining accent print as the font's accented letter.
    const ShapedLine combined = shaper.shape(QStringLiteral("e\u0301"), font);
    const ShapedLine precomposed = shaper.shape(QStringLiteral("\u00e9"), font);
    QCOMPARE(combined.runs.front().glyphs, precomposed.runs.front().glyphs);
    QCOMPARE(combined.width, precomposed.width);
    // Hebrew runs right to left: its glyphs come in the order they stand on the page.
    const QString hebrew = QStringLiteral("\u05e9\u05dc\u05d5\u05dd");
    const ShapedLine line = shaper.shape(hebrew, font);
    QString reversed = hebrew;
    std::reverse(reversed.begin(), reversed.end());
    QCOMPARE(charactersOf(line), reversed);
    QVERIFY(nearQt(line, hebrew, font));
}

void TextShaperTest::stylesAFaceLacksAreSynthesized_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("emboldened");
    QTest::addColumn<bool>("slanted");
    // The IPA fonts come in one style; Liberation Sans has its own bold and italic.
    QTest::newRow("IPA bold") << "IPAPGothic" << true << false << true << false;
    QTest::newRow("IPA italic") << "IPAPGothic" << false << true << false << true;
    QTest::newRow("IPA plain") << "IPAPGothic" << false << false << false << false;
    QTest::newRow("Liberation bold italic") << "Liberation Sans" << true << true << false << false;
}

void TextShaperTest::stylesAFaceLacksAreSynthesized() {
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, emboldened);
    QFETCH(bool, slanted);
    QFont font = fontOf({family}, 11);
    font.setBold(bold);
    font.setItalic(italic);
    const ShapedLine line = TextShaper().shape(QStringLiteral("Abc売上"), font);
    QCOMPARE(line.runs.size(), 1u);
    QCOMPARE(line.runs.front().emboldened, emboldened);
    QCOMPARE(line.runs.front().slanted, slanted);
}

QTEST_MAIN(TextShaperTest)
#include "tst_TextShaper.moc"
