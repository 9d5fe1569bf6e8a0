// The 15 significant digits a double shows as, against Qt's own conversion, and rounding that
// carries through nines.

#include "xls/format/DecimalValue.h"

#include <QRandomGenerator>
#include <QTest>

using xls::format::DecimalValue;

namespace {

// The digits and the decimal exponent, as "12345e-3" for 12.345.
QString describe(const DecimalValue& value) {
    if (value.isZero())
        return QStringLiteral("0");
    QString digits;
    for (int power = value.exponent(); power >= value.lowestPower(); --power)
        digits += QChar(u'0' + value.digitAt(power));
    return digits + u'e' + QString::number(value.lowestPower());
}

// The same from Qt: 15 significant digits in exponent notation, trailing zeros dropped.
QString describeByQt(double value) {
    const QString text = QString::number(std::fabs(value), 'e', 14);
    const qsizetype e = text.indexOf(u'e');
    QString digits = text.left(e).remove(u'.');
    int exponent = text.mid(e + 1).toInt() - 14;
    while (digits.endsWith(u'0')) {
        digits.chop(1);
        ++exponent;
    }
    return digits + u'e' + QString::number(exponent);
}

DecimalValue rounded(double value, int decimals) {
    DecimalValue decimal = DecimalValue::fromDouble(value);
    decimal.roundToDecimals(decimals);
    return decimal;
}

} // namespace

class DecimalValueTest : public QObject {
    Q_OBJECT

private slots:
    void digitsAgreeWithQt();
    void roundingCarriesThroughNines();
    void roundingBelowTheLastDigitGivesZeroOrOneUnit();
    void significantRoundingMovesTheExponent();
};

void DecimalValueTest::digitsAgreeWithQt() {
    QRandomGenerator random(20260608);
    for (int i = 0; i < 100000; ++i) {
        const double value =
            (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-30, 30));
        if (value == 0.0)
            continue;
        QCOMPARE(describe(DecimalValue::fromDouble(value)), describeByQt(value));
    }
    QCOMPARE(describe(DecimalValue::fromDouble(1.005)), QStringLiteral("1005e-3"));
    QCOMPARE(describe(DecimalValue::fromDouble(0.1 + 0.2)), QStringLiteral("3e-1"));
    QVERIFY(DecimalValue::fromDouble(0.0).isZero());
    QVERIFY(DecimalValue::fromDouble(-0.0).isZero());
}

void DecimalValueTest::roundingCarriesThroughNines() {
    QCOMPARE(describe(rounded(9.995, 2)), QStringLiteral("1e1"));
    QCOMPARE(describe(rounded(99.95, 1)), QStringLiteral("1e2"));
    QCOMPARE(describe(rounded(1.995, 2)), QStringLiteral("2e0"));
    QCOMPARE(describe(rounded(1.2349, 3)), QStringLiteral("1235e-3"));
    QCOMPARE(describe(rounded(1.2344, 3)), QStringLiteral("1234e-3"));
    QCOMPARE(rounded(999.5, 0).integerDigitCount(), 4);
}

void DecimalValueTest::roundingBelowTheLastDigitGivesZeroOrOneUnit() {
    QVERIFY(rounded(0.004, 2).isZero());
    QCOMPARE(describe(rounded(0.005, 2)), QStringLiteral("1e-2"));
    QCOMPARE(describe(rounded(0.5, 0)), QStringLiteral("1e0"));
    QVERIFY(rounded(0.49, 0).isZero());
    QVERIFY(rounded(1e-20, 5).isZero());
}

void DecimalValueTest::significantRoundingMovesTheExponent() {
    DecimalValue value = DecimalValue::fromDouble(99999.5);
    value.roundToSignificant(5);
    QCOMPARE(value.exponent(), 5);
    QCOMPARE(describe(value), QStringLiteral("1e5"));
    value.scaleByPowerOfTen(-7);
    QCOMPARE(describe(value), QStringLiteral("1e-2"));
    QCOMPARE(value.integerDigitCount(), 0);
}

QTEST_GUILESS_MAIN(DecimalValueTest)
#include "DecimalValueTest.moc"
