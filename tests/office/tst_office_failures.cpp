// How the LibreOffice layer fails: files it cannot open, a LibreOffice that is missing, broken
// or hangs, and servers that die or stop answering. Every failure is an AutomationError, comes
// quickly, and leaves no server behind.

#include "OfficeTestBed.h"
#include "office/CupsPrinterDirectory.h"
#include "office/LibreOfficeAutomation.h"
#include "tests/support/Fixtures.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/PrivateCups.h"

#include <QCryptographicHash>
#include <QDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <stop_token>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const QString kQueue = QStringLiteral("tessaly-failures");

// The socket through which a LibreOffice finds another one running on the same profile.
QString profilePipe(const QString& profile) {
    const QString url = QStringLiteral("file://") + profile;
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char*>(url.utf16()), url.size() * 2),
        QCryptographicHash::Md5);
    QString hash;
    for (const char byte : digest)
        hash += QString::number(static_cast<unsigned char>(byte), 16);
    return QStringLiteral("/tmp/OSL_PIPE_%1_SingleOfficeIPC_%2").arg(::getuid()).arg(hash);
}

} // namespace

class OfficeFailuresTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void filesThatCannotBeOpened();
    void missingSofficeFailsAtOnce();
    void sofficeThatExitsFailsAtOnce();
    void sofficeThatNeverAnswersFailsAtTheDeadline();
    void sofficeIgnoringTermIsKilled();
    void serverKilledBetweenCallsFailsTheNextCall();
    void serverKilledDuringACallFailsThatCall();
    void callPastItsDeadlineKillsTheServer();
    void stopRequestEndsAHeldCallWithinTheGrace();
    void releaseWithoutQuitEndsTheServer();

private:
    std::unique_ptr<office::LibreOfficeAutomation>
    automationWith(const office::LibreOfficeSettings& settings) const;
    int jobCount();

    OfficeTestBed m_bed;
    testsupport::PrivateCups m_cups;
    office::CupsPrinterDirectory m_printers;
    QString m_workbook;
    int m_jobsBefore = 0;
};

void OfficeFailuresTest::initTestCase() {
    QVERIFY(m_bed.isValid());
    QVERIFY2(m_cups.start(), qPrintable(m_cups.errorString()));
    QVERIFY2(m_cups.addQueue(kQueue), qPrintable(m_cups.errorString()));
    QVERIFY2(m_cups.setDefaultQueue(kQueue), qPrintable(m_cups.errorString()));
    m_workbook = testsupport::copyFixture(QStringLiteral("three_sheets.xls"),
                                          m_bed.newFolder(QStringLiteral("good")));
    QVERIFY(!m_workbook.isEmpty());
}

void OfficeFailuresTest::init() {
    m_jobsBefore = jobCount();
}

void OfficeFailuresTest::cleanup() {
    const auto left = m_bed.serverProcesses();
    QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("%1 processes left").arg(left.size())));
    qunsetenv("TESSALY_SOFFICE");
}

std::unique_ptr<office::LibreOfficeAutomation>
OfficeFailuresTest::automationWith(const office::LibreOfficeSettings& settings) const {
    return std::make_unique<office::LibreOfficeAutomation>(settings, m_printers);
}

int OfficeFailuresTest::jobCount() {
    return static_cast<int>(m_cups.jobs().size());
}

void OfficeFailuresTest::filesThatCannotBeOpened() {
    const QString folder = m_bed.newFolder(QStringLiteral("bad"));
    const QString corrupt = testsupport::copyFixture(QStringLiteral("corrupt.xls"), folder);
    const QString noise = testsupport::copyFixture(QStringLiteral("random.xls"), folder);
    QVERIFY(QDir(folder).mkdir(QStringLiteral("folder.xls")));
    QVERIFY(!corrupt.isEmpty() && !noise.isEmpty());
    const testsupport::FolderSnapshot before(folder);

    const auto automation = automationWith(m_bed.settings());
    const auto application = automation->createObject(QStringLiteral("Excel.Application"));
    const struct {
        QString path;
        QString cause;
    } cases[] = {
        {folder + QStringLiteral("/missing.xls"), QStringLiteral("No such file")},
        {folder + QStringLiteral("/folder.xls"), QStringLiteral("is not a file")},
        {corrupt, QStringLiteral("is not a workbook")},
        {noise, QStringLiteral("is not a workbook")},
        {QString(), QStringLiteral("no file name")},
    };
    for (const auto& each : cases) {
        const QString cause = failureOf([&] { application->Workbooks().Open(each.path); });
        QVERIFY2(cause.contains(each.cause), qPrintable(each.path + QStringLiteral(": ") + cause));
    }
    // The server is still fine for the next workbook.
    const auto workbook = application->Workbooks().Open(m_workbook);
    workbook->PrintOut(1, true, kQueue);
    workbook->Close(false);
    application->Quit();

    QCOMPARE(jobCount(), m_jobsBefore + 1);
    QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(folder)), QStringList());
}

