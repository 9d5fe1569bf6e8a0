// The print command through the main window, against recording fakes of the application
// server, the engine and the report printer.

#include "RunDriver.h"

#include "print/PrintMessages.h"
#include "ui/frmPrintProgress.h"

#include "fakes/FakePrintServices.h"
#include "fakes/FakeServices.h"

#include <QLabel>
#include <QProgressBar>
#include <QTemporaryFile>
#include <QTest>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <unistd.h>

namespace {

using Finish = DialogChoice::Finish;
using Shape = platform::IMousePointer::Shape;
using Shapes = std::vector<Shape>;

const QString kCreate = QStringLiteral("createObject Excel.Application");
// What the report path asks of the report printer for each workbook after its printer.
const QStringList kJobSteps{QStringLiteral("XlsReport1.TakeJob"),
                            QStringLiteral("XlsReport1.Render"),
                            QStringLiteral("XlsReport1.Submit")};

struct RunFixture : FakeServices {
    FakePrintServices print;
    std::unique_ptr<frmMain> window;

    RunFixture() {
        print.printers.names = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        print.printers.defaultName = QStringLiteral("B");
        window = std::make_unique<frmMain>(services, print.services, nullptr);
        window->show();
    }
    void list(std::initializer_list<std::pair<const char*, bool>> items) const {
        ListItems& listed = window->findChild<ListView*>(QStringLiteral("ListView1"))->listItems();
        for (const auto& [text, ticked] : items)
            listed.Add(QString::fromUtf8(text)).setChecked(ticked);
    }
    DialogSeen press(const DialogChoice& choice) { return pressPrint(*window, choice); }
    QStringList calls() { return print.log().taken(); }
    // The messages shown, as "icon: text" lines; every one must carry the product name.
    QStringList shownMessages() const {
        QStringList lines;
        for (const auto& shown : messages.shown) {
            if (shown.title != QLatin1String("Tessaly"))
                lines.append(QStringLiteral("wrong title ") + shown.title);
            const char* icon = shown.icon == platform::MessageIcon::Stop          ? "stop"
                               : shown.icon == platform::MessageIcon::Information ? "info"
                                                                                  : "none";
            lines.append(QString::fromLatin1(icon) + QStringLiteral(": ") + shown.text);
        }
        return lines;
    }
};

// The last diagnostics line that action wrote to this process's standard error, or empty.
QString lastDiagnosticOf(const std::function<void()>& action) {
    QTemporaryFile file;
    if (!file.open())
        return QStringLiteral("no temporary file");
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(file.handle(), STDERR_FILENO);
    action();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    QFile written(file.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable");
    QString last;
    for (const QByteArray& line : written.readAll().split('\n')) {
        if (line.startsWith("tessaly: "))
            last = QString::fromUtf8(line);
    }
    return last;
}

QString info(const QString& text) {
    return QStringLiteral("info: ") + text;
}
QString stop(const QString& text) {
    return QStringLiteral("stop: ") + text;
}

// The calls of the application path for one workbook.
QStringList excelCalls(const QString& path, const QString& printer = QStringLiteral("-")) {
    return {QStringLiteral("Workbooks"), QStringLiteral("Open ") + path,
            QStringLiteral("PrintOut 1 true ") + printer, QStringLiteral("Close false")};
}

} // namespace

class tst_printRun : public QObject {
    Q_OBJECT
private slots:
    void cancelAndTitleBarPrintNothing_data() {
        QTest::addColumn<Finish>("finish");
        QTest::newRow("cancel") << Finish::Cancel;
        QTest::newRow("title bar") << Finish::TitleBar;
    }
    void cancelAndTitleBarPrintNothing() {
        QFETCH(Finish, finish);
        RunFixture f;
        f.list({{"/w/a.xls", true}});
        const DialogSeen seen = f.press({.usePrinter = true, .finish = finish});
        QVERIFY(!seen.mainWindowEnabled);
        QVERIFY(f.window->isEnabled());
        QCOMPARE(f.calls(), QStringList());
        QCOMPARE(f.shownMessages(), QStringList());
        QCOMPARE(f.print.pointer.settings, Shapes());
        QVERIFY(!f.window->UsePrinter());
        QCOMPARE(f.window->PrinterName(), QString());
    }

