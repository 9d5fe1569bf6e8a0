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

    void cellsInOrderWithTheirShownText() {
        const Run run = tool({"cells", fixture("formats.xls")});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.contains("Layout\t26\t1\tline one\\nline two\\ttabbed \\\\ backslash"));
        QVERIFY(lines.contains("Layout\t23\t1\tTRUE"));
        QVERIFY(lines.contains("Layout\t24\t2\t#DIV/0!"));
        QVERIFY(lines.contains("Numbers\t2\t2\t1235"));
        QVERIFY(lines.contains("Dates\t32\t2\t2008年1月1日"));
        // Blank cells that only carry a border are not listed.
        QVERIFY(!run.out.contains("Layout\t25\t"));
        // Sheet order, then row, then column.
        const QStringList order = {"Numbers", "Dates", "Layout", "Fit"};
        QList<std::tuple<qsizetype, int, int>> keys;
        for (const QString& line : lines) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            QCOMPARE(fields.size(), 4);
            keys.append({order.indexOf(fields[0]), fields[1].toInt(), fields[2].toInt()});
        }
        QVERIFY(std::is_sorted(keys.begin(), keys.end()));
        QCOMPARE(keys.size(), 360 + 460 + 30 + 1); // the values the fixture script writes
    }

    void everyErrorIsOneLine() {
        QTemporaryDir dir;
        // A workbook stream longer than its container, of which libgsf warns as well.
        QFile source(fixture("formats.xls"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray damaged = source.readAll();
        const qsizetype entry = damaged.indexOf(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16));
        damaged.replace(entry + 0x78, 4, xlstest::u32(static_cast<quint32>(damaged.size())));
        QFile out(dir.filePath("damaged.xls"));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(damaged) == damaged.size());
        out.close();
        for (const QString& file :
             {fixture("encrypted.xls"), fixture("truncated.xls"), dir.filePath("damaged.xls"),
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
        for (const QStringList& wrong :
             {QStringList(), QStringList({"sheets"}), QStringList({"rows", fixture("formats.xls")}),
              QStringList({"sheets", "a.xls", "b.xls"})}) {
            const Run run = tool(wrong);
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        }
    }
};

QTEST_GUILESS_MAIN(ToolTest)
#include "tst_tool.moc"
