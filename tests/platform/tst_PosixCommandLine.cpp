#include "platform/FileName.h"
#include "platform/PosixCommandLine.h"

#include <QTest>

class tst_PosixCommandLine : public QObject {
    Q_OBJECT
private slots:
    void noArgumentsGiveTheEmptyText() {
        const char* argv[] = {"tessaly"};
        QCOMPARE(platform::PosixCommandLine(1, argv).argumentText(), QString());
    }

    void eachArgumentQuotedAndJoinedByOneBlank() {
        const char* argv[] = {"tessaly", "/a b/c.xls", "/d", ""};
        QCOMPARE(platform::PosixCommandLine(4, argv).argumentText(),
                 QStringLiteral("\"/a b/c.xls\" \"/d\" \"\""));
    }

    void argumentsKeepTheirBytes() {
        const char* argv[] = {"tessaly", "/data/caf\xe9.xls", "/data/\xe5\xb8\xb3.xls"};
        const QString text = platform::PosixCommandLine(3, argv).argumentText();
        QCOMPARE(platform::encodeFileName(text),
                 QByteArray("\"/data/caf\xe9.xls\" \"/data/\xe5\xb8\xb3.xls\""));
    }
};

QTEST_APPLESS_MAIN(tst_PosixCommandLine)
#include "tst_PosixCommandLine.moc"
