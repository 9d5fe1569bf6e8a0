#include "filelist/basToolsAp.h"

#include <QTest>

class tst_basToolsAp : public QObject {
    Q_OBJECT
private slots:
    void GetExtName_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("workbook") << "/data/book.xls"
                                  << "xls";
        QTest::newRow("case kept") << "/data/BOOK.XlS"
                                   << "XlS";
        QTest::newRow("two dots") << "/data/book.backup.xls"
                                  << "xls";
        QTest::newRow("ends in a dot") << "/data/book."
                                       << "";
        QTest::newRow("no dot") << "/data/book"
                                << "/data/book";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("dot in the folder only") << "/data/v1.2/book"
                                                << "2/book";
        QTest::newRow("hidden file") << ".xls"
                                     << "xls";
    }
    void GetExtName() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(basToolsAp::GetExtName(path), expected);
    }
};

QTEST_APPLESS_MAIN(tst_basToolsAp)
#include "tst_basToolsAp.moc"
