#include "platform/FileName.h"
#include "platform/PosixDirectorySearch.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

#include "fakes/FakePrintServices.h"
#include "fakes/FakeServices.h"
#include "fakes/ListViewProbe.h"
#include "fakes/TempTree.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct MainWindowFixture : FakeServices {
    FakePrintServices print;
    std::unique_ptr<frmMain> window;

    explicit MainWindowFixture(const QStringList& startupPaths = {}) {
        auto paths = std::make_shared<colFileName>();
        for (const QString& path : startupPaths)
            paths->Add(path);
        window = std::make_unique<frmMain>(services, print.services, paths);
    }
    ListView* list() const { return listViewOf(window.get()); }
    template <typename T> T* child(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    void select(std::initializer_list<int> rows) const {
        list()->clearSelection();
        for (int row : rows)
            list()->selectionModel()->select(list()->model()->index(row, 0),
                                             QItemSelectionModel::Select);
    }
    void setTicks(std::initializer_list<bool> ticks) const {
        qint32 position = 1;
        for (bool tick : ticks)
            list()->listItems().Item(position++).setChecked(tick);
    }
    QList<bool> ticks() const {
        QList<bool> result;
        for (const ListedItem& item : listedItems(window.get()))
            result.append(item.checked);
        return result;
    }
    QStringList texts() const {
        QStringList result;
        for (const ListedItem& item : listedItems(window.get()))
            result.append(item.text);
        return result;
    }
};

std::unique_ptr<QMimeData> fileListData(const QStringList& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

// Sends the drag the way a drag source does: enter, move, then the drop when it was accepted.
struct DragResult {
    bool enterAccepted;
    bool moveAccepted;
    Qt::DropAction action;
};
DragResult dragOnto(QWidget* target, const QMimeData* data, bool drop) {
    const QPointF at(20, 20);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    if (drop) {
        QDropEvent dropEvent(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                             Qt::NoModifier);
        QApplication::sendEvent(target, &dropEvent);
    }
    return {enter.isAccepted(), move.isAccepted(), move.dropAction()};
}

// Clicks with a button and reports whether the context menu came up, closing it again.
bool clickOpensMenu(QWidget* target, Qt::MouseButton button, QPoint at) {
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            opened = menu->objectName() == QLatin1String("mnuPopupMenu");
            menu->close();
        }
    });
    QTest::mouseClick(target, button, Qt::NoModifier, at);
    QCoreApplication::processEvents();
    return opened;
}

} // namespace

class tst_frmMain : public QObject {
    Q_OBJECT
private slots:
    void windowLayout() {
        MainWindowFixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Tessaly"));
        QCOMPARE(f.window->size(), QSize(632, 453));
        QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
        const Qt::WindowFlags flags = f.window->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

        struct Expected {
            const char* name;
            QString caption;
            QRect geometry;
        };
        const QList<Expected> buttons{
            {"cmdCheckAll", "ﾁｪｯｸﾏｰｸ付加", {312, 8, 89, 25}},
            {"cmdCheckReset", "ﾁｪｯｸﾏｰｸ解除", {408, 8, 89, 25}},
            {"cmdCheckReverse", "ﾁｪｯｸﾏｰｸ反転", {504, 8, 89, 25}},
            {"cmdAbout", "？", {600, 8, 25, 25}},
            {"cmdPrint", "連続印刷実行(&P)", {8, 384, 617, 49}},
        };
        for (const Expected& e : buttons) {
            auto* button = f.child<QPushButton>(e.name);
            QVERIFY2(button, e.name);
            QCOMPARE(button->text(), e.caption);
            QCOMPARE(button->geometry(), e.geometry);
        }
        const QList<Expected> labels{
            {"lblCaption_0",
             "印刷対象のExcelﾌｧｲﾙをﾄﾞﾗｯｸﾞ＆ﾄﾞﾛｯﾌﾟで以下のﾘｽﾄに追加して下さい。",
             {32, 8, 257, 25}},
            {"lblCaption_2", "■", {16, 8, 17, 25}},
            {"lblCopyright", f.version.copyright, {352, 440, 273, 17}},
        };
        for (const Expected& e : labels) {
            auto* label = f.child<QLabel>(e.name);
            QVERIFY2(label, e.name);
            QCOMPARE(label->text(), e.caption);
            QCOMPARE(label->geometry(), e.geometry);
        }
        QCOMPARE(f.list()->geometry(), QRect(8, 40, 617, 337));
    }

