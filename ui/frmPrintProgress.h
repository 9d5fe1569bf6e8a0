#pragma once

#include "print/PrintProgress.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

// The small modeless window that shows where a print run is: which ticked workbook of how
// many is being handed over and the page of it being painted, its file name, a progress bar,
// and a button that stops the run. It has no close button and cannot be closed by the user.
class frmPrintProgress : public QWidget {
    Q_OBJECT
public:
    frmPrintProgress(print::PrintProgress& progress, qsizetype total, QWidget* parent = nullptr);

    // Shows the window centred over owner.
    void showOver(const QWidget& owner);

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void workbookStarted(qsizetype n, qsizetype total, const QString& file);
    void pageStarted(qsizetype n, int page);
    void cmdAbort_Click();

private:
    void createControls();

    print::PrintProgress& m_progress;
    // The workbook being handed over: only its pages are shown.
    qsizetype m_n = 0;
    qsizetype m_total = 0;

    QLabel* lblCount = nullptr;
    QLabel* lblFile = nullptr;
    QProgressBar* barProgress = nullptr;
    QPushButton* cmdAbort = nullptr;
};
