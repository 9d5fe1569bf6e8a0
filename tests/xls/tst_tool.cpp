#include "BiffBuilder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using xlstest::fixture;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run tool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(TESSALY_XLS_TOOL), arguments);
    if (!process.waitForFinished(60000))
        qFatal("tessaly-xls did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class ToolTest : public QObject {
    Q_OBJECT

private slots:
    void sheetNamesOneALine() {
        const Run run = tool({"sheets", fixture("japanese_biff5.xls")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("売上表\nｶﾅｼｰﾄ\n非表示\n"));
        QVERIFY(run.err.isEmpty());
    }

    void everyErrorIsOneLine() {
        QTemporaryDir dir;
        for (const QString& file : {fixture("encrypted.xls"), fixture("truncated.xls"),
                                    dir.filePath("missing.xls"), dir.path()}) {
            for (const QString& command : {QStringLiteral("sheets"), QStringLiteral("cells")}) {
                const Run run = tool({command, file});
                QCOMPARE(run.exitCode, 1);
                QVERIFY(run.out.isEmpty());
                QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
                QVERIFY2(run.err.contains(file), qPrintable(run.err));
            }
        }
        QVERIFY(tool({"sheets", fixture("encrypted.xls")}).err.contains("password"));
        for (const QStringList& wrong : {QStringList(), QStringList({"sheets"}),
                                         QStringList({"rows", fixture("formats.xls")}),
                                         QStringList({"sheets", "a.xls", "b.xls"})}) {
            const Run run = tool(wrong);
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        }
    }
};

QTEST_GUILESS_MAIN(ToolTest)
#include "tst_tool.moc"