void OfficeFailuresTest::missingSofficeFailsAtOnce() {
    for (const char* missing : {"/nonexistent/soffice", "no-such-soffice"}) {
        qputenv("TESSALY_SOFFICE", missing);
        const auto automation = automationWith(m_bed.settings());
        QString cause;
        const auto took = timed([&] {
            cause =
                failureOf([&] { automation->createObject(QStringLiteral("Excel.Application")); });
        });
        QVERIFY2(cause.contains(QString::fromLatin1(missing)), qPrintable(cause));
        QVERIFY2(took < 5s, qPrintable(QString::number(took.count())));
    }
}

void OfficeFailuresTest::sofficeThatExitsFailsAtOnce() {
    office::LibreOfficeSettings settings = m_bed.settings();
    settings.setSoffice(m_bed.writeScript(QStringLiteral("exits"), QStringLiteral("exit 3")));
    const auto automation = automationWith(settings);
    QString cause;
    const auto took = timed([&] {
        cause = failureOf([&] { automation->createObject(QStringLiteral("Excel.Application")); });
    });
    QVERIFY2(cause.contains(QStringLiteral("ended with exit status 3")), qPrintable(cause));
    QVERIFY2(took < 10s, qPrintable(QString::number(took.count())));
}

void OfficeFailuresTest::sofficeThatNeverAnswersFailsAtTheDeadline() {
    office::LibreOfficeSettings settings = m_bed.settings();
    settings.setSoffice(
        m_bed.writeScript(QStringLiteral("silent"), QStringLiteral("while :; do sleep 0.1; done")));
    settings.setStartTimeout(2s);
    const auto automation = automationWith(settings);
    QString cause;
    const auto took = timed([&] {
        cause = failureOf([&] { automation->createObject(QStringLiteral("Excel.Application")); });
    });
    QVERIFY2(cause.contains(QStringLiteral("did not answer within 2 s")), qPrintable(cause));
    QVERIFY2(took >= 2s && took < 12s, qPrintable(QString::number(took.count())));
}

void OfficeFailuresTest::sofficeIgnoringTermIsKilled() {
    office::LibreOfficeSettings settings = m_bed.settings();
    settings.setSoffice(m_bed.writeScript(
        QStringLiteral("stubborn"), QStringLiteral("trap '' TERM; while :; do sleep 0.1; done")));
    settings.setStartTimeout(1s);
    settings.setQuitGrace(1s);
    const auto automation = automationWith(settings);
    QString cause;
    const auto took = timed([&] {
        cause = failureOf([&] { automation->createObject(QStringLiteral("Excel.Application")); });
    });
    QVERIFY2(cause.contains(QStringLiteral("did not answer")), qPrintable(cause));
    QVERIFY2(took >= 2s && took < 12s, qPrintable(QString::number(took.count())));
}

void OfficeFailuresTest::serverKilledBetweenCallsFailsTheNextCall() {
    const auto automation = automationWith(m_bed.settings());
    const auto application = automation->createObject(QStringLiteral("Excel.Application"));
    const auto workbook = application->Workbooks().Open(m_workbook);
    const auto servers = m_bed.serverProcesses();
    QVERIFY(!servers.isEmpty());
    const QRegularExpressionMatch pipe =
        QRegularExpression(QStringLiteral("pipe,name=([^;]+);"))
            .match(QString::fromUtf8(testsupport::commandLine(servers.first())));
    QVERIFY(pipe.hasMatch());
    const QString socket =
        QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(::getuid()).arg(pipe.captured(1));
    const QString profileSocket = profilePipe(m_bed.profileRoot() + QStringLiteral("/profile-0"));
    QVERIFY(QFileInfo::exists(socket));
    QVERIFY2(QFileInfo::exists(profileSocket), qPrintable(profileSocket));
    testsupport::signalProcesses(servers, SIGKILL);
    QTRY_VERIFY(m_bed.serverProcesses().isEmpty());

    QString cause;
    const auto took =
        timed([&] { cause = failureOf([&] { workbook->PrintOut(1, true, kQueue); }); });
    QVERIFY2(cause.startsWith(QStringLiteral("PrintOut: LibreOffice ended unexpectedly")),
             qPrintable(cause));
    QVERIFY2(took < 10s, qPrintable(QString::number(took.count())));
    QVERIFY(failureOf([&] {
                application->Workbooks().Open(m_workbook);
            }).contains(QStringLiteral("ended unexpectedly")));
    QVERIFY(failureOf([&] { application->Quit(); }).contains(QStringLiteral("ended unexpectedly")));
    QCOMPARE(jobCount(), m_jobsBefore);
    // The killed server's pipes do not stay behind.
    QVERIFY(!QFileInfo::exists(socket));
    QVERIFY(!QFileInfo::exists(profileSocket));
}

