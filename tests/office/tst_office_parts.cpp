// The pieces of the LibreOffice layer that work without LibreOffice: settings, file URLs,
// profile slots, server processes, the call watchdog, the printer directory and the
// identifier check.

#include "OfficeTestBed.h"
#include "office/AutomationError.h"
#include "office/CallWatchdog.h"
#include "office/CupsPrinterDirectory.h"
#include "office/FileUrl.h"
#include "office/LibreOfficeAutomation.h"
#include "office/ProfileSlot.h"
#include "office/ServerProcess.h"
#include "platform/FileName.h"
#include "tests/support/PrivateCups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

class OfficePartsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void settingsComeFromTheEnvironment();
    void sofficeIsFoundOnPathFirst();
    void fileUrlsKeepEveryByte();
    void profileSlotsAreExclusive();
    void serverProcessReportsExecFailures();
    void serverProcessRunsInItsOwnGroup();
    void serverProcessEndsItsWholeGroup();
    void serverProcessKillsWhatIgnoresTerm();
    void serverProcessEndsWithItsStartingThread();
    void watchdogFiresOnlyPastTheDeadline();
    void printerDirectoryKnowsExactNames();
    void unknownIdentifierIsRefused();

private:
    OfficeTestBed m_bed;
};

void OfficePartsTest::initTestCase() {
    QVERIFY(m_bed.isValid());
}

void OfficePartsTest::settingsComeFromTheEnvironment() {
    qputenv("TESSALY_SOFFICE", "/opt/other office/soffice");
    qputenv("TESSALY_OFFICE_TIMEOUT", "2.5");
    office::LibreOfficeSettings settings = office::LibreOfficeSettings::fromEnvironment();
    QCOMPARE(settings.soffice(), QStringLiteral("/opt/other office/soffice"));
    QCOMPARE(settings.sofficeProgram(), QStringLiteral("/opt/other office/soffice"));
    QCOMPARE(settings.callTimeout(), 2500ms);
    QCOMPARE(settings.startTimeout(), 60s);
    QVERIFY(settings.profileRoot().endsWith(QStringLiteral("/tessaly/libreoffice")));

    for (const char* unusable : {"", "abc", "0", "-3", "10s"}) {
        qputenv("TESSALY_OFFICE_TIMEOUT", unusable);
        QCOMPARE(office::LibreOfficeSettings::fromEnvironment().callTimeout(), 10min);
    }
    qputenv("TESSALY_OFFICE_TIMEOUT", "1e300");
    const auto huge = office::LibreOfficeSettings::fromEnvironment().callTimeout();
    QVERIFY(huge > 24h * 365);

    qunsetenv("TESSALY_OFFICE_TIMEOUT");
    qunsetenv("TESSALY_SOFFICE");
    settings = office::LibreOfficeSettings::fromEnvironment();
    QVERIFY(settings.soffice().isEmpty());
    QCOMPARE(settings.callTimeout(), 10min);
}

void OfficePartsTest::sofficeIsFoundOnPathFirst() {
    const QString folder = m_bed.newFolder(QStringLiteral("path"));
    const QString fake =
        m_bed.writeScript(QStringLiteral("path/soffice"), QStringLiteral("exit 0"));
    QVERIFY(!fake.isEmpty());
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", folder.toUtf8());
    office::LibreOfficeSettings settings;
    const QString onPath = settings.sofficeProgram();
    settings.setSoffice(QStringLiteral("soffice"));
    const QString byName = settings.sofficeProgram();
    settings.setSoffice(QStringLiteral("no-such-office"));
    const QString missing = settings.sofficeProgram();
    qputenv("PATH", "/nonexistent");
    settings.setSoffice({});
    const QString standard = settings.sofficeProgram();
    qputenv("PATH", savedPath);

    QCOMPARE(onPath, fake);
    QCOMPARE(byName, fake);
    QVERIFY(missing.isEmpty());
    const bool installed =
        QFileInfo(QString::fromLatin1(office::LibreOfficeSettings::kStandardSoffice))
            .isExecutable();
    QCOMPARE(standard, installed
                           ? QString::fromLatin1(office::LibreOfficeSettings::kStandardSoffice)
                           : QString());
}

void OfficePartsTest::fileUrlsKeepEveryByte() {
    QCOMPARE(office::fileUrl(QStringLiteral("/tmp/a-b_c.~/Book1.xls")),
             QStringLiteral("file:///tmp/a-b_c.~/Book1.xls"));
    QCOMPARE(office::fileUrl(QStringLiteral("/tmp/my book#1%;.xls")),
             QStringLiteral("file:///tmp/my%20book%231%25%3B.xls"));
    QCOMPARE(office::fileUrl(QStringLiteral("/表.xls")), QStringLiteral("file:///%E8%A1%A8.xls"));
    // A name that is not UTF-8 keeps its own bytes.
    const QString latin1Name = platform::decodeFileName(QByteArrayLiteral("/tmp/caf\xe9.xls"));
    QCOMPARE(office::fileUrl(latin1Name), QStringLiteral("file:///tmp/caf%E9.xls"));
}

