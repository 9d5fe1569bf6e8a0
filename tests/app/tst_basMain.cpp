#include "app/basMain.h"
#include "platform/FlockInstanceLock.h"
#include "platform/PosixCommandLine.h"
#include "platform/PosixDirectorySearch.h"
#include "platform/QtMessageBox.h"
#include "platform/SignalEndRequests.h"
#include "ui/frmMain.h"

#include "fakes/FakePrintServices.h"
#include "fakes/FakeServices.h"
#include "fakes/ListViewProbe.h"
#include "fakes/LockHolder.h"
#include "fakes/TempTree.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <unistd.h>

namespace {

QList<frmMain*> openMainWindows() {
    QList<frmMain*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<frmMain*>(widget); window && window->isVisible())
            windows.append(window);
    return windows;
}

void closeMainWindows() {
    for (frmMain* window : openMainWindows())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList piecesOf(const colFileName& list) {
    QStringList pieces;
    for (const auto& entry : list)
        pieces.append(entry->FileName());
    return pieces;
}

// Calls act once on the first message box that shows, while events are served.
void whenBoxShows(const std::function<void(QMessageBox&)>& act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*box);
        }
    });
    timer->start();
}

struct StartServices : FakeServices {
    FakePrintServices print;
};

} // namespace

class tst_basMain : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        closeMainWindows();
        basMain::gcolFileName.reset();
    }

    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("no quote") << "/data/a.xls" << QStringList{"/data/a.xls"};
        QTest::newRow("unquoted blanks stay one piece")
            << "/data/a.xls /data/b.xls" << QStringList{"/data/a.xls /data/b.xls"};
        QTest::newRow("one quoted path") << "\"/data/a.xls\"" << QStringList{"", "/data/a.xls", ""};
        QTest::newRow("two quoted paths")
            << "\"/a b.xls\" \"/c\"" << QStringList{"", "/a b.xls", " ", "/c", ""};
        QTest::newRow("quote never closed") << "\"/a\" \"/b" << QStringList{"", "/a", " ", "/b"};
        QTest::newRow("unquoted then quoted") << "/a \"/b\"" << QStringList{"/a ", "/b", ""};
        QTest::newRow("empty argument") << "\"\"" << QStringList{"", "", ""};
        QTest::newRow("quotes only") << "\"\"\"" << QStringList{"", "", "", ""};
    }
    void split() {
        QFETCH(QString, text);
        QFETCH(QStringList, pieces);
        QCOMPARE(basMain::SplitArgumentText(text), pieces);
    }

    void secondCopyIsRefusedWithItsMessage() {
        TempTree tree;
        const QString lockPath = tree.path("tessaly.lock");
        QProcess firstCopy;
        QVERIFY(holdLockElsewhere(firstCopy, lockPath));

        platform::FlockInstanceLock lock(lockPath);
        FakeServices fakes;
        FakePrintServices print;
        fakes.commandLine.text = QStringLiteral("\"") + tree.file("a.xls") + QStringLiteral("\"");
        FakeMessageBox& messages = fakes.messages;
        platform::Services& services = fakes.services;
        platform::Services withRealLock{lock,
                                        services.commandLine,
                                        services.versionInfo,
                                        services.directorySearch,
                                        services.messageBox,
                                        services.profileFile,
                                        services.shell,
                                        services.programLauncher,
                                        services.registry,
                                        services.endRequests};

        QVERIFY(!basMain::Main(withRealLock, print.services));
        QCOMPARE(messages.shown.size(), std::size_t{1});
        QCOMPARE(
            messages.shown[0].text,
            QStringLiteral("Tessalyは既に起動しています。本ソフトウェアは，多重起動に未対応です。"
                           "\r\n\r\nプログラムの起動を中止します。"));
        QCOMPARE(messages.shown[0].icon, platform::MessageIcon::Stop);
        QCOMPARE(messages.shown[0].title, QStringLiteral("Tessaly"));
        QVERIFY(openMainWindows().isEmpty());
        QVERIFY(basMain::gcolFileName == nullptr);

        firstCopy.kill();
        firstCopy.waitForFinished();
    }

    // SIGTERM while the message is up ends the second copy; OK is pressed only if it does not.
    void secondCopyEndsOnTerminationSignal() {
        TempTree tree;
        const QString lockPath = tree.path("tessaly.lock");
        QProcess firstCopy;
        QVERIFY(holdLockElsewhere(firstCopy, lockPath));
        platform::FlockInstanceLock lock(lockPath);
        platform::QtMessageBox box;
        platform::SignalEndRequests endSignals;
        FakeServices fakes;
        FakePrintServices print;
        platform::Services& services = fakes.services;
        platform::Services realStart{lock,
                                     services.commandLine,
                                     services.versionInfo,
                                     services.directorySearch,
                                     box,
                                     services.profileFile,
                                     services.shell,
                                     services.programLauncher,
                                     services.registry,
                                     endSignals};
        bool pressedOk = false;
        whenBoxShows([](QMessageBox&) { ::kill(::getpid(), SIGTERM); });
        // Only for a failure: the signal is served within the box's first events.
        QTimer::singleShot(60000, [&pressedOk] {
            if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                pressedOk = true;
                shown->accept();
            }
        });

        QVERIFY(!basMain::Main(realStart, print.services));
        QVERIFY(!pressedOk);
        QVERIFY(openMainWindows().isEmpty());

        firstCopy.kill();
        firstCopy.waitForFinished();
    }

    void noArgumentsOpenAnEmptyList() {
        StartServices start;
        QVERIFY(basMain::Main(start.services, start.print.services));
        QVERIFY(start.messages.shown.empty());
        QCOMPARE(basMain::gcolFileName->Count(), 0);
        const auto windows = openMainWindows();
        QCOMPARE(windows.size(), 1);
        QCOMPARE(listViewOf(windows[0])->listItems().Count(), 0);
    }

    // The command line of a start as `tessaly a.xls folder`, through the real argument mapping.
    void commandLinePathsBecomeTickedItems() {
        TempTree tree;
        const QString book = tree.file("a b.xls");
        tree.file("folder/B.XLS");
        tree.file("folder/c.txt");
        const QString folder = tree.path("folder");
        const QByteArray bookArg = book.toUtf8();
        const QByteArray folderArg = folder.toUtf8();
        const char* argv[] = {"tessaly", bookArg.constData(), folderArg.constData()};
        platform::PosixCommandLine realCommandLine(3, argv);

        StartServices start;
        start.commandLine.text = realCommandLine.argumentText();
        QVERIFY(basMain::Main(start.services, start.print.services));

        QCOMPARE(piecesOf(*basMain::gcolFileName), (QStringList{"", book, " ", folder, ""}));
        const auto windows = openMainWindows();
        QCOMPARE(windows.size(), 1);
        QCOMPARE(listedItems(windows[0]),
                 (QList<ListedItem>{{book, true}, {folder + QStringLiteral("/B.XLS"), true}}));
    }

    void unquotedPathWithTrailingBlankIsKeptAsGiven() {
        StartServices start;
        start.commandLine.text = QStringLiteral("/data/a.xls \"/data/b.xls\"");
        QVERIFY(basMain::Main(start.services, start.print.services));
        QCOMPARE(basMain::gcolFileName->Item(1)->FileName(), QStringLiteral("/data/a.xls "));
        QCOMPARE(basMain::gcolFileName->Count(), 3);
    }
};

QTEST_MAIN(tst_basMain)
#include "tst_basMain.moc"
