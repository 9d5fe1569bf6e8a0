#pragma once

#include "ListView.h"

#include "filelist/colFileName.h"
#include "platform/Services.h"

#include <QWidget>

#include <map>
#include <memory>

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
    // startupPaths is read once, while the window loads.
    frmMain(platform::Services& services, std::shared_ptr<colFileName> startupPaths,
            QWidget* parent = nullptr);

    // The path rule: an existing, not hidden ordinary file whose extension is XLS in any case
    // becomes one ticked item; an existing folder adds every "*.xls" file at its top level,
    // each ticked; anything else adds nothing.
    void AddPathToList(const QString& strPath);

private slots:
    void cmdCheckAll_Click();
    void cmdCheckReset_Click();
    void cmdCheckReverse_Click();
    void cmdAbout_Click();
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

    platform::Services& m_services;
    std::shared_ptr<colFileName> m_startupPaths;

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
