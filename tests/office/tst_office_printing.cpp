// Printing workbooks through a real LibreOffice onto the queues of a private CUPS scheduler.

#include "OfficeTestBed.h"
#include "office/CupsPrinterDirectory.h"
#include "office/LibreOfficeAutomation.h"
#include "platform/FileName.h"
#include "tests/support/Fixtures.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/PrivateCups.h"

#include <QDir>
#include <QtTest>

#include <memory>
#include <unistd.h>

namespace {

const QString kQueueA = QStringLiteral("tessaly-a");
const QString kQueueB = QStringLiteral("tessaly-b");
const QString kThree = QStringLiteral("three_sheets.xls");
const QString kTwo = QStringLiteral("two_sheets.xls");

} // namespace

class OfficePrintingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void printsOnTheDefaultQueueWithoutActivePrinter();
    void passesCopiesAndCollate();
    void unknownPrinterPrintsNothing();
    void refusedJobIsAnError();
    void opensUnusualAndRelativeNames();
    void closedWorkbookAndSavingAreRefused();
    void visibleCanOnlyBeFalse();
    void quitEndsTheServer();
    void twoApplicationsRunSideBySide();

private:
    // The jobs that arrived since the current test function began.
    QList<testsupport::PrintedJob> newJobs() { return m_cups.jobsAfter(m_lastJobBefore); }

    OfficeTestBed m_bed;
    testsupport::PrivateCups m_cups;
    office::CupsPrinterDirectory m_printers;
    std::unique_ptr<office::LibreOfficeAutomation> m_automation;
    int m_lastJobBefore = 0;
};

void OfficePrintingTest::initTestCase() {
    QVERIFY(m_bed.isValid());
    QVERIFY2(m_cups.start(), qPrintable(m_cups.errorString()));
    QVERIFY2(m_cups.addQueue(kQueueA), qPrintable(m_cups.errorString()));
    QVERIFY2(m_cups.addQueue(kQueueB), qPrintable(m_cups.errorString()));
    QVERIFY2(m_cups.setDefaultQueue(kQueueB), qPrintable(m_cups.errorString()));
    m_automation = std::make_unique<office::LibreOfficeAutomation>(m_bed.settings(), m_printers);
}

void OfficePrintingTest::init() {
    m_lastJobBefore = m_cups.lastJobId();
}

void OfficePrintingTest::cleanup() {
    // No server of ours outlives its application object.
    const auto left = m_bed.serverProcesses();
    QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("%1 processes left").arg(left.size())));
}

void OfficePrintingTest::printsOnTheDefaultQueueWithoutActivePrinter() {
    const QString folder = m_bed.newFolder(QStringLiteral("default"));
    const QString path = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), folder);
    const testsupport::FolderSnapshot before(folder);

    // Identifiers are compared without regard to case.
    const auto application = m_automation->createObject(QStringLiteral("excel.application"));
    const auto workbook = application->Workbooks().Open(path);
    workbook->PrintOut(1, true, std::nullopt);
    // The default is asked afresh for every job.
    QVERIFY2(m_cups.setDefaultQueue(kQueueA), qPrintable(m_cups.errorString()));
    workbook->PrintOut(1, true, std::nullopt);
    QVERIFY2(m_cups.setDefaultQueue(kQueueB), qPrintable(m_cups.errorString()));
    workbook->Close(false);
    application->Quit();

    QCOMPARE(
        testsupport::jobsProblem(newJobs(), {{kQueueB, kThree, kThree}, {kQueueA, kThree, kThree}}),
        QString());
    QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(folder)), QStringList());
}

