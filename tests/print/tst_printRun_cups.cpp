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
const QStringList kThreeSheetsPages{QStringLiteral("alpha-sheet-marker"),
                                    QStringLiteral("beta-sheet-marker"),
                                    QStringLiteral("gamma-sheet-marker")};
const QStringList kTwoSheetsPages{QStringLiteral("first-sheet-marker"),
                                  QStringLiteral("second-sheet-top"),
                                  QStringLiteral("second-sheet-bottom")};

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
        const auto jobs = m_cups.jobs();
        m_lastJobBefore = jobs.isEmpty() ? 0 : jobs.last().id;
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
        const auto left = m_bed.serverProcesses();
        QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("%1 soffice left").arg(left.size())));
    }

    void printsThroughLibreOffice() {
        const testsupport::FolderSnapshot before(m_folder);
        FakeServices fakes;
        PrintSystem printing(m_bed.settings());
        frmMain window(fakes.services, printing.services(), nullptr);
        window.show();
        listWorkbooks(window);

        pressPrint(window, {.usePrinter = true, .printer = kQueueA});

        QCOMPARE(messagesOf(fakes), QStringList{print::startedMessage()});
        const auto jobs = newJobs();
        QCOMPARE(jobs.size(), 2);
        QCOMPARE(testsupport::jobProblem(jobs[0], kQueueA, kThreeSheetsPages), QString());
        QCOMPARE(testsupport::jobProblem(jobs[1], kQueueA, kTwoSheetsPages), QString());
        QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(m_folder)), QStringList());

        // Without a chosen printer, the default queue.
        pressPrint(window, {.usePrinter = false, .withoutExcel = false});
        const auto more = newJobs();
        QCOMPARE(more.size(), 4);
        QCOMPARE(testsupport::jobProblem(more[2], kQueueB, kThreeSheetsPages), QString());
        QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(m_folder)), QStringList());
    }

    void withoutLibreOfficeTheReportPathRuns() {
        const testsupport::FolderSnapshot before(m_folder);
        qputenv("TESSALY_SOFFICE", m_bed.profileRoot().toUtf8() + "/no/soffice");
        FakeServices fakes;
        PrintSystem printing(m_bed.settings());
        frmMain window(fakes.services, printing.services(), nullptr);
        window.show();
        listWorkbooks(window);

        pressPrint(window, {.usePrinter = true, .printer = kQueueA, .withoutExcel = true});

        QCOMPARE(messagesOf(fakes), QStringList{print::startedMessage()});
        const auto jobs = newJobs();
        QCOMPARE(jobs.size(), 2);
        QCOMPARE(testsupport::jobProblem(jobs[0], kQueueA, kThreeSheetsPages), QString());
        QCOMPARE(testsupport::jobProblem(jobs[1], kQueueA, kTwoSheetsPages), QString());
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
        const auto jobs = newJobs();
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(testsupport::jobProblem(jobs[0], kQueueA, kThreeSheetsPages), QString());
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
        const auto jobs = newJobs();
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(testsupport::jobProblem(jobs[0], kQueueB, kThreeSheetsPages), QString());
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
    QList<testsupport::PrintedJob> newJobs() {
        QList<testsupport::PrintedJob> result;
        for (const auto& job : m_cups.jobs()) {
            if (job.id > m_lastJobBefore)
                result.append(job);
        }
        return result;
    }

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