    void dialogChoicesLastUntilTheTitleBarCloses() {
        RunFixture f;
        f.press({.usePrinter = true, .printer = QStringLiteral("C"), .finish = Finish::Ok});
        QVERIFY(f.window->UsePrinter());
        QCOMPARE(f.window->PrinterName(), QStringLiteral("C"));

        // A cancelled dialog keeps the user's changes for the next run, but not for the members.
        f.press({.usePrinter = false,
                 .printer = QStringLiteral("A"),
                 .withoutExcel = false,
                 .finish = Finish::Cancel});
        QVERIFY(f.window->UsePrinter());
        QCOMPARE(f.window->PrinterName(), QStringLiteral("C"));
        DialogSeen seen = f.press({.finish = Finish::TitleBar});
        QCOMPARE(seen.usePrinter, Qt::Unchecked);
        QCOMPARE(seen.printer, QStringLiteral("A"));
        QCOMPARE(seen.withoutExcel, Qt::Unchecked);

        // After the title bar, a fresh dialog with the printers asked anew.
        f.print.printers.names.append(QStringLiteral("D"));
        seen = f.press({.finish = Finish::Cancel});
        QCOMPARE(seen.usePrinter, Qt::Unchecked);
        QCOMPARE(seen.printer, QStringLiteral("B"));
        QCOMPARE(seen.withoutExcel, Qt::Checked);
        QCOMPARE(f.window->findChild<QWidget*>()->window(), f.window.get());
        seen = f.press({.printer = QStringLiteral("D"), .finish = Finish::Ok});
        QCOMPARE(f.window->PrinterName(), QStringLiteral("D"));
    }

    void pathTable_data() {
        QTest::addColumn<bool>("withoutExcel");
        QTest::addColumn<bool>("serverStarts");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("message");
        const QStringList excelRun = QStringList{kCreate, QStringLiteral("Visible false")} +
                                     excelCalls(QStringLiteral("/w/a.xls")) +
                                     QStringList{QStringLiteral("Quit")};
        const QStringList reportRun = QStringList{QStringLiteral("Xls1.Open /w/a.xls"),
                                                  QStringLiteral("Xls1.SheetCount"),
                                                  QStringLiteral("Xls1.SheetName 0"),
                                                  QStringLiteral("Xls1.Close"),
                                                  QStringLiteral("XlsReport1.File /w/a.xls"),
                                                  QStringLiteral("XlsReport1.StartSheets"),
                                                  QStringLiteral("XlsReport1.AddSheet [S] []"),
                                                  QStringLiteral("XlsReport1.CommitSheet")} +
                                      kJobSteps;
        const QStringList test{kCreate, QStringLiteral("Visible false"), QStringLiteral("Quit")};
        QTest::newRow("unticked, server starts")
            << false << true << excelRun << QStringList{info(print::startedMessage())};
        QTest::newRow("unticked, no server") << false << false << QStringList{kCreate}
                                             << QStringList{stop(print::excelFailureMessage())};
        QTest::newRow("ticked, server starts")
            << true << true << test + excelRun << QStringList{info(print::startedMessage())};
        QTest::newRow("ticked, no server") << true << false << QStringList{kCreate} + reportRun
                                           << QStringList{info(print::startedMessage())};
    }
    void pathTable() {
        QFETCH(bool, withoutExcel);
        QFETCH(bool, serverStarts);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, message);
        RunFixture f;
        f.print.engine.sheets[QStringLiteral("/w/a.xls")] = QStringList{QStringLiteral("S")};
        if (!serverStarts)
            f.print.log().failing.append(kCreate);
        f.list({{"/w/a.xls", true}});
        f.press({.withoutExcel = withoutExcel});
        QCOMPARE(f.calls(), expected);
        QCOMPARE(f.shownMessages(), message);
        QVERIFY(f.window->isEnabled());
        QCOMPARE(f.print.pointer.settings, Shapes({Shape::Wait, Shape::Default}));
    }

