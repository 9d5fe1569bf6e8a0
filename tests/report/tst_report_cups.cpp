// The report printer and the workbook tool's pdf and print verbs printing onto the queues of a
// private CUPS scheduler, the jobs read back from its spool.

#include "platform/CupsPrintSpooler.h"
#include "platform/PrintSpoolError.h"
#include "report/ReportError.h"
#include "report/XlsReport.h"
#include "tests/support/Fixtures.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/PrivateCups.h"
#include "xls/IconvCodePages.h"
#include "xls/XlsEngine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <functional>
#include <optional>

namespace {

const QString kQueueA = QStringLiteral("tessaly-a");
const QString kQueueB = QStringLiteral("tessaly-b");

QString reportFailure(const std::function<void()>& action) {
    try {
        action();
    } catch (const report::ReportError& error) {
        return error.message().isNull() ? QStringLiteral("(empty message)") : error.message();
    }
    return {};
}

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the workbook tool without a display and without a Qt platform chosen for it.
ToolRun runTool(const QStringList& arguments) {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(TESSALY_XLS_TOOL), arguments);
    ToolRun run;
    if (!tool.waitForFinished(120000))
        return run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

} // namespace

class ReportCupsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void printsOnTheDefaultQueue();
    void choiceOfPrinterLastsOneWorkbook();
    void printsVisibleSheetsOnly();
    void unknownPrinterPrintsNothing();
    void jobNotQueuedIsAnError_data();
    void jobNotQueuedIsAnError();
    void spoolerCarriesTheSchedulersMessage();
    void printsFromAWorkerThread();
    void toolPrintsOnTheQueue();
    void toolWritesPdfFiles();
    void toolStopsAtTheFirstFailure();

private:
    // Prints a workbook as the print run does: the engine lists the sheets, the control gets
    // them all; printer chosen only when given.
    void printWorkbook(const QString& path, const std::optional<QString>& printer);
    void printWorkbook(report::XlsReport& control, const QString& path,
                       const std::optional<QString>& printer);
    QList<testsupport::PrintedJob> newJobs() { return m_cups.jobsAfter(m_lastJobBefore); }

    xls::IconvCodePages m_codePages;
    platform::CupsPrintSpooler m_spooler;
    testsupport::PrivateCups m_cups;
    QTemporaryDir m_folder;
    // The temporary folder of this process and the programs it starts.
    QTemporaryDir m_temp;
    int m_lastJobBefore = 0;
};

void ReportCupsTest::initTestCase() {
    QVERIFY(m_folder.isValid() && m_temp.isValid());
    QVERIFY2(m_cups.start(), qPrintable(m_cups.errorString()));
    QVERIFY2(m_cups.addQueue(kQueueA), qPrintable(m_cups.errorString()));
    QVERIFY2(m_cups.addQueue(kQueueB), qPrintable(m_cups.errorString()));
    QVERIFY2(m_cups.setDefaultQueue(kQueueB), qPrintable(m_cups.errorString()));
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
}

void ReportCupsTest::init() {
    m_lastJobBefore = m_cups.lastJobId();
}

void ReportCupsTest::cleanup() {
    // Whatever happened, the documents painted for printing are gone.
    QCOMPARE(QDir(m_temp.path()).entryList({QStringLiteral("tessaly-print-*")}), QStringList());
}

void ReportCupsTest::printWorkbook(const QString& path, const std::optional<QString>& printer) {
    report::XlsReport control(m_codePages, m_spooler);
    printWorkbook(control, path, printer);
}

void ReportCupsTest::printWorkbook(report::XlsReport& control, const QString& path,
                                   const std::optional<QString>& printer) {
    xls::XlsEngine engine(m_codePages);
    engine.Open(path);
    QStringList names;
    for (qint32 i = 0; i < engine.SheetCount(); ++i)
        names.append(engine.SheetName(i));
    engine.Close();
    control.setFile(path);
    control.StartSheets();
    for (const QString& name : names) {
        control.AddSheet(name, QString());
        control.CommitSheet();
    }
    if (printer) {
        qint16 status = -1;
        control.SelectPrinter(0, *printer, status);
        QCOMPARE(status, qint16(0));
    }
    control.Print();
}

void ReportCupsTest::printsOnTheDefaultQueue() {
    const QString path = testsupport::fixturePath(QStringLiteral("three_sheets.xls"));
    printWorkbook(path, std::nullopt);
    // The default is asked afresh for every job.
    QVERIFY2(m_cups.setDefaultQueue(kQueueA), qPrintable(m_cups.errorString()));
    printWorkbook(path, std::nullopt);
    QVERIFY2(m_cups.setDefaultQueue(kQueueB), qPrintable(m_cups.errorString()));
    const QString three = QStringLiteral("three_sheets.xls");
    QCOMPARE(
        testsupport::jobsProblem(newJobs(), {{kQueueB, three, three}, {kQueueA, three, three}}),
        QString());
}

