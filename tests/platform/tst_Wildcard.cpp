#include "platform/Wildcard.h"

#include <QTest>

class tst_Wildcard : public QObject {
    Q_OBJECT
private slots:
    void match_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matches");
        QTest::newRow("extension") << "a.xls"
                                   << "*.xls" << true;
        QTest::newRow("upper case") << "B.XLS"
                                    << "*.xls" << true;
        QTest::newRow("mixed case") << "c.Xls"
                                    << "*.xls" << true;
        QTest::newRow("longer extension") << "d.xlsx"
                                          << "*.xls" << false;
        QTest::newRow("extension only") << ".xls"
                                        << "*.xls" << true;
        QTest::newRow("two dots") << "a.b.xls"
                                  << "*.xls" << true;
        QTest::newRow("shorter") << "a.xl"
                                 << "*.xls" << false;
        QTest::newRow("japanese") << "帳票.xls"
                                  << "*.xls" << true;
        QTest::newRow("japanese literal") << "帳票.xls"
                                          << "帳*" << true;
        QTest::newRow("question mark") << "a1.xls"
                                       << "a?.xls" << true;
        QTest::newRow("question mark needs one") << "a.xls"
                                                 << "a?.xls" << false;
        QTest::newRow("star backtracks") << "x.xls.xls"
                                         << "*.xls" << true;
        QTest::newRow("two stars") << "report-2005.xls"
                                   << "*-*.xls" << true;
        QTest::newRow("empty pattern") << "a"
                                       << "" << false;
        QTest::newRow("star matches empty") << ""
                                            << "*" << true;
        QTest::newRow("literal") << "book.xls"
                                 << "book.xls" << true;
    }
    void match() {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        QFETCH(bool, matches);
        QCOMPARE(platform::wildcardMatch(name, pattern), matches);
    }
};

QTEST_APPLESS_MAIN(tst_Wildcard)
#include "tst_Wildcard.moc"
