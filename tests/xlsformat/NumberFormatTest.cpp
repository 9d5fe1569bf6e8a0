// What the oracle comparison cannot see: colours, fills, cells the format cannot show, codes it
// cannot read, the 1904 system's negative dates, and rounding across many values.

#include "xls/format/NumberFormat.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

using xls::DateSystem;
using xls::FormattedValue;
using xls::NumberFormat;

FormattedValue format(const QString& code, double value, DateSystem dates = DateSystem::Base1900) {
    return NumberFormat(code).formatNumber(value, dates);
}

QString text(const QString& code, double value, DateSystem dates = DateSystem::Base1900) {
    return format(code, value, dates).text;
}

bool isUnshowable(const FormattedValue& value) {
    return value.text == QStringLiteral("#") && value.fillAt == 0 && value.fillChar == u'#';
}

} // namespace

class NumberFormatTest : public QObject {
    Q_OBJECT

private slots:
    void coloursBelongToTheChosenSection_data();
    void coloursBelongToTheChosenSection();
    void fillsAreMarkedNotWritten();
    void codesThatCannotBeReadFormatLikeGeneral_data();
    void codesThatCannotBeReadFormatLikeGeneral();
    void valuesNoSectionAcceptsAreUnshowable();
    void negativeDatesShowOnlyInThe1904System();
    void nonFiniteNumbersShowAnError();
    void roundingIsDecimalHalfAwayFromZero();
    void generalKeepsToElevenCharacters_data();
    void generalKeepsToElevenCharacters();
    void generalNarrowsForItsColumn_data();
    void generalNarrowsForItsColumn();
    void everyPercentSignScalesByAHundred();
    void largeNumbersKeepFifteenDigits();
    void timesRoundToTheShownSecond();
    void japaneseLanguageNamesMonthsAndDays();
    void textsWithoutTextSectionShowAsTheyAre();
    void builtInIndexesWithoutCodeAreEmpty();
    void dateCodesAreRecognised_data();
    void dateCodesAreRecognised();
};

void NumberFormatTest::coloursBelongToTheChosenSection_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("color");
    QTest::newRow("named") << "[Red]0" << 5.0 << 3;
    QTest::newRow("any case") << "[bLuE]0" << 5.0 << 5;
    QTest::newRow("palette") << "[Color12]0" << 5.0 << 12;
    QTest::newRow("last palette entry") << "[Color56]0" << 5.0 << 56;
    QTest::newRow("negative section") << "[Black]0;[Magenta]-0" << -5.0 << 7;
    QTest::newRow("zero section") << "[Green]0;[Red]-0;[Cyan]0" << 0.0 << 8;
    QTest::newRow("with a condition") << "[<0][Yellow]0;[White]0" << -1.0 << 6;
    QTest::newRow("uncoloured") << "0;[Red]-0" << 5.0 << 0;
    QTest::newRow("beyond the palette is no code") << "[Color57]0" << 5.0 << 0;
}

void NumberFormatTest::coloursBelongToTheChosenSection() {
    QFETCH(QString, code);
    QFETCH(double, value);
    QFETCH(int, color);
    QCOMPARE(format(code, value).color, color);
    QCOMPARE(NumberFormat(QStringLiteral("0;0;0;[Blue]@")).formatText(QStringLiteral("a")).color,
             5);
}

void NumberFormatTest::fillsAreMarkedNotWritten() {
    const FormattedValue leading = format(QStringLiteral("*-0"), 5);
    QCOMPARE(leading.text, QStringLiteral("5"));
    QCOMPARE(leading.fillAt, 0);
    QCOMPARE(leading.fillChar, QChar(u'-'));

    const FormattedValue inner = format(QStringLiteral("\"a\"*x0.0"), -2);
    QCOMPARE(inner.text, QStringLiteral("-a2.0"));
    QCOMPARE(inner.fillAt, 2);
    QCOMPARE(inner.fillChar, QChar(u'x'));

    const FormattedValue onlyFirst = format(QStringLiteral("0*.*,"), 7);
    QCOMPARE(onlyFirst.text, QStringLiteral("7"));
    QCOMPARE(onlyFirst.fillAt, 1);
    QCOMPARE(onlyFirst.fillChar, QChar(u'.'));

    const FormattedValue accounting = NumberFormat(xls::builtInFormatCode(41)).formatNumber(0, {});
    QCOMPARE(accounting.text, QStringLiteral(" - "));
    QCOMPARE(accounting.fillAt, 1);
    QCOMPARE(accounting.fillChar, QChar(u' '));

    const FormattedValue textFill = NumberFormat(QStringLiteral("@*_")).formatText("ab");
    QCOMPARE(textFill.text, QStringLiteral("ab"));
    QCOMPARE(textFill.fillAt, 2);

    QCOMPARE(format(QStringLiteral("0"), 5).fillAt, -1);
    QCOMPARE(text(QStringLiteral("_(0_)"), 5), QStringLiteral(" 5 "));
}