void OfficePrintingTest::passesCopiesAndCollate() {
    const QString folder = m_bed.newFolder(QStringLiteral("copies"));
    const QString path = testsupport::copyFixture(QStringLiteral("two_sheets.xls"), folder);

    const auto application = m_automation->createObject(QStringLiteral("Excel.Application"));
    const auto workbook = application->Workbooks().Open(path);
    workbook->PrintOut(2, false, kQueueA);
    workbook->PrintOut(3, true, kQueueB);
    for (const int copies : {0, -1, 40000}) {
        const QString cause = failureOf([&] { workbook->PrintOut(copies, true, kQueueA); });
        QVERIFY2(cause.contains(QStringLiteral("Copies")), qPrintable(cause));
    }
    workbook->Close(false);
    application->Quit();

    const auto jobs = newJobs();
    QCOMPARE(jobs.size(), 2);
    QCOMPARE(jobs[0].queue, kQueueA);
    QCOMPARE(jobs[0].copies, 2);
    QCOMPARE(jobs[0].collate, false);
    QCOMPARE(jobs[1].queue, kQueueB);
    QCOMPARE(jobs[1].copies, 3);
    QCOMPARE(jobs[1].collate, true);
}

void OfficePrintingTest::unknownPrinterPrintsNothing() {
    const QString folder = m_bed.newFolder(QStringLiteral("unknown"));
    const QString path = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), folder);
    const testsupport::FolderSnapshot before(folder);

    const auto application = m_automation->createObject(QStringLiteral("Excel.Application"));
    const auto workbook = application->Workbooks().Open(path);
    for (const QString& name : {QStringLiteral("no-such-queue"), QStringLiteral("TESSALY-A"),
                                QStringLiteral("ﾌﾟﾘﾝﾀなし"), QString()}) {
        const QString cause = failureOf([&] { workbook->PrintOut(1, true, name); });
        QVERIFY2(cause.contains(QStringLiteral("no printer named \"%1\"").arg(name)),
                 qPrintable(cause));
    }
    QVERIFY(newJobs().isEmpty());
    // The workbook is still there to be printed properly.
    workbook->PrintOut(1, true, kQueueA);
    workbook->Close(false);
    application->Quit();

    QCOMPARE(testsupport::jobsProblem(newJobs(), {{kQueueA, kThree, kThree}}), QString());
    QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(folder)), QStringList());
}

void OfficePrintingTest::refusedJobIsAnError() {
    const QString folder = m_bed.newFolder(QStringLiteral("refused"));
    const QString path = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), folder);

    const auto application = m_automation->createObject(QStringLiteral("Excel.Application"));
    const auto workbook = application->Workbooks().Open(path);
    QVERIFY2(m_cups.setAcceptingJobs(kQueueA, false), qPrintable(m_cups.errorString()));
    const QString cause = failureOf([&] { workbook->PrintOut(1, true, kQueueA); });
    QVERIFY2(m_cups.setAcceptingJobs(kQueueA, true), qPrintable(m_cups.errorString()));
    QVERIFY2(cause.contains(QStringLiteral("did not take the job")), qPrintable(cause));
    QVERIFY(newJobs().isEmpty());
    workbook->Close(false);
    application->Quit();
}

void OfficePrintingTest::opensUnusualAndRelativeNames() {
    const QString folder = m_bed.newFolder(QStringLiteral("names"));
    const QString spaced = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), folder,
                                                    QStringLiteral("請求書 #1 100%.xls"));
    const QString latin1 =
        testsupport::copyFixture(QStringLiteral("two_sheets.xls"), folder,
                                 platform::decodeFileName(QByteArrayLiteral("caf\xe9.xls")));
    QVERIFY(!testsupport::copyFixture(QStringLiteral("three_sheets.xls"), folder).isEmpty());
    QVERIFY(!spaced.isEmpty() && !latin1.isEmpty());
    const testsupport::FolderSnapshot before(folder);

    const QString saved = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder));
    const auto application = m_automation->createObject(QStringLiteral("Excel.Application"));
    for (const QString& path : {spaced, latin1, QStringLiteral("three_sheets.xls")}) {
        const auto workbook = application->Workbooks().Open(path);
        workbook->PrintOut(1, true, kQueueA);
        workbook->Close(false);
    }
    application->Quit();
    QVERIFY(QDir::setCurrent(saved));

    // Titles of names that are not UTF-8 are LibreOffice's business.
    QCOMPARE(testsupport::jobsProblem(newJobs(),
                                      {{kQueueA, kThree, QStringLiteral("請求書 #1 100%.xls")},
                                       {kQueueA, kTwo, QString()},
                                       {kQueueA, kThree, kThree}}),
             QString());
    QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(folder)), QStringList());
}

