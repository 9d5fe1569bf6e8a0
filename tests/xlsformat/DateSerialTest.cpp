// Serials against Qt's own calendar: every day from 1900-03-01 to 9999-12-31 in the 1900 system,
// every day of the 1904 system, and the days before March 1900 with their phantom leap day.

#include "xls/format/DateSerial.h"

#include <QDate>
#include <QTest>

using xls::DateSystem;
using xls::format::DateSerial;

namespace {

// Qt counts Monday as 1 and Sunday as 7; the serial's weekday counts Sunday as 0.
int sundayFirst(const QDate& date) {
    return date.dayOfWeek() % 7;
}

QString mismatch(qint64 serial, const DateSerial& date, const QDate& expected) {
    return QStringLiteral("serial %1: %2-%3-%4 weekday %5, expected %6 weekday %7")
        .arg(serial)
        .arg(date.year())
        .arg(date.month())
        .arg(date.day())
        .arg(date.weekday())
        .arg(expected.toString(Qt::ISODate))
        .arg(sundayFirst(expected));
}

bool sameDay(const DateSerial& date, const QDate& expected) {
    return date.year() == expected.year() && date.month() == expected.month() &&
           date.day() == expected.day() && date.weekday() == sundayFirst(expected);
}

} // namespace

class DateSerialTest : public QObject {
    Q_OBJECT

private slots:
    void everyDayMatchesTheCalendar_data();
    void everyDayMatchesTheCalendar();
    void theFirstDaysOf1900KeepThePhantomLeapDay();
    void timeOfDaySplitsIntoUnits();
    void elapsedTimeCountsFromSerialZero();
    void serialsOutsideTheCalendarHaveNoDate();
};

void DateSerialTest::everyDayMatchesTheCalendar_data() {
    QTest::addColumn<int>("system");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<QDate>("firstDate");
    QTest::newRow("1900") << int(DateSystem::Base1900) << qint64(61) << qint64(2958465)
                          << QDate(1900, 3, 1);
    QTest::newRow("1904") << int(DateSystem::Base1904) << qint64(0) << qint64(2957003)
                          << QDate(1904, 1, 1);
}

void DateSerialTest::everyDayMatchesTheCalendar() {
    QFETCH(int, system);
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QFETCH(QDate, firstDate);
    for (qint64 serial = first; serial <= last; ++serial) {
        const auto date =
            DateSerial::fromSerial(static_cast<double>(serial), DateSystem(system), 0);
        QVERIFY(date);
        const QDate expected = firstDate.addDays(serial - first);
        if (!sameDay(*date, expected))
            QFAIL(qPrintable(mismatch(serial, *date, expected)));
    }
    QCOMPARE(firstDate.addDays(last - first), QDate(9999, 12, 31));
}

void DateSerialTest::theFirstDaysOf1900KeepThePhantomLeapDay() {
    const auto zero = DateSerial::fromSerial(0, DateSystem::Base1900, 0);
    QVERIFY(zero);
    QCOMPARE(zero->year(), 1900);
    QCOMPARE(zero->month(), 1);
    QCOMPARE(zero->day(), 0);
    QCOMPARE(zero->weekday(), 6);
    for (int serial = 1; serial <= 59; ++serial) {
        const auto date = DateSerial::fromSerial(serial, DateSystem::Base1900, 0);
        QVERIFY(date);
        const QDate expected = QDate(1900, 1, 1).addDays(serial - 1);
        QCOMPARE(date->year(), expected.year());
        QCOMPARE(date->month(), expected.month());
        QCOMPARE(date->day(), expected.day());
        // Weekdays run one day ahead, as if the leap day had been.
        QCOMPARE(date->weekday(), (sundayFirst(expected) + 6) % 7);
    }
    const auto leapDay = DateSerial::fromSerial(60, DateSystem::Base1900, 0);
    QVERIFY(leapDay);
    QCOMPARE(leapDay->month(), 2);
    QCOMPARE(leapDay->day(), 29);
    QCOMPARE(leapDay->weekday(), 3);
}

void DateSerialTest::timeOfDaySplitsIntoUnits() {
    for (int second = 0; second < 86400; second += 7) {
        const auto date = DateSerial::fromSerial(40000 + second / 86400.0, DateSystem::Base1900, 0);
        QVERIFY(date);
        QCOMPARE(date->hour(), second / 3600);
        QCOMPARE(date->minute(), second / 60 % 60);
        QCOMPARE(date->second(), second % 60);
        QCOMPARE(date->day(), 6); // 2009-07-06
    }
    const auto withDecimals =
        DateSerial::fromSerial(40000 + 45296.789 / 86400, DateSystem::Base1900, 2);
    QVERIFY(withDecimals);
    QCOMPARE(withDecimals->hour(), 12);
    QCOMPARE(withDecimals->minute(), 34);
    QCOMPARE(withDecimals->second(), 56);
    QCOMPARE(withDecimals->secondFraction(), 79);
}

void DateSerialTest::elapsedTimeCountsFromSerialZero() {
    const auto date = DateSerial::fromSerial(2.5 + 90.0 / 86400, DateSystem::Base1904, 0);
    QVERIFY(date);
    QCOMPARE(date->elapsedHours(), qint64(60));
    QCOMPARE(date->elapsedMinutes(), qint64(3601));
    QCOMPARE(date->elapsedSeconds(), qint64(216090));
}

void DateSerialTest::serialsOutsideTheCalendarHaveNoDate() {
    QVERIFY(!DateSerial::fromSerial(-0.0001, DateSystem::Base1900, 0));
    QVERIFY(!DateSerial::fromSerial(2958466, DateSystem::Base1900, 0));
    QVERIFY(!DateSerial::fromSerial(2957004, DateSystem::Base1904, 0));
    // 0.432 seconds before the end: past it at whole seconds, not at milliseconds.
    QVERIFY(!DateSerial::fromSerial(2957003.999995, DateSystem::Base1904, 0));
    QVERIFY(DateSerial::fromSerial(2957003.999995, DateSystem::Base1904, 3));
    QVERIFY(!DateSerial::fromSerial(1e300, DateSystem::Base1900, 0));
}

QTEST_GUILESS_MAIN(DateSerialTest)
#include "DateSerialTest.moc"