void OfficeFailuresTest::serverKilledDuringACallFailsThatCall() {
    const auto automation = automationWith(m_bed.settings());
    const auto application = automation->createObject(QStringLiteral("Excel.Application"));
    const auto workbook = application->Workbooks().Open(m_workbook);
    // A stopped server takes the call and never answers, until it is killed.
    const auto servers = m_bed.serverProcesses();
    testsupport::signalProcesses(servers, SIGSTOP);
    std::thread killer([servers] {
        std::this_thread::sleep_for(1s);
        testsupport::signalProcesses(servers, SIGKILL);
    });
    QString cause;
    const auto took =
        timed([&] { cause = failureOf([&] { workbook->PrintOut(1, true, kQueue); }); });
    killer.join();
    QVERIFY2(cause.contains(QStringLiteral("ended unexpectedly")), qPrintable(cause));
    QVERIFY2(took >= 1s && took < 12s, qPrintable(QString::number(took.count())));
    QCOMPARE(jobCount(), m_jobsBefore);
}

void OfficeFailuresTest::callPastItsDeadlineKillsTheServer() {
    office::LibreOfficeSettings settings = m_bed.settings();
    settings.setCallTimeout(2s);
    const auto automation = automationWith(settings);
    const auto application = automation->createObject(QStringLiteral("Excel.Application"));
    const auto workbook = application->Workbooks().Open(m_workbook);
    testsupport::signalProcesses(m_bed.serverProcesses(), SIGSTOP);

    QString cause;
    const auto took = timed([&] { cause = failureOf([&] { workbook->Close(false); }); });
    QVERIFY2(cause.contains(QStringLiteral("Close: LibreOffice did not answer within 2 s")),
             qPrintable(cause));
    QVERIFY2(took >= 2s && took < 12s, qPrintable(QString::number(took.count())));
    // Killed by the deadline, not only at release.
    QTRY_VERIFY(m_bed.serverProcesses().isEmpty());
    QVERIFY(!failureOf([&] { application->Workbooks().Open(m_workbook); }).isNull());
}

void OfficeFailuresTest::stopRequestEndsAHeldCallWithinTheGrace() {
    office::LibreOfficeSettings settings = m_bed.settings();
    settings.setCallTimeout(10min);
    const auto automation = automationWith(settings);
    const auto application = automation->createObject(QStringLiteral("Excel.Application"));
    std::stop_source stop;
    application->setStopRequest(stop.get_token());
    const auto workbook = application->Workbooks().Open(m_workbook);
    // A stopped server holds the call; the user asks to stop a second into it.
    testsupport::signalProcesses(m_bed.serverProcesses(), SIGSTOP);
    std::thread user([&stop] {
        std::this_thread::sleep_for(1s);
        stop.request_stop();
    });

    QString cause;
    const auto took =
        timed([&] { cause = failureOf([&] { workbook->PrintOut(1, true, kQueue); }); });
    user.join();
    QVERIFY(!cause.isNull());
    // The grace is 5 s, the call's own limit ten minutes.
    QVERIFY2(took >= 1s && took < 60s, qPrintable(QString::number(took.count())));
    QTRY_VERIFY(m_bed.serverProcesses().isEmpty());
    QCOMPARE(jobCount(), m_jobsBefore);
}

void OfficeFailuresTest::releaseWithoutQuitEndsTheServer() {
    const auto automation = automationWith(m_bed.settings());
    auto application = automation->createObject(QStringLiteral("Excel.Application"));
    auto workbook = application->Workbooks().Open(m_workbook);
    QVERIFY(!m_bed.serverProcesses().isEmpty());
    application.reset();
    QVERIFY(m_bed.serverProcesses().isEmpty());
    // The workbook outlives its application and only finds it gone.
    QVERIFY(failureOf([&] {
                workbook->PrintOut(1, true, kQueue);
            }).contains(QStringLiteral("has quit")));
    workbook.reset();
    QCOMPARE(jobCount(), m_jobsBefore);
}

QTEST_GUILESS_MAIN(OfficeFailuresTest)
#include "tst_office_failures.moc"