void OfficePrintingTest::closedWorkbookAndSavingAreRefused() {
    const QString folder = m_bed.newFolder(QStringLiteral("closed"));
    const QString path = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), folder);
    const testsupport::FolderSnapshot before(folder);

    const auto application = m_automation->createObject(QStringLiteral("Excel.Application"));
    const auto workbook = application->Workbooks().Open(path);
    QVERIFY(failureOf([&] { workbook->Close(true); }).contains(QStringLiteral("never saved")));
    workbook->Close(false);
    QVERIFY(failureOf([&] {
                workbook->PrintOut(1, true, kQueueA);
            }).contains(QStringLiteral("has been closed")));
    QVERIFY(failureOf([&] { workbook->Close(false); }).contains(QStringLiteral("has been closed")));
    application->Quit();

    QVERIFY(newJobs().isEmpty());
    QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(folder)), QStringList());
}

void OfficePrintingTest::visibleCanOnlyBeFalse() {
    const auto application = m_automation->createObject(QStringLiteral("Excel.Application"));
    application->setVisible(false);
    QVERIFY(failureOf([&] { application->setVisible(true); }).contains(QStringLiteral("headless")));
    application->Quit();
}

void OfficePrintingTest::quitEndsTheServer() {
    const QString folder = m_bed.newFolder(QStringLiteral("quit"));
    const QString path = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), folder);

    const auto application = m_automation->createObject(QStringLiteral("Excel.Application"));
    QVERIFY(!m_bed.serverProcesses().isEmpty());
    // A workbook left open does not hold the server up.
    const auto workbook = application->Workbooks().Open(path);
    application->Quit();
    QVERIFY(m_bed.serverProcesses().isEmpty());
    QVERIFY(failureOf([&] {
                application->Workbooks().Open(path);
            }).contains(QStringLiteral("has quit")));
    QVERIFY(failureOf([&] {
                workbook->PrintOut(1, true, kQueueA);
            }).contains(QStringLiteral("has quit")));
    QVERIFY(
        failureOf([&] { application->setVisible(false); }).contains(QStringLiteral("has quit")));
    application->Quit();
    QVERIFY(newJobs().isEmpty());
}

void OfficePrintingTest::twoApplicationsRunSideBySide() {
    const QString folder = m_bed.newFolder(QStringLiteral("side"));
    const QString three = testsupport::copyFixture(QStringLiteral("three_sheets.xls"), folder);
    const QString two = testsupport::copyFixture(QStringLiteral("two_sheets.xls"), folder);

    const auto first = m_automation->createObject(QStringLiteral("Excel.Application"));
    const auto second = m_automation->createObject(QStringLiteral("Excel.Application"));
    // Each has a server and a profile of its own.
    QVERIFY(!testsupport::processesMentioning(
                 (m_bed.profileRoot() + QStringLiteral("/profile-0")).toUtf8())
                 .isEmpty());
    QVERIFY(!testsupport::processesMentioning(
                 (m_bed.profileRoot() + QStringLiteral("/profile-1")).toUtf8())
                 .isEmpty());
    const auto workbookOfFirst = first->Workbooks().Open(three);
    const auto workbookOfSecond = second->Workbooks().Open(two);
    first->Quit();
    // The second server is untouched by the first one's end.
    workbookOfSecond->PrintOut(1, true, kQueueB);
    workbookOfSecond->Close(false);
    second->Quit();

    QCOMPARE(testsupport::jobsProblem(newJobs(), {{kQueueB, kTwo, kTwo}}), QString());
}

QTEST_GUILESS_MAIN(OfficePrintingTest)
#include "tst_office_printing.moc"
