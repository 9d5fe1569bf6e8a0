// Whole print runs through the real main window and the real print services, onto the queues
// of a private CUPS scheduler.

#include "RunDriver.h"

#include "app/PrintSystem.h"
#include "print/PrintMessages.h"

#include "fakes/FakeServices.h"
#include "office/OfficeTestBed.h"
#include "support/Fixtures.h"
#include "support/FolderSnapshot.h"
#include "support/PrivateCups.h"

#include <QTest>

namespace {

const QString kQueueA = QStringLiteral("tessaly-a");
const QString kQueueB = QStringLiteral("tessaly-b");

enum class Path { LibreOffice, Report };

} // namespace

class tst_printRun_cups : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_bed.isValid());
        QVERIFY2(m_cups.start(), qPrintable(m_cups.errorString()));
        QVERIFY2(m_cups.addQueue(kQueueA), qPrintable(m_cups.errorString()));
        QVERIFY2(m_cups.addQueue(kQueueB), qPrintable(m_cups.errorString()));
        QVERIFY2(m_cups.setDefaultQueue(kQueueB), qPrintable(m_cups.errorString()));
    }

    void init() {
        m_lastJobBefore = m_cups.lastJobId();
        m_folder = m_bed.newFolder(QString::fromLatin1(QTest::currentTestFunction()));
        m_three = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), m_folder);
        m_unticked = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), m_folder,
                                              QStringLiteral("unticked.xls"));
        m_two = testsupport::copyFixture(QStringLiteral("two_sheets.xls"), m_folder,
                                         QStringLiteral("二 sheets.XLS"));
        QVERIFY(!m_three.isEmpty() && !m_unticked.isEmpty() && !m_two.isEmpty());
    }

    void cleanup() {
        qunsetenv("TESSALY_SOFFICE");
        QVERIFY2(m_cups.setLpOptions({}), qPrintable(m_cups.errorString()));
        const auto left = m_bed.serverProcesses();
        QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("%1 soffice left").arg(left.size())));
    }

    void printsEveryTickedWorkbookAsOneJob_data() {
        QTest::addColumn<Path>("path");
        QTest::addColumn<bool>("usePrinter");
        QTest::addColumn<QString>("queue");
        QTest::newRow("LibreOffice, chosen queue") << Path::LibreOffice << true << kQueueA;
        QTest::newRow("LibreOffice, default queue") << Path::LibreOffice << false << kQueueB;
        QTest::newRow("report, chosen queue") << Path::Report << true << kQueueA;
        QTest::newRow("report, default queue") << Path::Report << false << kQueueB;
    }

    void printsEveryTickedWorkbookAsOneJob() {
        QFETCH(Path, path);
        QFETCH(bool, usePrinter);
        QFETCH(QString, queue);
        const testsupport::FolderSnapshot before(m_folder);
        if (path == Path::Report)
            qputenv("TESSALY_SOFFICE", m_bed.profileRoot().toUtf8() + "/no/soffice");
        FakeServices fakes;
        PrintSystem printing(m_bed.settings());
        frmMain window(fakes.services, printing.services(), nullptr);
        window.show();
        listWorkbooks(window);

        // The printer in the list counts only when the box is ticked.
        pressPrint(
            window,
            {.usePrinter = usePrinter, .printer = kQueueA, .withoutExcel = path == Path::Report});

        QCOMPARE(messagesOf(fakes), QStringList{print::startedMessage()});
        const QString three = QStringLiteral("three_sheets.xls");
        QCOMPARE(testsupport::jobsProblem(newJobs(), {{queue, three, three},
                                                      {queue, QStringLiteral("two_sheets.xls"),
                                                       QStringLiteral("二 sheets.XLS")}}),
                 QString());
        QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(m_folder)), QStringList());
    }

    // An instance's options and the default queue's lpoptions reach the scheduler with each job
    // of the report path. LibreOffice sends its own settings only: it is not asked.
    void userPrinterOptionsTravelWithTheJobs_data() {
        QTest::addColumn<bool>("usePrinter");
        QTest::addColumn<QString>("queue");
        QTest::addColumn<QString>("sides");
        QTest::addColumn<QString>("priority");
        const QString longEdge = QStringLiteral("two-sided-long-edge");
        const QString shortEdge = QStringLiteral("two-sided-short-edge");
        QTest::newRow("instance") << true << kQueueA << longEdge << "30";
        QTest::newRow("default queue") << false << kQueueB << shortEdge << "20";
    }

    void userPrinterOptionsTravelWithTheJobs() {
        QFETCH(bool, usePrinter);
        QFETCH(QString, queue);
        QFETCH(QString, sides);
        QFETCH(QString, priority);
        QVERIFY2(m_cups.setLpOptions(
                     {QStringLiteral("Dest %1/duplex sides=two-sided-long-edge job-priority=30")
                          .arg(kQueueA),
                      QStringLiteral("Default %1 sides=two-sided-short-edge job-priority=20")
                          .arg(kQueueB)}),
                 qPrintable(m_cups.errorString()));
        qputenv("TESSALY_SOFFICE", m_bed.profileRoot().toUtf8() + "/no/soffice");
        FakeServices fakes;
        PrintSystem printing(m_bed.settings());
        frmMain window(fakes.services, printing.services(), nullptr);
        listWorkbooks(window);

        pressPrint(window, {.usePrinter = usePrinter,
                            .printer = kQueueA + QStringLiteral("/duplex"),
                            .withoutExcel = true});

        QCOMPARE(messagesOf(fakes), QStringList{print::startedMessage()});
        const QList<testsupport::PrintedJob> jobs = newJobs();
        QCOMPARE(jobs.size(), 2);
        for (const testsupport::PrintedJob& job : jobs) {
            QCOMPARE(job.queue, queue);
            QCOMPARE(job.sides, sides);
            QCOMPARE(job.priority, priority);
        }
    }

    void refusedJobEndsTheReportPath() {
        const testsupport::FolderSnapshot before(m_folder);
        qputenv("TESSALY_SOFFICE", m_bed.profileRoot().toUtf8() + "/no/soffice");
        FakeServices fakes;
        PrintSystem printing(m_bed.settings());
        frmMain window(fakes.services, printing.services(), nullptr);
        listWorkbooks(window);
        QVERIFY2(m_cups.setAcceptingJobs(kQueueA, false), qPrintable(m_cups.errorString()));

        pressPrint(window, {.usePrinter = true, .printer = kQueueA, .withoutExcel = true});

        QVERIFY2(m_cups.setAcceptingJobs(kQueueA, true), qPrintable(m_cups.errorString()));
        QCOMPARE(messagesOf(fakes), QStringList{print::reportFailureMessage()});
        QVERIFY(newJobs().isEmpty());
        QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(m_folder)), QStringList());
    }

    void withoutLibreOfficeTheApplicationPathSaysSo() {
        const testsupport::FolderSnapshot before(m_folder);
        qputenv("TESSALY_SOFFICE", m_bed.profileRoot().toUtf8() + "/no/soffice");
        FakeServices fakes;
        PrintSystem printing(m_bed.settings());
        frmMain window(fakes.services, printing.services(), nullptr);
        window.show();
        listWorkbooks(window);

        pressPrint(window, {.usePrinter = true, .printer = kQueueA, .withoutExcel = false});

        QCOMPARE(messagesOf(fakes), QStringList{print::excelFailureMessage()});
        QVERIFY(newJobs().isEmpty());
        QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(m_folder)), QStringList());
    }

    void failingWorkbookEndsTheRunAndTheServer() {
        const QString corrupt = testsupport::copyFixture(QStringLiteral("corrupt.xls"), m_folder);
        const testsupport::FolderSnapshot before(m_folder);
        FakeServices fakes;
        PrintSystem printing(m_bed.settings());
        frmMain window(fakes.services, printing.services(), nullptr);
        window.AddPathToList(m_three);
        window.AddPathToList(corrupt);
        window.AddPathToList(m_two);

        pressPrint(window, {.usePrinter = true, .printer = kQueueA, .withoutExcel = false});

        QCOMPARE(messagesOf(fakes), QStringList{print::excelFailureMessage()});
        const QString three = QStringLiteral("three_sheets.xls");
        QCOMPARE(testsupport::jobsProblem(newJobs(), {{kQueueA, three, three}}), QString());
        QVERIFY(m_bed.serverProcesses().isEmpty());
        QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(m_folder)), QStringList());
    }

    void failingWorkbookEndsTheReportPath() {
        const QString corrupt = testsupport::copyFixture(QStringLiteral("corrupt.xls"), m_folder);
        const testsupport::FolderSnapshot before(m_folder);
        qputenv("TESSALY_SOFFICE", m_bed.profileRoot().toUtf8() + "/no/soffice");
        FakeServices fakes;
        PrintSystem printing(m_bed.settings());
        frmMain window(fakes.services, printing.services(), nullptr);
        window.AddPathToList(m_three);
        window.AddPathToList(corrupt);
        window.AddPathToList(m_two);

        pressPrint(window, {.usePrinter = false, .withoutExcel = true});

        QCOMPARE(messagesOf(fakes), QStringList{print::reportFailureMessage()});
        const QString three = QStringLiteral("three_sheets.xls");
        QCOMPARE(testsupport::jobsProblem(newJobs(), {{kQueueB, three, three}}), QString());
        QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(m_folder)), QStringList());
    }

private:
    void listWorkbooks(frmMain& window) const {
        window.AddPathToList(m_three);
        window.AddPathToList(m_unticked);
        window.AddPathToList(m_two);
        window.findChild<ListView*>()->listItems().Item(2).setChecked(false);
    }
    static QStringList messagesOf(const FakeServices& fakes) {
        QStringList texts;
        for (const auto& shown : fakes.messages.shown)
            texts.append(shown.text);
        return texts;
    }
    QList<testsupport::PrintedJob> newJobs() { return m_cups.jobsAfter(m_lastJobBefore); }

    OfficeTestBed m_bed;
    testsupport::PrivateCups m_cups;
    int m_lastJobBefore = 0;
    QString m_folder;
    QString m_three;
    QString m_unticked;
    QString m_two;
};

QTEST_MAIN(tst_printRun_cups)
#include "tst_printRun_cups.moc"
