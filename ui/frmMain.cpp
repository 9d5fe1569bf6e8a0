#include "frmMain.h"

#include "Controls.h"

#include "LinkLabel.h"
#include "Placement.h"
#include "Twips.h"
#include "frmAbout.h"

#include "filelist/CGetFiles.h"
#include "filelist/basToolsAp.h"
#include "platform/DropData.h"
#include "print/ExcelPrintPath.h"
#include "print/PrintMessages.h"
#include "print/ReportPrintPath.h"
#include "shell/CShellExecute.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

const QString kMakerWebPage = QStringLiteral("https://www.halvorn.example/");

} // namespace

frmMain::frmMain(platform::Services& services, PrintServices& printServices,
                 std::shared_ptr<colFileName> startupPaths, QWidget* parent)
    : QWidget(parent)
    , m_services(services)
    , m_print(printServices)
    , m_startupPaths(std::move(startupPaths)) {
    setObjectName(QStringLiteral("frmMain"));
    // Fixed single border: a minimize button, no maximize, not resizable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twips(9480), twips(6795));
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/tessaly-%1.png").arg(size));
    setWindowIcon(icon);
    createControls();
    createPopupMenu();
    Form_Load();
    // The source may outlive the window.
    m_services.endRequests.setHandler([window = QPointer<frmMain>(this)] {
        if (window)
            window->requestEnd();
    });
    QCoreApplication::instance()->installEventFilter(this);
    // Short runs end before the progress window would show, and look as they always did.
    m_progressDelay.setSingleShot(true);
    connect(&m_progressDelay, &QTimer::timeout, this,
            [this] { m_progressWindow->showOver(*this); });
    // Only QCoreApplication::exit() ends the event loop during a run. The run's thread must not
    // outlive the services it drives, so it is stopped and its current workbook waited for.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        m_progressDelay.stop();
        m_progressWindow.reset();
        m_run.reset();
    });
}

frmMain::~frmMain() = default;

