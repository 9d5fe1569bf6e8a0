#include "platform/FileName.h"

#include <QTest>

class tst_FileName : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QByteArray("/data/book.xls");
        QTest::newRow("japanese") << QByteArray("/data/\xe5\xb8\xb3\xe7\xa5\xa8.xls");
        QTest::newRow("latin-1 byte") << QByteArray("/data/caf\xe9.xls");
        QTest::newRow("shift-jis") << QByteArray("/data/\x92\xa0\x95\x5b.xls");
        QTest::newRow("truncated sequence") << QByteArray("/data/\xe5\xb8");
        QTest::newRow("overlong slash") << QByteArray("/data/\xc0\xaf.xls");
        QTest::newRow("encoded surrogate") << QByteArray("/data/\xed\xb2\x80");
        QTest::newRow("emoji") << QByteArray("/data/\xf0\x9f\x93\x84.xls");
        QTest::newRow("empty") << QByteArray();
    }
    void roundTrip() {
        QFETCH(QByteArray, bytes);
        QCOMPARE(platform::encodeFileName(platform::decodeFileName(bytes)), bytes);
    }

    void validUtf8DecodesAsUsual() {
        const QByteArray bytes("/data/\xe5\xb8\xb3\xe7\xa5\xa8.xls");
        QCOMPARE(platform::decodeFileName(bytes), QString::fromUtf8(bytes));
    }

    void invalidBytesBecomeDistinctCharacters() {
        const QString a = platform::decodeFileName("x\x81");
        const QString b = platform::decodeFileName("x\x82");
        QCOMPARE(a.size(), 2);
        QVERIFY(a != b);
        QVERIFY(!a.contains(QChar::ReplacementCharacter));
    }

    void localFilePath() {
        QCOMPARE(platform::localFilePath(QUrl("file:///data/a%20b.xls")),
                 QStringLiteral("/data/a b.xls"));
        QCOMPARE(platform::localFilePath(QUrl("file://localhost/data/a.xls")),
                 QStringLiteral("/data/a.xls"));
        QCOMPARE(platform::localFilePath(QUrl("file:///data/caf%E9.xls")),
                 platform::decodeFileName("/data/caf\xe9.xls"));
        QCOMPARE(platform::localFilePath(QUrl("file:///data/%E5%B8%B3.xls")),
                 QString::fromUtf8("/data/\xe5\xb8\xb3.xls"));
        QVERIFY(platform::localFilePath(QUrl("https://example.com/a.xls")).isEmpty());
        QVERIFY(platform::localFilePath(QUrl("file://server/share/a.xls")).isEmpty());
    }
};

QTEST_APPLESS_MAIN(tst_FileName)
#include "tst_FileName.moc"