    void failedPresenceTestSaysWhyOnStandardError() {
        RunFixture f;
        f.print.log().failing.append(kCreate);
        const QString line = lastDiagnosticOf([&] { f.press({.withoutExcel = true}); });
        QVERIFY2(line.contains(QStringLiteral("the report path prints: no server")),
                 qPrintable(line));
    }

    void excelPathPrintsTickedItemsInOrder() {
        RunFixture f;
        f.list({{"/w/a.xls", true}, {"/w/b.xls", false}, {"/w/c d.xls", true}});
        f.press({.usePrinter = false, .printer = QStringLiteral("C"), .withoutExcel = false});
        QCOMPARE(f.calls(),
                 (QStringList{kCreate, QStringLiteral("Visible false")} +
                  excelCalls(QStringLiteral("/w/a.xls")) +
                  excelCalls(QStringLiteral("/w/c d.xls")) + QStringList{QStringLiteral("Quit")}));
        QCOMPARE(f.shownMessages(), QStringList{info(print::startedMessage())});

        // The chosen printer by name, exactly as listed, only when asked for.
        f.print.log().calls.clear();
        f.press({.usePrinter = true});
        QCOMPARE(f.calls(), (QStringList{kCreate, QStringLiteral("Visible false")} +
                             excelCalls(QStringLiteral("/w/a.xls"), QStringLiteral("[C]")) +
                             excelCalls(QStringLiteral("/w/c d.xls"), QStringLiteral("[C]")) +
                             QStringList{QStringLiteral("Quit")}));
        // Ticks are read at each run, and left as they were.
        QCOMPARE(f.window->findChild<ListView*>()->listItems().Item(2).Checked(), false);
    }

    void reportPathCallOrder() {
        RunFixture f;
        f.print.log().failing.append(kCreate);
        f.print.engine.sheets[QStringLiteral("/w/a.xls")] =
            QStringList{QStringLiteral("Zeta"), QStringLiteral("Alpha"), QStringLiteral("表")};
        f.print.engine.sheets[QStringLiteral("/w/empty.xls")] = QStringList{};
        f.list({{"/w/a.xls", true}, {"/w/skip.xls", false}, {"/w/empty.xls", true}});
        f.press({.usePrinter = true, .printer = QStringLiteral("A")});
        const QStringList expected = QStringList{kCreate,
                                                 QStringLiteral("Xls1.Open /w/a.xls"),
                                                 QStringLiteral("Xls1.SheetCount"),
                                                 QStringLiteral("Xls1.SheetName 0"),
                                                 QStringLiteral("Xls1.SheetName 1"),
                                                 QStringLiteral("Xls1.SheetName 2"),
                                                 QStringLiteral("Xls1.Close"),
                                                 QStringLiteral("XlsReport1.File /w/a.xls"),
                                                 QStringLiteral("XlsReport1.StartSheets"),
                                                 QStringLiteral("XlsReport1.AddSheet [Zeta] []"),
                                                 QStringLiteral("XlsReport1.CommitSheet"),
                                                 QStringLiteral("XlsReport1.AddSheet [Alpha] []"),
                                                 QStringLiteral("XlsReport1.CommitSheet"),
                                                 QStringLiteral("XlsReport1.AddSheet [表] []"),
                                                 QStringLiteral("XlsReport1.CommitSheet"),
                                                 QStringLiteral("XlsReport1.SelectPrinter 0 [A]")} +
                                     kJobSteps +
                                     QStringList{QStringLiteral("Xls1.Open /w/empty.xls"),
                                                 QStringLiteral("Xls1.SheetCount"),
                                                 QStringLiteral("Xls1.Close"),
                                                 QStringLiteral("XlsReport1.File /w/empty.xls"),
                                                 QStringLiteral("XlsReport1.StartSheets"),
                                                 QStringLiteral("XlsReport1.SelectPrinter 0 [A]")} +
                                     kJobSteps;
        QCOMPARE(f.calls(), expected);
        QCOMPARE(f.shownMessages(), QStringList{info(print::startedMessage())});

        f.print.log().calls.clear();
        f.press({.usePrinter = false});
        QVERIFY(!f.calls().join(u'\n').contains(QStringLiteral("SelectPrinter")));
        QVERIFY(f.calls().endsWith(QStringLiteral("XlsReport1.Submit")));
    }