void NumberFormatTest::codesThatCannotBeReadFormatLikeGeneral_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("unterminated quote") << "0\"abc";
    QTest::newRow("unterminated bracket") << "[Red0";
    QTest::newRow("unknown bracket") << "[Purple]0";
    QTest::newRow("empty bracket") << "[]0";
    QTest::newRow("condition without number") << "[<abc]0";
    QTest::newRow("palette zero") << "[Color0]0";
    QTest::newRow("five sections") << "0;0;0;@;0";
    QTest::newRow("trailing backslash") << "0\\";
    QTest::newRow("trailing fill") << "0*";
    QTest::newRow("empty") << "";
}

void NumberFormatTest::codesThatCannotBeReadFormatLikeGeneral() {
    QFETCH(QString, code);
    for (double value : {0.0, -1.5, 1234.5678, 1.0 / 3, 1e20}) {
        const FormattedValue out = format(code, value);
        QCOMPARE(out.text, text(QStringLiteral("General"), value));
        QCOMPARE(out.color, 0);
    }
    QVERIFY(!NumberFormat(code).isDateOrTime());
}

void NumberFormatTest::valuesNoSectionAcceptsAreUnshowable() {
    QVERIFY(isUnshowable(format(QStringLiteral("[>100]0"), 5)));
    QVERIFY(isUnshowable(format(QStringLiteral("[<10]\"a\"0;[>100]\"b\"0"), 50)));
    QCOMPARE(text(QStringLiteral("[<10]\"a\"0;[>100]\"b\"0"), 500), QStringLiteral("b500"));
    QCOMPARE(text(QStringLiteral("[<10]\"a\"0;[>100]\"b\"0;\"c\"0"), 50), QStringLiteral("c50"));
    QVERIFY(isUnshowable(format(QStringLiteral("yyyy/m/d"), 2958466)));
    QCOMPARE(text(QStringLiteral("yyyy/m/d"), 2958465.5), QStringLiteral("9999/12/31"));
    QVERIFY(isUnshowable(format(QStringLiteral("yyyy/m/d"), 2958465.99999999)));
    QVERIFY(isUnshowable(format(QStringLiteral("h:mm"), -0.5)));
}

void NumberFormatTest::negativeDatesShowOnlyInThe1904System() {
    QCOMPARE(text(QStringLiteral("yyyy/m/d"), -1, DateSystem::Base1904),
             QStringLiteral("-1904/1/2"));
    QCOMPARE(text(QStringLiteral("[h]:mm"), -0.25, DateSystem::Base1904), QStringLiteral("-6:00"));
    QCOMPARE(text(QStringLiteral("h:mm;-h:mm"), -0.25), QStringLiteral("-6:00"));
    QVERIFY(isUnshowable(format(QStringLiteral("[h]:mm"), -0.25)));
    QVERIFY(isUnshowable(format(QStringLiteral("yyyy/m/d"), 2957004, DateSystem::Base1904)));
}

void NumberFormatTest::nonFiniteNumbersShowAnError() {
    for (double value :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        QCOMPARE(text(QStringLiteral("0.00"), value), QStringLiteral("#NUM!"));
        QCOMPARE(text(QStringLiteral("General"), value), QStringLiteral("#NUM!"));
    }
}

