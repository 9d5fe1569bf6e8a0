#include "platform/ChildProcesses.h"
#include "platform/PlatformError.h"
#include "platform/XdgShell.h"
#include "shell/CShellExecute.h"

#include "fakes/FakeServices.h"
#include "fakes/TempTree.h"

#include <QTest>

namespace {

// A shell whose calls fail before they reach the desktop.
struct ThrowingShell : FakeShell {
    qintptr ShellExecute(qintptr, const std::optional<QByteArray>&, const QByteArray&,
                         const std::optional<QByteArray>&, const std::optional<QByteArray>&,
                         qint32) override {
        throw platform::PlatformError(platform::PlatformError::kPermissionDenied,
                                      QStringLiteral("Permission denied"));
    }
    bool ShellExecuteEx(platform::ShellExecuteInfo&) override {
        throw platform::PlatformError(53, QStringLiteral("File not found"));
    }
    int GetExitCodeProcess(qintptr, quint32&) override {
        throw platform::PlatformError(5, QStringLiteral("Invalid procedure call"));
    }
};

} // namespace

class tst_CShellExecute : public QObject {
    Q_OBJECT
private slots:
    void newObjectTracksNothing() {
        FakeShell shell;
        FakeMessageBox messages;
        CShellExecute launcher(shell, messages);
        QVERIFY(!launcher.StillExecuting());
        QCOMPARE(shell.exitCodeReads, 0);
    }