    void noTickedItemStillRunsThePath() {
        RunFixture f;
        f.list({{"/w/a.xls", false}});
        f.press({.withoutExcel = false});
        QCOMPARE(f.calls(), QStringList({kCreate, "Visible false", "Quit"}));
        QCOMPARE(f.shownMessages(), QStringList{info(print::startedMessage())});

        f.print.log().calls.clear();
        f.print.log().failing.append(kCreate);
        f.press({.withoutExcel = true});
        QCOMPARE(f.calls(), (QStringList{kCreate}));
        QCOMPARE(f.shownMessages(),
                 QStringList({info(print::startedMessage()), info(print::startedMessage())}));
    }

    void firstFailureEndsTheRun_data() {
        QTest::addColumn<bool>("report");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("open") << false << "Open /w/b.xls"
                              << QStringList({"Workbooks", "Open /w/b.xls", "Quit"});
        QTest::newRow("print") << false << "PrintOut 1 true [B]"
                               << QStringList({"Open /w/a.xls", "PrintOut 1 true [B]",
                                               "Close false", "Quit"});
        QTest::newRow("close") << false << "Close false"
                               << QStringList({"Close false", "Close false", "Quit"});
        QTest::newRow("visible") << false << "Visible false"
                                 << QStringList({kCreate, "Visible false", "Quit"});
        QTest::newRow("engine open")
            << true << "Xls1.Open /w/b.xls" << QStringList({"Xls1.Open /w/b.xls", "Xls1.Close"});
        QTest::newRow("sheet name")
            << true << "Xls1.SheetName 1"
            << QStringList({"Xls1.SheetName 0", "Xls1.SheetName 1", "Xls1.Close"});
        QTest::newRow("printer") << true << "XlsReport1.SelectPrinter 0 [B]"
                                 << QStringList({"XlsReport1.SelectPrinter 0 [B]", "Xls1.Close"});
        QTest::newRow("take job") << true << "XlsReport1.TakeJob"
                                  << QStringList({"XlsReport1.TakeJob", "Xls1.Close"});
        QTest::newRow("render") << true << "XlsReport1.Render"
                                << QStringList(
                                       {"XlsReport1.TakeJob", "XlsReport1.Render", "Xls1.Close"});
        QTest::newRow("submit") << true << "XlsReport1.Submit"
                                << QStringList(
                                       {"XlsReport1.Render", "XlsReport1.Submit", "Xls1.Close"});
    }
    void firstFailureEndsTheRun() {
        QFETCH(bool, report);
        QFETCH(QString, failing);
        QFETCH(QStringList, tail);
        RunFixture f;
        for (const char* path : {"/w/a.xls", "/w/b.xls", "/w/c.xls"})
            f.print.engine.sheets[QString::fromLatin1(path)] = QStringList({"one", "two"});
        if (report)
            f.print.log().failing.append(kCreate);
        f.print.log().failing.append(failing);
        f.list({{"/w/a.xls", true}, {"/w/b.xls", true}, {"/w/c.xls", true}});
        f.press({.usePrinter = true, .withoutExcel = report});

        const QStringList calls = f.calls();
        QVERIFY2(calls.size() >= tail.size() && calls.mid(calls.size() - tail.size()) == tail,
                 qPrintable(calls.join(u'\n')));
        QVERIFY(!calls.join(u'\n').contains(QStringLiteral("/w/c.xls")));
        QCOMPARE(f.shownMessages(), QStringList{stop(report ? print::reportFailureMessage()
                                                            : print::excelFailureMessage())});
        QVERIFY(f.window->isEnabled());
        QCOMPARE(f.print.pointer.settings, Shapes({Shape::Wait, Shape::Default}));
    }