    void tabOrder() {
        MainWindowFixture f;
        QStringList order;
        QWidget* widget = f.child<QWidget>("cmdCheckAll");
        for (int i = 0; i < 6; ++i) {
            order.append(widget->objectName());
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !widget->isWidgetType() ||
                   widget->objectName().isEmpty())
                widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, (QStringList{"cmdCheckAll", "cmdCheckReset", "cmdCheckReverse", "cmdAbout",
                                     "ListView1", "cmdPrint"}));
    }

    void placedCentred() {
        MainWindowFixture f;
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(f.window->pos(), QPoint(screen.x() + std::max(0, (screen.width() - 632) / 2),
                                         screen.y() + std::max(0, (screen.height() - 453) / 2)));
    }

    void listSetUp() {
        MainWindowFixture f;
        ListView* list = f.list();
        QCOMPARE(list->model()->columnCount(), 1);
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Excel Files"));
        QCOMPARE(list->header()->sectionSize(0), qRound(0.98 * 617));
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(list->listItems().Count(), 0);
    }

    void contextMenuEntries() {
        MainWindowFixture f;
        auto* menu = f.child<QMenu>("mnuPopupMenu");
        QCOMPARE(menu->title(), QStringLiteral("ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰ"));
        QStringList entries;
        for (QAction* action : menu->actions()) {
            entries.append(action->isSeparator() ? QStringLiteral("-") : action->text());
            QVERIFY(action->isEnabled());
        }
        QCOMPARE(entries, (QStringList{"選択ﾌｧｲﾙにﾁｪｯｸﾏｰｸを付加する", "選択ﾌｧｲﾙのﾁｪｯｸﾏｰｸを解除する",
                                       "選択ﾌｧｲﾙのﾁｪｯｸﾏｰｸを反転する", "-",
                                       "選択ﾌｧｲﾙをﾘｽﾄから除外する", "-", "閉じる"}));
    }

    void startupPathRule() {
        TempTree tree;
        const QString upper = tree.file("REPORT.XLS");
        const QString xlsx = tree.file("new.xlsx");
        const QString noDot = tree.file("xls");
        const QString hidden = tree.file(".secret.xls");
        tree.file("folder/one.xls");
        tree.file("folder/deeper/two.xls");
        tree.file("folder/.hidden.xls");
        const QString folder = tree.path("folder");
        tree.file(".hiddenfolder/three.xls");
        const QString japanese = tree.file("帳票 2005年.xls");

        MainWindowFixture f({QString(), upper, QStringLiteral(" "), xlsx, noDot, hidden,
                             tree.path("missing.xls"), folder, tree.path(".hiddenfolder"), folder,
                             japanese, upper});
        const QString one = folder + QStringLiteral("/one.xls");
        QCOMPARE(f.texts(), (QStringList{upper, one, one, japanese, upper}));
        QCOMPARE(f.ticks(), (QList<bool>{true, true, true, true, true}));
    }

    void startupPathNotUtf8() {
        TempTree tree;
        const QString raw = platform::decodeFileName(tree.rawFile("caf\xe9.xls"));
        MainWindowFixture f({raw, tree.path()});
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.list()->viewport()->repaint();
        QCOMPARE(f.texts(), (QStringList{raw, raw}));
        QCOMPARE(platform::encodeFileName(f.texts()[1]),
                 QFile::encodeName(tree.path()) + "/caf\xe9.xls");
    }

    void checkButtonsActOnEveryItem() {
        TempTree tree;
        MainWindowFixture f({tree.file("a.xls"), tree.file("b.xls"), tree.file("c.xls")});
        f.setTicks({true, false, true});
        f.select({1});
        QTest::mouseClick(f.child<QPushButton>("cmdCheckReverse"), Qt::LeftButton);
        QCOMPARE(f.ticks(), (QList<bool>{false, true, false}));
        QTest::mouseClick(f.child<QPushButton>("cmdCheckReverse"), Qt::LeftButton);
        QCOMPARE(f.ticks(), (QList<bool>{true, false, true}));
        QTest::mouseClick(f.child<QPushButton>("cmdCheckAll"), Qt::LeftButton);
        QCOMPARE(f.ticks(), (QList<bool>{true, true, true}));
        QTest::mouseClick(f.child<QPushButton>("cmdCheckReset"), Qt::LeftButton);
        QCOMPARE(f.ticks(), (QList<bool>{false, false, false}));
    }

    void emptyListCommandsDoNothing() {
        MainWindowFixture f;
        for (const char* name : {"cmdCheckAll", "cmdCheckReset", "cmdCheckReverse"})
            QTest::mouseClick(f.child<QPushButton>(name), Qt::LeftButton);
        for (const char* name :
             {"mnuPopupCheck", "mnuPopupReset", "mnuPopupReverse", "mnuPopupRemove"})
            f.child<QAction>(name)->trigger();
        QCOMPARE(f.list()->listItems().Count(), 0);
    }

    void menuCommandsActOnSelectedItemsOnly() {
        TempTree tree;
        MainWindowFixture f(
            {tree.file("a.xls"), tree.file("b.xls"), tree.file("c.xls"), tree.file("d.xls")});
        f.setTicks({false, true, false, true});
        f.select({0, 1});
        f.child<QAction>("mnuPopupReverse")->trigger();
        QCOMPARE(f.ticks(), (QList<bool>{true, false, false, true}));
        f.child<QAction>("mnuPopupReset")->trigger();
        QCOMPARE(f.ticks(), (QList<bool>{false, false, false, true}));
        f.select({2});
        f.child<QAction>("mnuPopupCheck")->trigger();
        QCOMPARE(f.ticks(), (QList<bool>{false, false, true, true}));
        f.child<QAction>("mnuPopupClose")->trigger();
        QCOMPARE(f.ticks(), (QList<bool>{false, false, true, true}));
    }

    void removeSelectedItems() {
        TempTree tree;
        QStringList paths;
        for (const char* name : {"a.xls", "b.xls", "c.xls", "d.xls", "e.xls", "f.xls"})
            paths.append(tree.file(QLatin1String(name)));
        MainWindowFixture f(paths);
        f.setTicks({true, false, true, false, true, false});
        f.select({1, 2, 4});
        f.child<QAction>("mnuPopupRemove")->trigger();
        QCOMPARE(f.texts(), (QStringList{paths[0], paths[3], paths[5]}));
        QCOMPARE(f.ticks(), (QList<bool>{true, false, false}));
    }

    void rightButtonOpensTheMenuAnywhere() {
        TempTree tree;
        MainWindowFixture f({tree.file("a.xls")});
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QWidget* viewport = f.list()->viewport();
        const QPoint overItem = f.list()->visualRect(f.list()->model()->index(0, 0)).center();
        const QPoint emptyPart(viewport->width() / 2, viewport->height() - 5);
        QVERIFY(clickOpensMenu(viewport, Qt::RightButton, overItem));
        QVERIFY(clickOpensMenu(viewport, Qt::RightButton, emptyPart));
        QVERIFY(clickOpensMenu(f.list()->header(), Qt::RightButton, QPoint(10, 5)));
        QVERIFY(!clickOpensMenu(viewport, Qt::LeftButton, emptyPart));
    }

    void dropOfFilesAndFolders() {
        TempTree tree;
        const QString first = tree.file("first.xls");
        const QString second = tree.file("SECOND.XLS");
        const QString text = tree.file("notes.txt");
        const QString xlsx = tree.file("new.xlsx");
        const QString inFolder = tree.file("folder/inside.xls");
        tree.file("empty/sub/deep.xls");
        MainWindowFixture f({first});
        f.setTicks({false});

        const auto data =
            fileListData({first, second, text, xlsx, tree.path("folder"), tree.path("empty")});
        const DragResult result = dragOnto(f.list()->viewport(), data.get(), true);
        QVERIFY(result.enterAccepted);
        QVERIFY(result.moveAccepted);
        QCOMPARE(result.action, Qt::CopyAction);
        QCOMPARE(f.texts(), (QStringList{first, first, second, inFolder}));
        QCOMPARE(f.ticks(), (QList<bool>{false, true, true, true}));
    }

    void anyFileListShowsTheCopyPointer() {
        TempTree tree;
        MainWindowFixture f;
        const auto data = fileListData({tree.file("notes.txt"), tree.path("no such file")});
        const DragResult result = dragOnto(f.list()->viewport(), data.get(), true);
        QVERIFY(result.enterAccepted);
        QCOMPARE(result.action, Qt::CopyAction);
        QCOMPARE(f.list()->listItems().Count(), 0);
    }

    void dataWithoutFilesIsRefused() {
        TempTree tree;
        MainWindowFixture f;
        QMimeData data;
        data.setText(tree.file("looks-like-a-path.xls"));
        data.setUrls({QUrl(QStringLiteral("https://example.com/book.xls"))});
        const DragResult result = dragOnto(f.list()->viewport(), &data, false);
        QVERIFY(!result.enterAccepted);
        QVERIFY(!result.moveAccepted);
        // A drop that comes anyway adds nothing.
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.list()->viewport(), &drop);
        QCOMPARE(f.list()->listItems().Count(), 0);
    }

    void userTicksWithTheCheckBox() {
        TempTree tree;
        MainWindowFixture f({tree.file("a.xls")});
        const QModelIndex index = f.list()->model()->index(0, 0);
        QVERIFY(index.flags().testFlag(Qt::ItemIsUserCheckable));
        QVERIFY(!index.flags().testFlag(Qt::ItemIsEditable));
        QVERIFY(f.list()->model()->setData(index, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(f.ticks(), QList<bool>{false});
    }

    void aboutButtonShowsAFreshModalBoxEachTime() {
        MainWindowFixture f;
        f.window->show();
        for (int click = 0; click < 2; ++click) {
            bool shownModal = false;
            QTimer::singleShot(0, [&shownModal] {
                auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
                shownModal = box != nullptr && box->isModal() && box->parent() == nullptr;
                if (box)
                    box->accept();
            });
            QTest::mouseClick(f.child<QPushButton>("cmdAbout"), Qt::LeftButton);
            QVERIFY(shownModal);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            bool boxLeft = false;
            for (QWidget* widget : QApplication::topLevelWidgets())
                boxLeft = boxLeft || qobject_cast<frmAbout*>(widget) != nullptr;
            QVERIFY(!boxLeft);
        }
    }

    void makersLineOpensTheWebPage() {
        MainWindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        auto* line = f.child<QLabel>("lblCopyright");
        QCOMPARE(line->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(line->toolTip(), QStringLiteral("有限会社HalvornのWebサイトを表示します。"));
        QTest::mouseClick(line, Qt::LeftButton);
        QCOMPARE(f.shell.calls.size(), std::size_t{1});
        const FakeShell::Call& call = f.shell.calls[0];
        QVERIFY(!call.extended);
        QVERIFY(!call.verb.has_value());
        QCOMPARE(call.file, QByteArray("https://www.halvorn.example/"));
        QCOMPARE(call.show, 10);
        QVERIFY(f.messages.shown.empty());
        // A refusal is not the user's business here: no message.
        f.shell.answer = 31;
        QTest::mouseClick(line, Qt::LeftButton);
        QVERIFY(f.messages.shown.empty());
    }

    void assistiveToolsSeeControlsAndItems() {
        TempTree tree;
        const QString book = tree.file("帳票.xls");
        MainWindowFixture f({book, tree.file("b.xls")});
        f.setTicks({true, false});
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));

        QAccessibleInterface* button =
            QAccessible::queryAccessibleInterface(f.child<QPushButton>("cmdCheckAll"));
        QVERIFY(button);
        QCOMPARE(button->text(QAccessible::Name), QStringLiteral("ﾁｪｯｸﾏｰｸ付加"));
        QAccessibleInterface* label =
            QAccessible::queryAccessibleInterface(f.child<QLabel>("lblCaption_0"));
        QVERIFY(label->text(QAccessible::Name).startsWith(QStringLiteral("印刷対象の")));

        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(f.list());
        QVERIFY(list);
        QAccessibleTableInterface* table = list->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 2);
        QAccessibleInterface* first = table->cellAt(0, 0);
        QAccessibleInterface* second = table->cellAt(1, 0);
        QVERIFY(first && second);
        QCOMPARE(first->text(QAccessible::Name), book);
        QVERIFY(first->state().checkable);
        QVERIFY(first->state().checked);
        QVERIFY(!second->state().checked);
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