    void plainCallsPassTheirVerbsAndNulls() {
        FakeShell shell;
        FakeMessageBox messages;
        CShellExecute launcher(shell, messages);
        QCOMPARE(launcher.Explore(7, QStringLiteral("/data")), -1);
        QCOMPARE(launcher.LaunchFolder(7, QStringLiteral("/data"), 3), -1);
        QCOMPARE(launcher.LaunchURL(7, QStringLiteral("https://www.example/")), -1);
        QCOMPARE(launcher.LaunchEmail(7, QString()), -1);
        QCOMPARE(launcher.LaunchEmail(7, QStringLiteral("mailto:a@b.example")), -1);
        QCOMPARE(launcher.PrintDocument(7, QStringLiteral("/data/a.xls")), -1);

        struct Expected {
            std::optional<QByteArray> verb;
            QByteArray file;
            qint32 show;
        };
        const QList<Expected> expected{
            {QByteArray("explore"), "/data", 10},
            {QByteArray("open"), "/data", 3},
            {std::nullopt, "https://www.example/", 10},
            {std::nullopt, "mailto:", 10},
            {std::nullopt, "mailto:mailto:a@b.example", 10},
            {QByteArray("print"), "/data/a.xls", 0},
        };
        QCOMPARE(shell.calls.size(), static_cast<std::size_t>(expected.size()));
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const FakeShell::Call& call = shell.calls[static_cast<std::size_t>(i)];
            QVERIFY(!call.extended);
            QCOMPARE(call.verb, expected[i].verb);
            QCOMPARE(call.file, expected[i].file);
            QCOMPARE(call.show, expected[i].show);
            QVERIFY(!call.parameters.has_value());
            QVERIFY(!call.directory.has_value());
        }
        QVERIFY(messages.shown.empty());
    }

    void extendedCallsPassEmptyParameters() {
        FakeShell shell;
        FakeMessageBox messages;
        CShellExecute launcher(shell, messages);
        launcher.LaunchDocument(1, QStringLiteral("/data/a.xls"), QStringLiteral("/data"));
        launcher.LaunchProgram(1, QStringLiteral("/usr/bin/prog"));
        launcher.LaunchProgram(1, QStringLiteral("/usr/bin/prog"), QStringLiteral("-x y"),
                               QStringLiteral("/tmp"), 5);
        QCOMPARE(shell.calls.size(), std::size_t{3});
        for (const FakeShell::Call& call : shell.calls) {
            QVERIFY(call.extended);
            QCOMPARE(call.verb, std::optional<QByteArray>("Open"));
            QCOMPARE(call.mask, 0x240u);
        }
        QCOMPARE(shell.calls[0].parameters, std::optional<QByteArray>(""));
        QCOMPARE(shell.calls[0].directory, std::optional<QByteArray>("/data"));
        QCOMPARE(shell.calls[1].parameters, std::optional<QByteArray>(""));
        QCOMPARE(shell.calls[1].directory, std::optional<QByteArray>(""));
        QCOMPARE(shell.calls[2].parameters, std::optional<QByteArray>("-x y"));
        QCOMPARE(shell.calls[2].show, 5);
    }

    void refusalsComeBackAsCodes_data() {
        QTest::addColumn<int>("code");
        QTest::newRow("file not found") << 2;
        QTest::newRow("path not found") << 3;
        QTest::newRow("no application") << 31;
    }
    void refusalsComeBackAsCodes() {
        QFETCH(int, code);
        FakeShell shell;
        shell.answer = code;
        FakeMessageBox messages;
        CShellExecute launcher(shell, messages);
        QCOMPARE(launcher.LaunchURL(0, QStringLiteral("x")), code);
        QCOMPARE(launcher.Explore(0, QStringLiteral("x")), code);
        QCOMPARE(launcher.PrintDocument(0, QStringLiteral("x")), code);
        QCOMPARE(launcher.LaunchProgram(0, QStringLiteral("x")), code);
        // A refused extended launch is still tracked, but has no process to poll.
        QVERIFY(!launcher.StillExecuting());
        QCOMPARE(shell.exitCodeReads, 1);
        QVERIFY(messages.shown.empty());
    }

    void documentWithoutProcess() {
        FakeShell shell;
        shell.process = 0;
        FakeMessageBox messages;
        CShellExecute launcher(shell, messages);
        QCOMPARE(launcher.LaunchDocument(0, QStringLiteral("/data/a.xls"), QString()), -1);
        QVERIFY(!launcher.StillExecuting());
    }

    void errorsAreShownAndAnsweredWithZero() {
        ThrowingShell shell;
        FakeMessageBox messages;
        CShellExecute launcher(shell, messages);
        QCOMPARE(launcher.LaunchURL(0, QStringLiteral("https://www.example/")), 0);
        QCOMPARE(launcher.LaunchProgram(0, QStringLiteral("/bin/true")), 0);
        QVERIFY(!launcher.StillExecuting()); // nothing tracked after a failed launch
        QCOMPARE(messages.shown.size(), std::size_t{2});
        QCOMPARE(messages.shown[0].text, QStringLiteral("Error: 70. Permission denied"));
        QCOMPARE(messages.shown[0].title, QStringLiteral("LaunchURL"));
        QCOMPARE(messages.shown[0].icon, platform::MessageIcon::None);
        QCOMPARE(messages.shown[1].text, QStringLiteral("Error: 53. File not found"));
        QCOMPARE(messages.shown[1].title, QStringLiteral("LaunchProgram"));
    }

    void stillExecutingErrorIsShown() {
        ThrowingShell shell;
        FakeShell answering;
        answering.process = 1234;
        FakeMessageBox messages;
        // Track a launch through a working shell first, then poll through the failing one.
        CShellExecute tracked(answering, messages);
        QCOMPARE(tracked.LaunchProgram(0, QStringLiteral("/bin/true")), -1);
        answering.exitCodes[1234] = platform::IShell::kStillActive;
        QVERIFY(tracked.StillExecuting());
        answering.exitCodes[1234] = 0;
        QVERIFY(!tracked.StillExecuting());
        CShellExecute failing(shell, messages);
        QVERIFY(!failing.StillExecuting());
        QVERIFY(messages.shown.empty());
    }

    // A real program on the real desktop shell: running, then ended; a later launch of another
    // kind forgets it.
    void realProgramIsTrackedUntilItEnds() {
        TempTree tree;
        const QString flag = tree.path("go");
        const QString program = tree.path("wait-for-flag");
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        // It also ends when its folder goes, so that it never outlives the test.
        script.write("#!/bin/sh\nwhile [ ! -e \"$1\" ] && [ -d \"${1%/*}\" ]; do sleep 0.05; done\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));

        platform::ChildProcesses children;
        platform::XdgShell shell(children);
        FakeMessageBox messages;
        CShellExecute launcher(shell, messages);
        QCOMPARE(launcher.LaunchProgram(0, program, QStringLiteral("\"%1\"").arg(flag)), -1);
        QVERIFY(launcher.StillExecuting());
        QTest::qWait(200);
        QVERIFY(launcher.StillExecuting());
        tree.file("go");
        QTRY_VERIFY_WITH_TIMEOUT(!launcher.StillExecuting(), 10000);

        QFile::remove(flag);
        QCOMPARE(launcher.LaunchProgram(0, program, QStringLiteral("\"%1\"").arg(flag)), -1);
        QVERIFY(launcher.StillExecuting());
        // No desktop launcher here, so the address is refused; the tracking ends all the same.
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(tree.folder("empty")));
        QCOMPARE(launcher.LaunchURL(0, QStringLiteral("https://www.example/")), 31);
        qputenv("PATH", savedPath);
        QVERIFY(!launcher.StillExecuting());
        tree.file("go");
        QVERIFY(messages.shown.empty());
    }
};

QTEST_GUILESS_MAIN(tst_CShellExecute)
#include "tst_CShellExecute.moc"