void frmMain::createControls() {
    // Made in keyboard order, so that the tab order follows it.
    cmdCheckAll = controls::makeButton(this, "cmdCheckAll", QStringLiteral("ﾁｪｯｸﾏｰｸ付加"),
                                       twipsRect(4680, 120, 1335, 375));
    cmdCheckReset = controls::makeButton(this, "cmdCheckReset", QStringLiteral("ﾁｪｯｸﾏｰｸ解除"),
                                         twipsRect(6120, 120, 1335, 375));
    cmdCheckReverse = controls::makeButton(this, "cmdCheckReverse", QStringLiteral("ﾁｪｯｸﾏｰｸ反転"),
                                           twipsRect(7560, 120, 1335, 375));
    cmdAbout = controls::makeButton(this, "cmdAbout", QStringLiteral("？"),
                                    twipsRect(9000, 120, 375, 375));
    ListView1 = new ListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(twipsRect(120, 600, 9255, 5055));
    ListView1->setAccessibleName(QStringLiteral("Excel Files"));
    cmdPrint = controls::makeButton(this, "cmdPrint", QStringLiteral("連続印刷実行(&P)"),
                                    twipsRect(120, 5760, 9255, 735));

    lblCaption[0] = controls::makeLabel(
        this, "lblCaption_0",
        QStringLiteral("印刷対象のExcelﾌｧｲﾙをﾄﾞﾗｯｸﾞ＆ﾄﾞﾛｯﾌﾟで以下のﾘｽﾄに追加して下さい。"),
        twipsRect(480, 120, 3855, 375));
    lblCopyright = new LinkLabel(m_services.versionInfo.legalCopyright(), this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    lblCopyright->setGeometry(twipsRect(5280, 6600, 4095, 255));
    lblCopyright->setToolTip(QStringLiteral("有限会社HalvornのWebサイトを表示します。"));
    lblCaption[2] = controls::makeLabel(this, "lblCaption_2", QStringLiteral("■"),
                                        twipsRect(240, 120, 255, 375));

    setTabOrder(cmdCheckAll, cmdCheckReset);
    setTabOrder(cmdCheckReset, cmdCheckReverse);
    setTabOrder(cmdCheckReverse, cmdAbout);
    setTabOrder(cmdAbout, ListView1);
    setTabOrder(ListView1, cmdPrint);

    connect(cmdCheckAll, &QPushButton::clicked, this, &frmMain::cmdCheckAll_Click);
    connect(cmdCheckReset, &QPushButton::clicked, this, &frmMain::cmdCheckReset_Click);
    connect(cmdCheckReverse, &QPushButton::clicked, this, &frmMain::cmdCheckReverse_Click);
    connect(cmdAbout, &QPushButton::clicked, this, &frmMain::cmdAbout_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmMain::cmdPrint_Click);
    connect(lblCopyright, &LinkLabel::clicked, this, &frmMain::lblCopyright_Click);
    connect(ListView1, &ListView::MouseDown, this, &frmMain::ListView1_MouseDown);
    connect(ListView1, &ListView::OLEDragOver, this, &frmMain::ListView1_OLEDragOver);
    connect(ListView1, &ListView::OLEDragDrop, this, &frmMain::ListView1_OLEDragDrop);
}

void frmMain::createPopupMenu() {
    mnuPopupMenu = new QMenu(QStringLiteral("ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰ"), this);
    mnuPopupMenu->setObjectName(QStringLiteral("mnuPopupMenu"));
    const auto entry = [this](const char* name, const QString& caption) {
        QAction* action = mnuPopupMenu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    const auto bar = [this](const char* name) {
        QAction* action = mnuPopupMenu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };
    mnuPopupCheck = entry("mnuPopupCheck", QStringLiteral("選択ﾌｧｲﾙにﾁｪｯｸﾏｰｸを付加する"));
    mnuPopupReset = entry("mnuPopupReset", QStringLiteral("選択ﾌｧｲﾙのﾁｪｯｸﾏｰｸを解除する"));
    mnuPopupReverse = entry("mnuPopupReverse", QStringLiteral("選択ﾌｧｲﾙのﾁｪｯｸﾏｰｸを反転する"));
    mnuPopupBar1 = bar("mnuPopupBar1");
    mnuPopupRemove = entry("mnuPopupRemove", QStringLiteral("選択ﾌｧｲﾙをﾘｽﾄから除外する"));
    mnuPopupBar2 = bar("mnuPopupBar2");
    mnuPopupClose = entry("mnuPopupClose", QStringLiteral("閉じる"));

    connect(mnuPopupCheck, &QAction::triggered, this, &frmMain::mnuPopupCheck_Click);
    connect(mnuPopupReset, &QAction::triggered, this, &frmMain::mnuPopupReset_Click);
    connect(mnuPopupReverse, &QAction::triggered, this, &frmMain::mnuPopupReverse_Click);
    connect(mnuPopupRemove, &QAction::triggered, this, &frmMain::mnuPopupRemove_Click);
}

void frmMain::Form_Load() {
    controls::guarded([this] { setWindowTitle(m_services.versionInfo.productName()); });
    controls::guarded([this] { placeWindow(); });
    controls::guarded([this] { setUpListView(); });
    addStartupPaths();
}

void frmMain::placeWindow() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.topLeft() + centredPosition(area.size(), size()));
    }
}

void frmMain::setUpListView() {
    ListView1->setMultiSelect(true);
    ListView1->setLabelEdit(false);
    ListView1->clearColumnHeaders();
    ListView1->addColumnHeader(QStringLiteral("Excel Files"), qRound(0.98 * ListView1->width()));
    ListView1->setFullRowSelect(true);
    ListView1->setCheckboxes(true);
    ListView1->listItems().Clear();
}

void frmMain::addStartupPaths() {
    if (!m_startupPaths)
        return;
    for (const auto& entry : *m_startupPaths) {
        const QString path = entry->FileName();
        controls::guarded([this, &path] { AddPathToList(path); });
    }
}

void frmMain::addTickedItem(const QString& text) {
    ListView1->listItems().Add(text).setChecked(true);
}