void NumberFormatTest::roundingIsDecimalHalfAwayFromZero() {
    // n.nn5 is a tie in decimals, though its nearest double may lie on either side of it.
    const NumberFormat twoPlaces(QStringLiteral("0.00"));
    for (int n = 0; n < 20000; ++n) {
        const double value = n / 100.0 + 0.005;
        const int up = n + 1;
        const QString expected =
            QStringLiteral("%1.%2").arg(up / 100).arg(up % 100, 2, 10, QLatin1Char('0'));
        QCOMPARE(twoPlaces.formatNumber(value, {}).text, expected);
        QCOMPARE(twoPlaces.formatNumber(-value, {}).text, u'-' + expected);
    }
    QCOMPARE(text(QStringLiteral("0"), 2.5), QStringLiteral("3"));
    QCOMPARE(text(QStringLiteral("0"), -2.5), QStringLiteral("-3"));
    QCOMPARE(text(QStringLiteral("0.0"), 9.95), QStringLiteral("10.0"));
    QCOMPARE(text(QStringLiteral("#,##0.00"), 999999.995), QStringLiteral("1,000,000.00"));
}

void NumberFormatTest::generalKeepsToElevenCharacters_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("11 digits") << 99999999999.0 << "99999999999";
    QTest::newRow("rounds to 12 digits") << 99999999999.5 << "1E+11";
    QTest::newRow("11 digits rounded") << 12345678901.4 << "12345678901";
    QTest::newRow("10 digits and a fraction") << 1234567890.56 << "1234567891";
    QTest::newRow("9 digits and one place") << 123456789.56 << "123456789.6";
    QTest::newRow("nine places") << 0.1234567894 << "0.123456789";
    QTest::newRow("rounds to ten") << 9.99999999996 << "10";
    QTest::newRow("smallest fixed") << 0.0001 << "0.0001";
    QTest::newRow("below fixed") << 0.00009999 << "9.999E-05";
    QTest::newRow("negative") << -1234.5 << "-1234.5";
    QTest::newRow("mantissa carries") << 9.999996e20 << "1E+21";
    QTest::newRow("three-digit exponent") << 1.23456789e100 << "1.2346E+100";
    QTest::newRow("tiny") << 1e-300 << "1E-300";
    QTest::newRow("subnormal") << 5e-324 << "4.9407E-324";
}

void NumberFormatTest::generalKeepsToElevenCharacters() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(text(QStringLiteral("General"), value), expected);
    QCOMPARE(text(QStringLiteral("[Red]General"), value), expected);
    QCOMPARE(NumberFormat(QStringLiteral("@")).formatNumber(value, {}).text, expected);
}

void NumberFormatTest::generalNarrowsForItsColumn_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("room"); // characters the column holds
    QTest::addColumn<QString>("expected");
    QTest::newRow("fits as it is") << "General" << 1234.5678 << 9 << "1234.5678";
    QTest::newRow("fewer decimals") << "General" << 1234.5678 << 6 << "1234.6";
    QTest::newRow("no decimals") << "General" << 1234.5678 << 4 << "1235";
    QTest::newRow("decimal rounding") << "General" << 1.005 << 4 << "1.01";
    QTest::newRow("minus kept") << "General" << -1234.5 << 5 << "-1235";
    QTest::newRow("small") << "General" << 0.000123456 << 7 << "0.00012";
    QTest::newRow("small in exponent form") << "General" << 0.000123456 << 5 << "1E-04";
    QTest::newRow("never a bare zero") << "General" << 0.4 << 2 << "";
    QTest::newRow("exponent form") << "General" << 123456789012.0 << 7 << "1.2E+11";
    QTest::newRow("integer to exponent form") << "General" << 123456789.0 << 7 << "1.2E+08";
    QTest::newRow("rounds past eleven digits") << "General" << 99999999999.5 << 5 << "1E+11";
    QTest::newRow("nothing fits") << "General" << 123456789.0 << 4 << "";
    QTest::newRow("unreadable code as General") << "[Red0" << 1234.5678 << 4 << "1235";
    QTest::newRow("other formats show marks") << "0.00" << 1234.5678 << 4 << "";
}

void NumberFormatTest::generalNarrowsForItsColumn() {
    QFETCH(QString, code);
    QFETCH(double, value);
    QFETCH(int, room);
    QFETCH(QString, expected);
    const QString narrowed = NumberFormat(code).narrowedNumber(
        value, [room](const QString& candidate) { return candidate.size() <= room; });
    QCOMPARE(narrowed, expected);
}

