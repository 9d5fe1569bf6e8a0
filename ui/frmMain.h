#pragma once

#include "ListView.h"

#include "CHourglass.h"
#include "frmPrint.h"
#include "frmPrintProgress.h"

#include "filelist/colFileName.h"
#include "platform/Services.h"
#include "print/PathResult.h"
#include "print/PrintItem.h"
#include "print/PrintRun.h"
#include "print/PrintServices.h"

#include <QTimer>
#include <QWidget>

#include <chrono>
#include <map>
#include <memory>
#include <optional>

class LinkLabel;
class QAction;
class QLabel;
class QMenu;
class QPushButton;

// The main window: the workbook list with its check buttons, context menu and drop handling,
// the About and print buttons and the maker's line.
class frmMain : public QWidget {
    Q_OBJECT
public:
    // How long a print path runs before the window that shows its progress appears.
    static constexpr std::chrono::milliseconds kProgressDelay{500};

    // startupPaths is read once, while the window loads. A request to end the program, from
    // services.endRequests or a quit of the application, ends it at once outside a print
    // command; during one, it stops the command as "中止" does and ends the program after it,
    // without a closing message.
    frmMain(platform::Services& services, PrintServices& printServices,
            std::shared_ptr<colFileName> startupPaths, QWidget* parent = nullptr);
    ~frmMain() override;

    // The path rule: an existing, not hidden ordinary file whose extension is XLS in any case
    // becomes one ticked item; an existing folder adds every "*.xls" file at its top level,
    // each ticked; anything else adds nothing.
    void AddPathToList(const QString& strPath);

    // The options of the last accepted print run.
    bool UsePrinter() const { return blnUsePrinter; }
    QString PrinterName() const { return strPrinterName; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void cmdCheckAll_Click();
    void cmdCheckReset_Click();
    void cmdCheckReverse_Click();
    void cmdAbout_Click();
    void cmdPrint_Click();
    void lblCopyright_Click();
    void ListView1_MouseDown(int button, int shift, int x, int y);
    void ListView1_OLEDragOver(const QMimeData* data, qint32& effect, int button, int shift, int x,
                               int y, int state);
    void ListView1_OLEDragDrop(const QMimeData* data, qint32& effect, int button, int shift, int x,
                               int y);
    void mnuPopupCheck_Click();
    void mnuPopupReset_Click();
    void mnuPopupReverse_Click();
    void mnuPopupRemove_Click();

private:
    void createControls();
    void createPopupMenu();
    void Form_Load();
    void placeWindow();
    void setUpListView();
    void addStartupPaths();
    void addTickedItem(const QString& text);

    // The print command goes on from one step to the next as each call on its thread ends,
    // while this thread serves its events.
    // Starts the test whether a spreadsheet application server can be started and shut down;
    // its answer picks the path.
    void IsExcelInstalled();
    void excelTestEnded();
    void PrintWithExcel();
    void PrintWithReport();
    // The list as the print paths read it, items in order.
    print::PrintItems printItems() const;
    // Starts path for total ticked workbooks, with the progress window once it has run for
    // kProgressDelay; failureText is the path's error message.
    void startPath(qsizetype total, print::PrintRun::Call path, const QString& failureText);
    void pathEnded();
    // Window enabled, busy cursor off, and the program ends when it was asked to.
    void endPrintCommand();
    void requestEnd();

    platform::Services& m_services;
    PrintServices& m_print;
    std::shared_ptr<colFileName> m_startupPaths;

    // The options of the current print run, copied from the print options dialog.
    bool blnUsePrinter = false;
    QString strPrinterName;
    // Made on first use; only hidden between runs, so that its choices persist.
    std::unique_ptr<frmPrint> m_frmPrint;
    // From the print button until the command has ended, closing message included.
    bool m_printRunning = false;
    bool m_endRequested = false;
    std::optional<CHourglass> m_hourglass;
    QString m_failureText;
    // The call on its thread (destroyed first: it waits for that thread), and its window.
    std::unique_ptr<frmPrintProgress> m_progressWindow;
    QTimer m_progressDelay;
    std::unique_ptr<print::PrintRun> m_run;

    QPushButton* cmdCheckAll = nullptr;
    QPushButton* cmdCheckReset = nullptr;
    QPushButton* cmdCheckReverse = nullptr;
    QPushButton* cmdAbout = nullptr;
    ListView* ListView1 = nullptr;
    QPushButton* cmdPrint = nullptr;
    std::map<int, QLabel*> lblCaption;
    LinkLabel* lblCopyright = nullptr;

    QMenu* mnuPopupMenu = nullptr;
    QAction* mnuPopupCheck = nullptr;
    QAction* mnuPopupReset = nullptr;
    QAction* mnuPopupReverse = nullptr;
    QAction* mnuPopupBar1 = nullptr;
    QAction* mnuPopupRemove = nullptr;
    QAction* mnuPopupBar2 = nullptr;
    QAction* mnuPopupClose = nullptr;
};