void frmMain::AddPathToList(const QString& strPath) {
    platform::IDirectorySearch& search = m_services.directorySearch;
    if (search.isOrdinaryFile(strPath)) {
        if (basToolsAp::GetExtName(strPath).toUpper() == QLatin1String("XLS"))
            addTickedItem(strPath);
        return;
    }
    if (!search.isFileOrFolder(strPath))
        return;
    CGetFiles scan(search);
    scan.setFolder(strPath);
    scan.setExtName(QStringLiteral("*.xls"));
    scan.GetFiles();
    for (const auto& found : *scan.Files())
        addTickedItem(found->FileName());
}

void frmMain::cmdCheckAll_Click() {
    for (ListItem item : ListView1->listItems())
        item.setChecked(true);
}

void frmMain::cmdCheckReset_Click() {
    for (ListItem item : ListView1->listItems())
        item.setChecked(false);
}

void frmMain::cmdCheckReverse_Click() {
    for (ListItem item : ListView1->listItems())
        item.setChecked(!item.Checked());
}

void frmMain::cmdAbout_Click() {
    // A fresh box each time, modal, with no owner window.
    frmAbout box(m_services);
    box.exec();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // A run, once started, ends before the window can close.
    if (m_printRunning) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    // The application asked to quit, by a call or by the desktop session ending. During a print
    // command Qt would find this window refusing to close and drop the request.
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit &&
        m_printRunning) {
        requestEnd();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::requestEnd() {
    if (!m_printRunning) {
        // Qt's own way out: every window asked to close, modal ones first.
        QCoreApplication::quit();
        return;
    }
    m_endRequested = true;
    if (m_run)
        m_run->progress().requestAbort();
    // The options dialog or the closing message, whichever is up, closes as on a quit.
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

void frmMain::cmdPrint_Click() {
    m_printRunning = true;
    setEnabled(false);
    // Modal, with no owner window.
    if (!m_frmPrint)
        m_frmPrint = std::make_unique<frmPrint>(m_print.printers);
    m_frmPrint->exec();
    QString result = m_frmPrint->Result();
    if (m_frmPrint->Discarded()) {
        // Closed from its title bar: the next run shows a fresh dialog.
        m_frmPrint.reset();
        result.clear();
    }
    if (result != QLatin1String("Ok") || m_endRequested) {
        endPrintCommand();
        return;
    }
    m_hourglass.emplace(m_print.pointer);
    m_hourglass->setValue(true);
    blnUsePrinter = m_frmPrint->chkPrinterValue() != Qt::Unchecked;
    strPrinterName = m_frmPrint->cboPrinterText();
    if (m_frmPrint->chkVBReportValue() == Qt::Unchecked)
        PrintWithExcel();
    else
        IsExcelInstalled();
}

void frmMain::IsExcelInstalled() {
    // The test server is started and quit on a thread of its own, as a run's server is. The
    // automation object is used by that thread alone until it ends: runs never overlap.
    m_run = std::make_unique<print::PrintRun>(
        [&automation = m_print.automation](print::PrintProgress&) {
            print::PathResult answer;
            if (!print::IsExcelInstalled(automation))
                answer.outcome = print::PathResult::Outcome::Failed;
            return answer;
        });
    connect(m_run.get(), &print::PrintRun::ended, this, &frmMain::excelTestEnded);
    m_run->start();
}

void frmMain::excelTestEnded() {
    const bool installed = m_run->result().outcome == print::PathResult::Outcome::Completed;
    m_run.reset();
    if (m_endRequested)
        endPrintCommand();
    else if (installed)
        PrintWithExcel();
    else
        PrintWithReport();
}

// The paths get copies of the list and the options; the services they drive are used by the
// path's thread alone until it ends, since runs never overlap.
void frmMain::PrintWithExcel() {
    const print::PrintItems items = printItems();
    startPath(
        print::tickedCount(items),
        [&automation = m_print.automation, items, usePrinter = blnUsePrinter,
         printer = strPrinterName](print::PrintProgress& progress) {
            return print::PrintWithExcel(automation, items, usePrinter, printer, progress);
        },
        print::excelFailureMessage());
}

void frmMain::PrintWithReport() {
    const print::PrintItems items = printItems();
    startPath(
        print::tickedCount(items),
        [&engine = m_print.engine, &reportPrinter = m_print.reportPrinter,
         &threads = m_print.reportThreads, items, usePrinter = blnUsePrinter,
         printer = strPrinterName](print::PrintProgress& progress) {
            return print::PrintWithReport(engine, reportPrinter, items, usePrinter, printer,
                                          progress, threads);
        },
        print::reportFailureMessage());
}

print::PrintItems frmMain::printItems() const {
    print::PrintItems items;
    for (ListItem item : ListView1->listItems())
        items.append({item.Text(), item.Checked()});
    return items;
}

void frmMain::startPath(qsizetype total, print::PrintRun::Call path, const QString& failureText) {
    m_failureText = failureText;
    m_run = std::make_unique<print::PrintRun>(std::move(path));
    m_progressWindow = std::make_unique<frmPrintProgress>(m_run->progress(), total);
    m_progressDelay.start(kProgressDelay);
    connect(m_run.get(), &print::PrintRun::ended, this, &frmMain::pathEnded);
    m_run->start();
}

void frmMain::pathEnded() {
    m_progressDelay.stop();
    m_progressWindow.reset();
    const print::PathResult result = m_run->result();
    m_run.reset();
    print::writeDiagnostics(result);
    // Asked to end, the program ends without a message that would wait for OK.
    if (!m_endRequested)
        print::showOutcome(m_services.messageBox, m_services.versionInfo.productName(), result,
                           m_failureText);
    endPrintCommand();
}

void frmMain::endPrintCommand() {
    setEnabled(true);
    // The default pointer comes back as the busy cursor goes, after the window is enabled.
    m_hourglass.reset();
    m_printRunning = false;
    if (m_endRequested)
        QMetaObject::invokeMethod(QCoreApplication::instance(), "quit", Qt::QueuedConnection);
}

void frmMain::lblCopyright_Click() {
    CShellExecute shell(m_services.shell, m_services.messageBox);
    shell.LaunchURL(static_cast<qint32>(winId()), kMakerWebPage, CShellExecute::SW_SHOWDEFAULT);
}

void frmMain::ListView1_MouseDown(int button, int /*shift*/, int /*x*/, int /*y*/) {
    if (button == ListView::kRightButton)
        mnuPopupMenu->exec(QCursor::pos());
}

void frmMain::ListView1_OLEDragOver(const QMimeData* data, qint32& effect, int /*button*/,
                                    int /*shift*/, int /*x*/, int /*y*/, int /*state*/) {
    effect = data != nullptr && platform::offersFileList(*data) ? ListView::kDropEffectCopy
                                                                : ListView::kDropEffectNone;
}

void frmMain::ListView1_OLEDragDrop(const QMimeData* data, qint32& /*effect*/, int /*button*/,
                                    int /*shift*/, int /*x*/, int /*y*/) {
    if (data == nullptr || !platform::offersFileList(*data))
        return;
    for (const QString& path : platform::dropFileList(*data))
        AddPathToList(path);
}

void frmMain::mnuPopupCheck_Click() {
    for (ListItem item : ListView1->listItems())
        if (item.Selected())
            item.setChecked(true);
}

void frmMain::mnuPopupReset_Click() {
    for (ListItem item : ListView1->listItems())
        if (item.Selected())
            item.setChecked(false);
}

void frmMain::mnuPopupReverse_Click() {
    for (ListItem item : ListView1->listItems())
        if (item.Selected())
            item.setChecked(!item.Checked());
}

void frmMain::mnuPopupRemove_Click() {
    ListItems& items = ListView1->listItems();
    // Backwards, so that the positions not yet visited stay valid.
    for (qint32 i = items.Count(); i >= 1; --i)
        if (items.Item(i).Selected())
            items.Remove(i);
}