void OfficePartsTest::profileSlotsAreExclusive() {
    const QString root = m_bed.newFolder(QStringLiteral("slots")) + QStringLiteral("/a/b");
    {
        const office::ProfileSlot first(root);
        QCOMPARE(first.folder(), root + QStringLiteral("/profile-0"));
        struct stat status {};
        QCOMPARE(::stat(root.toUtf8().constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0700u);
        const office::ProfileSlot second(root);
        QCOMPARE(second.folder(), root + QStringLiteral("/profile-1"));
    }
    auto third = std::make_unique<office::ProfileSlot>(root);
    QCOMPARE(third->folder(), root + QStringLiteral("/profile-0"));

    // A server that inherited the lock keeps the slot after the slot object has gone.
    office::ServerProcess holder(QStringLiteral("/bin/sleep"), {QStringLiteral("30")},
                                 third->lockDescriptor(), 2s);
    third.reset();
    QCOMPARE(office::ProfileSlot(root).folder(), root + QStringLiteral("/profile-1"));
    holder.stop(office::ServerProcess::Stop::SendTerm);
    QCOMPARE(office::ProfileSlot(root).folder(), root + QStringLiteral("/profile-0"));
}

void OfficePartsTest::serverProcessReportsExecFailures() {
    QString cause;
    const auto took = timed([&] {
        cause = failureOf([] {
            office::ServerProcess process(QStringLiteral("/nonexistent/soffice"), {}, -1, 1s);
        });
    });
    QVERIFY(cause.contains(QStringLiteral("/nonexistent/soffice")));
    QVERIFY(cause.contains(QStringLiteral("No such file")));
    QVERIFY2(took < 5s, qPrintable(QString::number(took.count())));

    const QString notExecutable = m_bed.newFolder(QStringLiteral("plain")) + QStringLiteral("/x");
    QFile file(notExecutable);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(failureOf([&] {
                office::ServerProcess process(notExecutable, {}, -1, 1s);
            }).contains(QStringLiteral("Permission denied")));
}

void OfficePartsTest::serverProcessRunsInItsOwnGroup() {
    const QString out = m_bed.newFolder(QStringLiteral("group")) + QStringLiteral("/fds");
    const QString script = m_bed.writeScript(QStringLiteral("group/list-fds"),
                                             QStringLiteral("ls /proc/$$/fd > \"$1\"; exit 3"));
    const int inherited = ::open("/dev/null", O_RDONLY); // no O_CLOEXEC: must still be closed
    const int closeOnExec = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int kept = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    office::ServerProcess process(script, {out}, kept, 2s);
    QCOMPARE(::getpgid(process.pid()), process.pid());
    QVERIFY(process.waitForExit(10s));
    QVERIFY(process.hasExited());
    QCOMPARE(process.exitDescription(), QStringLiteral("exit status 3"));
    process.stop(office::ServerProcess::Stop::AlreadyAsked);
    ::close(inherited);
    ::close(closeOnExec);
    ::close(kept);

    QFile list(out);
    QVERIFY(list.open(QIODevice::ReadOnly));
    const QStringList fds =
        QString::fromLatin1(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString listed = fds.join(QLatin1Char(' '));
    QVERIFY2(fds.contains(QStringLiteral("0")) && fds.contains(QStringLiteral("1")),
             qPrintable(listed));
    QVERIFY2(fds.contains(QString::number(kept)), qPrintable(listed));
    QVERIFY2(!fds.contains(QString::number(inherited)), qPrintable(listed));
    QVERIFY2(!fds.contains(QString::number(closeOnExec)), qPrintable(listed));
}

void OfficePartsTest::serverProcessEndsItsWholeGroup() {
    const QByteArray marker = "tessaly-group-marker-" + QByteArray::number(::getpid());
    const QString script =
        m_bed.writeScript(QStringLiteral("spawner"),
                          QStringLiteral("sh -c 'while :; do sleep 1; done' \"$1\" & wait"));
    {
        office::ServerProcess process(script, {QString::fromLatin1(marker)}, -1, 30s);
        QTRY_VERIFY(!testsupport::processesMentioning(marker).isEmpty());
        QVERIFY(!process.hasExited());
        // SIGTERM is enough: well within the grace, past which the group would be killed.
        const auto took = timed([&] { process.stop(office::ServerProcess::Stop::SendTerm); });
        QVERIFY2(took < 15s, qPrintable(QString::number(took.count())));
    }
    QTRY_VERIFY(testsupport::processesMentioning(marker).isEmpty());
}

void OfficePartsTest::serverProcessKillsWhatIgnoresTerm() {
    const QByteArray marker = "tessaly-stubborn-" + QByteArray::number(::getpid());
    const QString script = m_bed.writeScript(
        QStringLiteral("stubborn"),
        QStringLiteral("trap '' TERM; touch \"$2\"; while :; do sleep 0.1; done"));
    const QString ready =
        m_bed.newFolder(QStringLiteral("stubborn-ready")) + QStringLiteral("/ready");
    std::chrono::milliseconds took{};
    {
        office::ServerProcess process(script, {QString::fromLatin1(marker), ready}, -1, 1s);
        QTRY_VERIFY(QFileInfo::exists(ready));
        took = timed([&] { process.stop(office::ServerProcess::Stop::SendTerm); });
        QVERIFY(process.hasExited());
    }
    QVERIFY2(took >= 1s && took < 10s, qPrintable(QString::number(took.count())));
    QVERIFY(testsupport::processesMentioning(marker).isEmpty());
}

void OfficePartsTest::serverProcessEndsWithItsStartingThread() {
    const QByteArray marker = "tessaly-orphan-" + QByteArray::number(::getpid());
    const QString script =
        m_bed.writeScript(QStringLiteral("orphan"), QStringLiteral("while :; do sleep 0.1; done"));
    std::unique_ptr<office::ServerProcess> process;
    std::thread starter([&] {
        process = std::make_unique<office::ServerProcess>(
            script, QStringList{QString::fromLatin1(marker)}, -1, 1s);
    });
    starter.join();
    // The thread that started it is gone, and with it the program.
    QVERIFY(process->waitForExit(5s));
    QCOMPARE(process->exitDescription(), QStringLiteral("signal %1").arg(SIGTERM));
    process.reset();
    QVERIFY(testsupport::processesMentioning(marker).isEmpty());
}

void OfficePartsTest::watchdogFiresOnlyPastTheDeadline() {
    std::atomic<int> expiries{0};
    office::CallWatchdog watchdog([&] { ++expiries; });

    watchdog.arm(30s);
    std::this_thread::sleep_for(50ms);
    watchdog.disarm();
    QVERIFY(!watchdog.fired());

    watchdog.arm(100ms);
    QTRY_COMPARE_WITH_TIMEOUT(expiries.load(), 1, 5000);
    QVERIFY(watchdog.fired());
    watchdog.disarm();

    // A new call starts afresh.
    {
        const office::CallWatchdog::Guard guard(watchdog, 5s);
        QVERIFY(!watchdog.fired());
    }
    std::this_thread::sleep_for(200ms);
    QCOMPARE(expiries.load(), 1);
}

void OfficePartsTest::printerDirectoryKnowsExactNames() {
    testsupport::PrivateCups cups;
    QVERIFY2(cups.start(), qPrintable(cups.errorString()));
    const office::CupsPrinterDirectory printers;
    QVERIFY(!printers.defaultPrinter().has_value());
    QCOMPARE(printers.printerNames(), QStringList());
    QVERIFY2(cups.addQueue(QStringLiteral("tessaly-two")), qPrintable(cups.errorString()));
    QVERIFY2(cups.addQueue(QStringLiteral("tessaly-one")), qPrintable(cups.errorString()));
    // CUPS lists its destinations by name, whatever order they were added in.
    QCOMPARE(printers.printerNames(),
             QStringList({QStringLiteral("tessaly-one"), QStringLiteral("tessaly-two")}));
    QVERIFY(printers.hasPrinter(QStringLiteral("tessaly-one")));
    QVERIFY(printers.hasPrinter(QStringLiteral("tessaly-two")));
    QVERIFY(!printers.hasPrinter(QStringLiteral("TESSALY-ONE")));
    QVERIFY(!printers.hasPrinter(QStringLiteral("tessaly")));
    QVERIFY(!printers.hasPrinter(QString()));
    QVERIFY2(cups.setDefaultQueue(QStringLiteral("tessaly-two")), qPrintable(cups.errorString()));
    QCOMPARE(printers.defaultPrinter(), std::optional<QString>(QStringLiteral("tessaly-two")));
}

void OfficePartsTest::unknownIdentifierIsRefused() {
    const office::CupsPrinterDirectory printers;
    office::LibreOfficeAutomation automation(m_bed.settings(), printers);
    for (const QString& progId :
         {QStringLiteral("Word.Application"), QStringLiteral("Excel.Application.8"), QString()}) {
        const QString cause = failureOf([&] { automation.createObject(progId); });
        QVERIFY2(cause.contains(QStringLiteral("Unknown programmatic identifier")),
                 qPrintable(cause));
    }
    QVERIFY(m_bed.serverProcesses().isEmpty());
    QVERIFY(!QFileInfo::exists(m_bed.profileRoot()));
}

QTEST_GUILESS_MAIN(OfficePartsTest)
#include "tst_office_parts.moc"