void ReportCupsTest::choiceOfPrinterLastsOneWorkbook() {
    // One control serves every run of the program: a printer chosen for one workbook must not
    // carry over to a later one printed without a choice.
    const QString path = testsupport::fixturePath(QStringLiteral("three_sheets.xls"));
    report::XlsReport control(m_codePages, m_spooler);
    printWorkbook(control, path, kQueueA);
    printWorkbook(control, path, std::nullopt);
    const auto jobs = newJobs();
    QCOMPARE(jobs.size(), 2);
    QCOMPARE(jobs[0].queue, kQueueA);
    QCOMPARE(jobs[1].queue, kQueueB);
}

void ReportCupsTest::printsVisibleSheetsOnly() {
    const QString hidden = QStringLiteral("hidden_sheets.xls");
    // The engine lists every sheet and the print run hands every name on.
    xls::XlsEngine engine(m_codePages);
    engine.Open(testsupport::fixturePath(hidden));
    QCOMPARE(engine.SheetCount(), 4);
    engine.Close();
    printWorkbook(testsupport::fixturePath(hidden), kQueueA);
    QCOMPARE(testsupport::jobsProblem(newJobs(), {{kQueueA, hidden, hidden}}), QString());
}

void ReportCupsTest::unknownPrinterPrintsNothing() {
    const QString path = testsupport::fixturePath(QStringLiteral("three_sheets.xls"));
    const int before = static_cast<int>(m_cups.jobs().size());
    for (const QString& name : {QStringLiteral("no-such-queue"), QStringLiteral("TESSALY-A"),
                                QStringLiteral("ﾌﾟﾘﾝﾀなし"), QString()}) {
        report::XlsReport control(m_codePages, m_spooler);
        control.setFile(path);
        control.StartSheets();
        control.AddSheet(QStringLiteral("Alpha"), QString());
        control.CommitSheet();
        qint16 status = 0;
        const QString cause = reportFailure([&] { control.SelectPrinter(0, name, status); });
        QVERIFY2(cause.contains(QStringLiteral("\"%1\"").arg(name)), qPrintable(cause));
    }
    QCOMPARE(static_cast<int>(m_cups.jobs().size()), before);
}

enum class Fault { QueueRejectsJobs, SchedulerGone };

void ReportCupsTest::jobNotQueuedIsAnError_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("cause");
    // A refusal carries the scheduler's own words; a gone scheduler leaves no printer.
    QTest::newRow("queue rejects jobs")
        << Fault::QueueRejectsJobs << QStringLiteral("not accepting jobs");
    QTest::newRow("scheduler gone") << Fault::SchedulerGone << QStringLiteral("\"tessaly-a\"");
}

void ReportCupsTest::jobNotQueuedIsAnError() {
    QFETCH(Fault, fault);
    QFETCH(QString, cause);
    report::XlsReport control(m_codePages, m_spooler);
    control.setFile(testsupport::fixturePath(QStringLiteral("three_sheets.xls")));
    control.StartSheets();
    control.AddSheet(QStringLiteral("Alpha"), QString());
    control.CommitSheet();
    qint16 status = -1;
    control.SelectPrinter(0, kQueueA, status);
    if (fault == Fault::QueueRejectsJobs)
        QVERIFY2(m_cups.setAcceptingJobs(kQueueA, false), qPrintable(m_cups.errorString()));
    else
        m_cups.stop();

    const QString failure = reportFailure([&] { control.Print(); });

    const bool restored =
        fault == Fault::QueueRejectsJobs ? m_cups.setAcceptingJobs(kQueueA, true) : m_cups.start();
    QVERIFY2(restored, qPrintable(m_cups.errorString()));
    QVERIFY2(failure.contains(cause), qPrintable(failure));
    QCOMPARE(newJobs().size(), 0);
}

void ReportCupsTest::spoolerCarriesTheSchedulersMessage() {
    // The control finds a gone scheduler before it submits; the spooler meets it in libcups.
    QFile document(m_folder.filePath(QStringLiteral("spooled.pdf")));
    QVERIFY(document.open(QIODevice::WriteOnly) && document.write("%PDF-1.4\n") > 0);
    document.close();
    m_cups.stop();
    QString failure;
    try {
        m_spooler.submitPdf(kQueueA, QStringLiteral("spooled.pdf"), document.fileName());
    } catch (const platform::PrintSpoolError& error) {
        failure = error.message();
    }
    QVERIFY2(m_cups.start(), qPrintable(m_cups.errorString()));
    // libcups' account of the failed connection follows the queue's name.
    QVERIFY2(QRegularExpression(QStringLiteral("\"tessaly-a\": \\S")).match(failure).hasMatch(),
             qPrintable(failure));
    QCOMPARE(newJobs().size(), 0);
}

