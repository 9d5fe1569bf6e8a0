#pragma once

#include "office/IPrinterDirectory.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The print options dialog: whether to print on a printer chosen from the installed ones, and
// whether to print without the spreadsheet application. OK and Cancel only hide it, so that the
// next run shows the same choices; closing it from the title bar discards it.
class frmPrint : public QDialog {
    Q_OBJECT
public:
    explicit frmPrint(const office::IPrinterDirectory& printers, QWidget* parent = nullptr);

    // "Ok" after OK, "Cancel" after Cancel, empty before either and after the title bar's close.
    QString Result() const { return m_Result; }
    // Whether the dialog was closed from its title bar; its owner then discards it.
    bool Discarded() const { return m_discarded; }

    Qt::CheckState chkPrinterValue() const;
    // The text of the selected printer; empty when none is selected.
    QString cboPrinterText() const;
    Qt::CheckState chkVBReportValue() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void cmdOk_Click();
    void cmdCancel_Click();

private:
    void createControls();
    void Form_Load();
    void placeWindow();
    void fillPrinterList();

    const office::IPrinterDirectory& m_printers;
    QString m_Result;
    bool m_discarded = false;

    QCheckBox* chkPrinter = nullptr;
    QComboBox* cboPrinter = nullptr;
    QCheckBox* chkVBReport = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* lblPrinter = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* lblCaption = nullptr;
};
