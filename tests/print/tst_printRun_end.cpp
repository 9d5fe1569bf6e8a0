// The real program, told to end by SIGTERM in the middle of a long run on the LibreOffice path,
// onto a queue of a private CUPS scheduler: it ends within a workbook's time, leaves no
// LibreOffice behind, has queued whole jobs only, and has left the workbooks as they were.

#include "support/Fixtures.h"
#include "support/FolderSnapshot.h"
#include "support/PrivateCups.h"
#include "support/ProcessScan.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString kQueue = QStringLiteral("tessaly-end");
constexpr int kWorkbooks = 30;

} // namespace

class tst_printRun_end : public QObject {
    Q_OBJECT
private slots:
    void sigtermDuringARunEndsCleanly() {
        testsupport::PrivateCups cups;
        QVERIFY2(cups.start(), qPrintable(cups.errorString()));
        QVERIFY2(cups.addQueue(kQueue), qPrintable(cups.errorString()));
        QVERIFY2(cups.setDefaultQueue(kQueue), qPrintable(cups.errorString()));
        QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tessaly-end-XXXXXX"));
        QVERIFY(home.isValid());
        const QString books = home.filePath(QStringLiteral("books"));
        const QString cache = home.filePath(QStringLiteral("cache"));
        const QString runtime = home.filePath(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(books) && QDir().mkpath(cache) && QDir().mkpath(runtime));
        QFile(runtime).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (int i = 0; i < kWorkbooks; ++i) {
            const QString name = QStringLiteral("book-%1.xls").arg(i, 2, 10, QLatin1Char('0'));
            QVERIFY(!testsupport::copyFixture(QStringLiteral("three_sheets.xls"), books, name)
                         .isEmpty());
        }
        const testsupport::FolderSnapshot before(books);

        // LibreOffice's profiles go below the cache folder, so its processes mention that.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QT_PLUGIN_PATH"),
                           QStringLiteral(TESSALY_DRIVER_PLUGINS));
        environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"),
                           QStringLiteral("tessalyprintdriver"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(TESSALY_EXECUTABLE), {books});
        QVERIFY(program.waitForStarted());

        // Limits only for a failure: the first job comes within seconds.
        QTRY_VERIFY_WITH_TIMEOUT(!cups.jobs().isEmpty() || program.state() == QProcess::NotRunning,
                                 120000);
        QCOMPARE(program.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        // One workbook takes well under a second; this bound is for a busy machine.
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

        QCOMPARE(testsupport::processesMentioning(cache.toUtf8()), QList<pid_t>());
        const auto jobs = cups.jobs();
        QVERIFY(!jobs.isEmpty());
        QVERIFY2(jobs.size() < kWorkbooks, qPrintable(QString::number(jobs.size())));
        const QList<testsupport::ExpectedJob> whole(
            jobs.size(), {kQueue, QStringLiteral("three_sheets.xls"), QString()});
        QCOMPARE(testsupport::jobsProblem(jobs, whole), QString());
        QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(books)), QStringList());
    }
};

QTEST_MAIN(tst_printRun_end)
#include "tst_printRun_end.moc"