void ReportCupsTest::printsFromAWorkerThread() {
    const QString path = testsupport::fixturePath(QStringLiteral("two_sheets.xls"));
    QString failure = QStringLiteral("not run");
    QThread* worker = QThread::create([&] {
        failure = reportFailure([&] {
            report::XlsReport control(m_codePages, m_spooler);
            control.setFile(path);
            control.StartSheets();
            for (const QString& name : {QStringLiteral("First"), QStringLiteral("Second")}) {
                control.AddSheet(name, QString());
                control.CommitSheet();
            }
            qint16 status = -1;
            control.SelectPrinter(0, kQueueA, status);
            control.Print();
        });
    });
    worker->start();
    QVERIFY(worker->wait(120000));
    delete worker;
    QCOMPARE(failure, QString());
    const QString two = QStringLiteral("two_sheets.xls");
    QCOMPARE(testsupport::jobsProblem(newJobs(), {{kQueueA, two, two}}), QString());
}

void ReportCupsTest::toolPrintsOnTheQueue() {
    const ToolRun run = runTool({QStringLiteral("print"), kQueueA,
                                 testsupport::fixturePath(QStringLiteral("two_sheets.xls")),
                                 testsupport::fixturePath(QStringLiteral("three_sheets.xls"))});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const QString two = QStringLiteral("two_sheets.xls");
    const QString three = QStringLiteral("three_sheets.xls");
    QCOMPARE(testsupport::jobsProblem(newJobs(), {{kQueueA, two, two}, {kQueueA, three, three}}),
             QString());

    const ToolRun unknown = runTool({QStringLiteral("print"), QStringLiteral("no-such-queue"),
                                     testsupport::fixturePath(QStringLiteral("two_sheets.xls"))});
    QCOMPARE(unknown.exitCode, 1);
    QCOMPARE(unknown.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(unknown.err.contains(QStringLiteral("no-such-queue")), qPrintable(unknown.err));
    QCOMPARE(newJobs().size(), 2);
}

void ReportCupsTest::toolWritesPdfFiles() {
    const QString out = m_folder.filePath(QStringLiteral("pdf-out"));
    QVERIFY(QDir().mkpath(out));
    const QString in = m_folder.filePath(QStringLiteral("pdf-in"));
    QVERIFY(QDir().mkpath(in));
    const QString three = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), in,
                                                   QStringLiteral("請求 一覧.xls"));
    const QString two =
        testsupport::copyFixture(QStringLiteral("two_sheets.xls"), in, QStringLiteral("two.XLS"));
    const QString pages = QStringLiteral(TESSALY_REPORT_FIXTURES "/report_pages.xls");
    QVERIFY(!three.isEmpty() && !two.isEmpty());
    const testsupport::FolderSnapshot before(in);

    const ToolRun run = runTool({QStringLiteral("pdf"), out, three, two, pages});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QString());
    QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name),
             QStringList({QStringLiteral("report_pages.pdf"), QStringLiteral("two.pdf"),
                          QStringLiteral("請求 一覧.pdf")}));
    QCOMPARE(testsupport::pdfPageCount(out + QStringLiteral("/請求 一覧.pdf")), 3);
    QCOMPARE(testsupport::pdfPageCount(out + QStringLiteral("/two.pdf")), 3);
    QCOMPARE(testsupport::pdfPageCount(out + QStringLiteral("/report_pages.pdf")), 11);
    QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(in)), QStringList());
    // Nothing printed.
    QCOMPARE(newJobs().size(), 0);
}

void ReportCupsTest::toolStopsAtTheFirstFailure() {
    const QString out = m_folder.filePath(QStringLiteral("stop-out"));
    QVERIFY(QDir().mkpath(out));
    const QString missing = m_folder.filePath(QStringLiteral("missing.xls"));
    const ToolRun run = runTool(
        {QStringLiteral("pdf"), out, testsupport::fixturePath(QStringLiteral("two_sheets.xls")),
         missing, testsupport::fixturePath(QStringLiteral("three_sheets.xls"))});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("tessaly-xls: ") + missing + QStringLiteral(": ")),
             qPrintable(run.err));
    QCOMPARE(QDir(out).entryList(QDir::Files), QStringList{QStringLiteral("two_sheets.pdf")});

    const ToolRun corrupt = runTool({QStringLiteral("print"), kQueueA,
                                     testsupport::fixturePath(QStringLiteral("corrupt.xls")),
                                     testsupport::fixturePath(QStringLiteral("two_sheets.xls"))});
    QCOMPARE(corrupt.exitCode, 1);
    QCOMPARE(corrupt.err.count(QLatin1Char('\n')), 1);
    QVERIFY(corrupt.err.contains(QStringLiteral("corrupt.xls")));
    QCOMPARE(newJobs().size(), 0);

    const ToolRun notFolder = runTool({QStringLiteral("pdf"), missing,
                                       testsupport::fixturePath(QStringLiteral("two_sheets.xls"))});
    QCOMPARE(notFolder.exitCode, 1);
    QCOMPARE(notFolder.err.count(QLatin1Char('\n')), 1);
    // Too few arguments: the usage, and failure.
    const ToolRun usage = runTool({QStringLiteral("pdf"), out});
    QCOMPARE(usage.exitCode, 1);
    QVERIFY(usage.err.startsWith(QStringLiteral("usage:")));
}

QTEST_MAIN(ReportCupsTest)
#include "tst_report_cups.moc"
