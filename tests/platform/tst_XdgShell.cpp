#include "platform/ChildProcesses.h"
#include "platform/XdgShell.h"

#include "fakes/TempTree.h"

#include <QElapsedTimer>
#include <QTest>

#include <unistd.h>

namespace {

// A program that writes its arguments, NUL-terminated, and its working folder to a record file,
// then, when asked to, waits until the file record + ".go" exists (or its folder is gone), and
// exits with a given code.
void writeRecorder(const QString& path, const QString& record, bool waitForGo, int exitCode) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile script(path);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\n"
                                "pwd > '%1.cwd'\n"
                                "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > '%1.tmp'\n"
                                "mv '%1.tmp' '%1'\n"
                                "%2"
                                "exit %3\n")
                     .arg(record)
                     .arg(waitForGo ? QStringLiteral("while [ ! -e '%1.go' ] && [ -d '%2' ]; do "
                                                     "sleep 0.05; done\n")
                                          .arg(record, QFileInfo(record).absolutePath())
                                    : QString())
                     .arg(exitCode)
                     .toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QList<QByteArray> waitForRecord(const QString& record) {
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(record) && timer.elapsed() < 10000)
        QTest::qWait(20);
    QFile file(record);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> args = file.readAll().split('\0');
    args.removeLast();
    return args;
}

class PathGuard {
public:
    explicit PathGuard(const QByteArray& path)
        : m_saved(qgetenv("PATH")) {
        qputenv("PATH", path);
    }
    ~PathGuard() { qputenv("PATH", m_saved); }
    PathGuard(const PathGuard&) = delete;
    PathGuard& operator=(const PathGuard&) = delete;

private:
    QByteArray m_saved;
};

} // namespace

class tst_XdgShell : public QObject {
    Q_OBJECT
private slots:
    void addressesAndDocumentsGoToXdgOpen() {
        TempTree tree;
        writeRecorder(tree.path("bin/xdg-open"), tree.path("record"), false, 0);
        const QString document = tree.file("帳票 1.xls");
        const PathGuard path(QFile::encodeName(tree.path("bin")) + ":/usr/bin:/bin");
        platform::ChildProcesses children;
        platform::XdgShell shell(children);

        QVERIFY(shell.ShellExecute(0, std::nullopt, "https://www.example/a b?x=1;y", std::nullopt,
                                   std::nullopt, 10) > 32);
        QCOMPARE(waitForRecord(tree.path("record")),
                 QList<QByteArray>{"https://www.example/a b?x=1;y"});
        QFile::remove(tree.path("record"));

        QVERIFY(shell.ShellExecute(0, std::nullopt, "mailto:", std::nullopt, std::nullopt, 10) >
                32);
        QCOMPARE(waitForRecord(tree.path("record")), QList<QByteArray>{"mailto:"});
        QFile::remove(tree.path("record"));

        QVERIFY(shell.ShellExecute(0, QByteArray("open"), document.toUtf8(), std::nullopt,
                                   std::nullopt, 10) > 32);
        QCOMPARE(waitForRecord(tree.path("record")), QList<QByteArray>{document.toUtf8()});
        QFile::remove(tree.path("record"));

        QVERIFY(shell.ShellExecute(0, QByteArray("explore"), tree.path().toUtf8(), std::nullopt,
                                   std::nullopt, 10) > 32);
        QCOMPARE(waitForRecord(tree.path("record")), QList<QByteArray>{tree.path().toUtf8()});
    }

    void printGoesToLp() {
        TempTree tree;
        writeRecorder(tree.path("bin/lp"), tree.path("record"), false, 0);
        const QString document = tree.file("-looks-like-an-option.xls");
        const PathGuard path(QFile::encodeName(tree.path("bin")) + ":/usr/bin:/bin");
        platform::ChildProcesses children;
        platform::XdgShell shell(children);
        QVERIFY(shell.ShellExecute(0, QByteArray("print"), document.toUtf8(), std::nullopt,
                                   std::nullopt, 0) > 32);
        QCOMPARE(waitForRecord(tree.path("record")), (QList<QByteArray>{"--", document.toUtf8()}));
    }

    void refusals() {
        TempTree tree;
        const QString file = tree.file("a.xls");
        platform::ChildProcesses children;
        platform::XdgShell shell(children);
        const auto open = [&](const char* verb, const QString& target) {
            return shell.ShellExecute(0, QByteArray(verb), target.toUtf8(), std::nullopt,
                                      std::nullopt, 10);
        };
        QCOMPARE(open("open", tree.path("missing.xls")), platform::IShell::kFileNotFound);
        QCOMPARE(open("open", tree.path("missing/a.xls")), platform::IShell::kPathNotFound);
        QCOMPARE(open("edit", file), platform::IShell::kNoAssociation);
        QCOMPARE(open("explore", file), platform::IShell::kNoAssociation);
        QCOMPARE(open("print", tree.path()), platform::IShell::kNoAssociation);
        QCOMPARE(open("print", QStringLiteral("https://www.example/")),
                 platform::IShell::kNoAssociation);

        // No desktop launcher installed: no application for anything.
        const PathGuard path(QFile::encodeName(tree.folder("empty")));
        QCOMPARE(open("open", file), platform::IShell::kNoAssociation);
        QCOMPARE(open("open", QStringLiteral("https://www.example/")),
                 platform::IShell::kNoAssociation);
    }