    // The message names neither workbook nor cause; standard error names the workbook only when
    // the path was handing one over.
    void diagnosticsNameTheFailingStep_data() {
        QTest::addColumn<bool>("report");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("line");
        QTest::newRow("none") << false << ""
                              << "";
        QTest::newRow("server start") << false << "Visible false"
                                      << "tessaly: printing could not start: refused Visible false";
        QTest::newRow("workbook") << false << "Open /w/b.xls"
                                  << "tessaly: printing stopped at /w/b.xls: cannot open /w/b.xls";
        QTest::newRow("final quit")
            << false << "Quit"
            << "tessaly: the spreadsheet application failed to quit after printing: refused Quit";
        QTest::newRow("report workbook")
            << true << "Xls1.Open /w/b.xls"
            << "tessaly: printing stopped at /w/b.xls: cannot read /w/b.xls";
    }
    void diagnosticsNameTheFailingStep() {
        QFETCH(bool, report);
        QFETCH(QString, failing);
        QFETCH(QString, line);
        RunFixture f;
        for (const char* path : {"/w/a.xls", "/w/b.xls"})
            f.print.engine.sheets[QString::fromLatin1(path)] = QStringList({"one"});
        if (report)
            f.print.log().failing.append(kCreate);
        f.print.log().failing.append(failing);
        f.list({{"/w/a.xls", true}, {"/w/b.xls", true}});
        QCOMPARE(lastDiagnosticOf([&f, report] { f.press({.withoutExcel = report}); }), line);
    }