void NumberFormatTest::everyPercentSignScalesByAHundred() {
    QCOMPARE(text(QStringLiteral("0%"), 0.125), QStringLiteral("13%"));
    QCOMPARE(text(QStringLiteral("0%%"), 5), QStringLiteral("50000%%"));
    QCOMPARE(text(QStringLiteral("0.0,%"), 1234), QStringLiteral("123.4%"));
}

void NumberFormatTest::largeNumbersKeepFifteenDigits() {
    QCOMPARE(text(QStringLiteral("0"), 12345678901234567890.0),
             QStringLiteral("12345678901234600000"));
    const QString huge = text(QStringLiteral("#,##0"), 1.5e300);
    QCOMPARE(huge.size(), 301 + 100);
    QVERIFY(huge.startsWith(QStringLiteral("1,500,000,")));
    QCOMPARE(text(QStringLiteral("0.00"), 1e-300), QStringLiteral("0.00"));
}

void NumberFormatTest::timesRoundToTheShownSecond() {
    const double justBeforeMidnight = 43586 + 86399.6 / 86400;
    QCOMPARE(text(QStringLiteral("yyyy/m/d hh:mm:ss"), justBeforeMidnight),
             QStringLiteral("2019/5/2 00:00:00"));
    QCOMPARE(text(QStringLiteral("hh:mm:ss.0"), justBeforeMidnight), QStringLiteral("23:59:59.6"));
    QCOMPARE(text(QStringLiteral("h:mm"), 10.5 / 24 + 40.0 / 86400), QStringLiteral("10:30"));
    QCOMPARE(text(QStringLiteral("[h]:mm:ss"), 1.5 + 0.4 / 86400), QStringLiteral("36:00:00"));
    QCOMPARE(text(QStringLiteral("ss.000"), 1.2345 / 86400), QStringLiteral("01.235"));
}

void NumberFormatTest::japaneseLanguageNamesMonthsAndDays() {
    const double mayDay = 43586.75; // 2019-05-01, a Wednesday, 18:00
    QCOMPARE(text(QStringLiteral("[$-411]mmm mmmm ddd dddd"), mayDay),
             QStringLiteral("5月 5月 水 水曜日"));
    QCOMPARE(text(QStringLiteral("mmm mmmm ddd dddd"), mayDay),
             QStringLiteral("May May Wed Wednesday"));
    QCOMPARE(text(QStringLiteral("[$-411]h:mm AM/PM A/P"), mayDay), QStringLiteral("6:00 午後 P"));
    QCOMPARE(text(QStringLiteral("[$-F400]"), mayDay), QStringLiteral("18:00:00"));
}

void NumberFormatTest::textsWithoutTextSectionShowAsTheyAre() {
    for (const QString& code : {QStringLiteral("0.00"), QStringLiteral("[Red]0;[Blue]-0"),
                                QStringLiteral("yyyy/m/d"), QStringLiteral("General")}) {
        const FormattedValue out = NumberFormat(code).formatText(QStringLiteral("文字"));
        QCOMPARE(out.text, QStringLiteral("文字"));
        QCOMPARE(out.color, 0);
        QCOMPARE(out.fillAt, -1);
    }
    QCOMPARE(NumberFormat(QStringLiteral(";;;")).formatText(QStringLiteral("x")).text, QString());
}

void NumberFormatTest::builtInIndexesWithoutCodeAreEmpty() {
    for (int index = -1; index <= 60; ++index) {
        const bool defined = (index >= 0 && index <= 22) || (index >= 27 && index <= 58);
        QCOMPARE(!xls::builtInFormatCode(index).isEmpty(), defined);
    }
    QVERIFY(xls::builtInFormatCode(164).isEmpty());
}

void NumberFormatTest::dateCodesAreRecognised_data() {
    QTest::addColumn<int>("index");
    for (int index = 0; index <= 58; ++index)
        QTest::newRow(QByteArray::number(index).constData()) << index;
}

void NumberFormatTest::dateCodesAreRecognised() {
    QFETCH(int, index);
    const bool dateOrTime = (index >= 14 && index <= 22) || (index >= 27 && index <= 36) ||
                            (index >= 45 && index <= 47) || index >= 50;
    QCOMPARE(NumberFormat(xls::builtInFormatCode(index)).isDateOrTime(), dateOrTime);
}

QTEST_GUILESS_MAIN(NumberFormatTest)
#include "NumberFormatTest.moc"