    void programsStartDirectlyAndAreTracked() {
        TempTree tree;
        const QString program = tree.path("work/prog");
        QDir().mkpath(tree.path("work"));
        writeRecorder(program, tree.path("record"), true, 3);
        platform::ChildProcesses children;
        platform::XdgShell shell(children);

        platform::ShellExecuteInfo info;
        info.fMask = platform::ShellExecuteInfo::SEE_MASK_NOCLOSEPROCESS;
        info.lpVerb = QByteArray("Open");
        info.lpFile = QByteArray("prog");
        info.lpParameters = QByteArray(R"("a b" c  d\"e "f""g")");
        info.lpDirectory = QFile::encodeName(tree.path("work"));
        QVERIFY(shell.ShellExecuteEx(info));
        QVERIFY(info.hInstApp > 32);
        QVERIFY(info.hProcess > 0);

        QCOMPARE(waitForRecord(tree.path("record")),
                 (QList<QByteArray>{"a b", "c", "d\"e", "f\"g"}));
        QFile cwd(tree.path("record.cwd"));
        QVERIFY(cwd.open(QIODevice::ReadOnly));
        QCOMPARE(cwd.readAll().trimmed(), QFile::encodeName(tree.path("work")));

        quint32 code = 0;
        QVERIFY(shell.GetExitCodeProcess(info.hProcess, code) != 0);
        QCOMPARE(code, platform::IShell::kStillActive);
        tree.file("record.go");
        QTRY_VERIFY_WITH_TIMEOUT(shell.GetExitCodeProcess(info.hProcess, code) != 0 &&
                                     code != platform::IShell::kStillActive,
                                 10000);
        QCOMPARE(code, 3u);
        QCOMPARE(shell.GetExitCodeProcess(::getpid(), code), 0);
    }

    void environmentIsExpandedWhenAsked() {
        TempTree tree;
        writeRecorder(tree.path("prog"), tree.path("record"), false, 0);
        qputenv("TESSALY_TEST_FOLDER", QFile::encodeName(tree.path()));
        platform::ChildProcesses children;
        platform::XdgShell shell(children);

        platform::ShellExecuteInfo info;
        info.lpFile = QByteArray("%TESSALY_TEST_FOLDER%/prog");
        QVERIFY(!shell.ShellExecuteEx(info));
        QCOMPARE(info.hInstApp, platform::IShell::kPathNotFound);

        info.fMask = platform::ShellExecuteInfo::SEE_MASK_DOENVSUBST;
        QVERIFY(shell.ShellExecuteEx(info));
        QCOMPARE(info.hProcess, 0); // not asked for
        QCOMPARE(waitForRecord(tree.path("record")), QList<QByteArray>{});
    }

    void missingStartFolder() {
        TempTree tree;
        platform::ChildProcesses children;
        platform::XdgShell shell(children);
        platform::ShellExecuteInfo info;
        info.lpFile = QByteArray("/bin/true");
        info.lpDirectory = QFile::encodeName(tree.path("missing"));
        QVERIFY(!shell.ShellExecuteEx(info));
        QCOMPARE(info.hInstApp, platform::IShell::kPathNotFound);
    }

    void splitParameters_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QByteArray>>("arguments");
        QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
        QTest::newRow("blanks") << QByteArray("  a\tb  ") << QList<QByteArray>{"a", "b"};
        QTest::newRow("quoted blank") << QByteArray("\"a b\"") << QList<QByteArray>{"a b"};
        QTest::newRow("empty quotes") << QByteArray("\"\" x") << QList<QByteArray>{"", "x"};
        QTest::newRow("glued") << QByteArray("a\"b c\"d") << QList<QByteArray>{"ab cd"};
        QTest::newRow("escaped quote") << QByteArray("a\\\"b") << QList<QByteArray>{"a\"b"};
        QTest::newRow("shell characters stay")
            << QByteArray("$(rm) ;|&") << QList<QByteArray>{"$(rm)", ";|&"};
    }
    void splitParameters() {
        QFETCH(QByteArray, text);
        QFETCH(QList<QByteArray>, arguments);
        QCOMPARE(platform::XdgShell::splitParameters(text), arguments);
    }

    void expandEnvironment() {
        qputenv("TESSALY_X", "value");
        qunsetenv("TESSALY_UNSET");
        using platform::XdgShell;
        QCOMPARE(XdgShell::expandEnvironment("%TESSALY_X%/a"), QByteArray("value/a"));
        QCOMPARE(XdgShell::expandEnvironment("${TESSALY_X}b"), QByteArray("valueb"));
        QCOMPARE(XdgShell::expandEnvironment("$TESSALY_X/c"), QByteArray("value/c"));
        QCOMPARE(XdgShell::expandEnvironment("%TESSALY_UNSET%"), QByteArray("%TESSALY_UNSET%"));
        QCOMPARE(XdgShell::expandEnvironment("100% $"), QByteArray("100% $"));
    }
};

QTEST_GUILESS_MAIN(tst_XdgShell)
#include "tst_XdgShell.moc"