    // A quit of the application, or a termination signal, during a run acts as "中止": the
    // workbook being printed finishes, the server quits, and the program ends without a message.
    // This thread goes on serving events meanwhile, never waiting for the rest of the list.
    void endRequestDuringARun_data() {
        QTest::addColumn<bool>("bySignal");
        QTest::newRow("QCoreApplication::quit") << false;
        QTest::newRow("termination signal") << true;
    }
    void endRequestDuringARun() {
        QFETCH(bool, bySignal);
        RunFixture f;
        f.list({{"/w/a.xls", true}, {"/w/b.xls", true}, {"/w/c.xls", true}});
        std::atomic<bool> holding = false;
        std::promise<void> gate;
        std::shared_future<void> released = gate.get_future().share();
        // Written by the printing thread, read once the program has quit and that thread ended.
        std::future_status held = std::future_status::deferred;
        f.print.log().hook = [&](const QString& call) {
            if (call == QLatin1String("PrintOut 1 true -")) {
                holding = true;
                held = released.wait_for(std::chrono::seconds(60));
            }
        };
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!holding)
                return;
            poll.stop();
            if (bySignal)
                f.endRequests.request();
            else
                QCoreApplication::quit();
            // Runs only while this thread serves events after the request.
            QTimer::singleShot(0, [&gate] { gate.set_value(); });
        });
        QTimer::singleShot(0, [&] {
            startPrint(*f.window, {.withoutExcel = false});
            poll.start(10);
        });
        // Only a bound for a failure: the run ends within moments.
        QTimer giveUp;
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        giveUp.start(std::chrono::minutes(2));

        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(held, std::future_status::ready);
        QCOMPARE(f.calls(),
                 (QStringList{kCreate, QStringLiteral("Visible false")} +
                  excelCalls(QStringLiteral("/w/a.xls")) + QStringList{QStringLiteral("Quit")}));
        QCOMPARE(f.shownMessages(), QStringList());
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.print.pointer.settings, Shapes({Shape::Wait, Shape::Default}));
    }

    // The window stays alive during a run: the progress window shows where the run is, its
    // button stops the run after the workbook being printed, and closing the main window waits.
    void progressWindowAndAbort() {
        RunFixture f;
        f.list(
            {{"/w/a.xls", true}, {"/w/skip.xls", false}, {"/w/b.xls", true}, {"/w/c.xls", true}});
        std::promise<void> gate;
        std::shared_future<void> opened = gate.get_future().share();
        f.print.log().hook = [opened](const QString& call) {
            if (call == QLatin1String("PrintOut 1 true -"))
                opened.wait_for(std::chrono::seconds(60));
        };
        QString count;
        QString file;
        int barValue = -1;
        int barMaximum = -1;
        bool closed = true;
        bool enabled = true;
        whenShown<frmPrintProgress>([&](frmPrintProgress& progress) {
            // The first workbook is being handed over: the labels catch up with it.
            QTRY_VERIFY_WITH_TIMEOUT(
                progress.findChild<QLabel*>(QStringLiteral("lblFile"))->text() ==
                    QLatin1String("a.xls"),
                30000);
            QCOMPARE(progress.windowTitle(), QStringLiteral("連続印刷実行...."));
            QVERIFY(!progress.windowFlags().testFlag(Qt::WindowCloseButtonHint));
            count = progress.findChild<QLabel*>(QStringLiteral("lblCount"))->text();
            file = progress.findChild<QLabel*>(QStringLiteral("lblFile"))->text();
            barValue = progress.findChild<QProgressBar*>()->value();
            barMaximum = progress.findChild<QProgressBar*>()->maximum();
            enabled = f.window->isEnabled();
            closed = f.window->close();
            QVERIFY(!progress.close());
            QPushButton* abort = progress.findChild<QPushButton*>(QStringLiteral("cmdAbort"));
            QCOMPARE(abort->text(), QStringLiteral("中止(&A)"));
            abort->click();
            gate.set_value();
        });
        f.press({.withoutExcel = false});

        QCOMPARE(count, QStringLiteral("印刷中 1 / 3"));
        QCOMPARE(file, QStringLiteral("a.xls"));
        QCOMPARE(barValue, 0);
        QCOMPARE(barMaximum, 3);
        QVERIFY(!enabled);
        QVERIFY(!closed);
        QVERIFY(f.window->isVisible());
        // The workbook being printed finished; nothing after it was opened.
        QCOMPARE(f.calls(),
                 (QStringList{kCreate, QStringLiteral("Visible false")} +
                  excelCalls(QStringLiteral("/w/a.xls")) + QStringList{QStringLiteral("Quit")}));
        QCOMPARE(f.shownMessages(), QStringList{info(print::abortedMessage())});
        QCOMPARE(f.print.pointer.settings, Shapes({Shape::Wait, Shape::Default}));
        QVERIFY(f.window->isEnabled());
        const auto left = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(left.begin(), left.end(), [](QWidget* widget) {
            return qobject_cast<frmPrintProgress*>(widget) != nullptr && widget->isVisible();
        }));
        // Closing works again once the run is over.
        QVERIFY(f.window->close());
    }

    void reportPathAbortClosesNothingOpen() {
        RunFixture f;
        f.print.log().failing.append(kCreate);
        f.print.engine.sheets[QStringLiteral("/w/a.xls")] = QStringList{QStringLiteral("S")};
        f.print.engine.sheets[QStringLiteral("/w/b.xls")] = QStringList{QStringLiteral("S")};
        f.list({{"/w/a.xls", true}, {"/w/b.xls", true}});
        std::promise<void> gate;
        std::shared_future<void> printing = gate.get_future().share();
        f.print.log().hook = [printing](const QString& call) {
            if (call == QLatin1String("XlsReport1.Submit"))
                printing.wait_for(std::chrono::seconds(60));
        };
        QString count;
        whenShown<frmPrintProgress>([&](frmPrintProgress& progress) {
            QTRY_VERIFY_WITH_TIMEOUT(
                !progress.findChild<QLabel*>(QStringLiteral("lblFile"))->text().isEmpty(), 30000);
            count = progress.findChild<QLabel*>(QStringLiteral("lblCount"))->text();
            progress.findChild<QPushButton*>(QStringLiteral("cmdAbort"))->click();
            gate.set_value();
        });
        f.press({});
        QCOMPARE(count, QStringLiteral("印刷中 1 / 2"));
        QVERIFY(f.calls().endsWith(QStringLiteral("XlsReport1.Submit")));
        QVERIFY(!f.calls().join(u'\n').contains(QStringLiteral("/w/b.xls")));
        QCOMPARE(f.shownMessages(), QStringList{info(print::abortedMessage())});
    }
};

QTEST_MAIN(tst_printRun)
#include "tst_printRun.moc"
