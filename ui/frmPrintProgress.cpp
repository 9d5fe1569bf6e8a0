#include "frmPrintProgress.h"

#include "Twips.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>

namespace {

QString countText(qsizetype n, qsizetype total) {
    return QStringLiteral("印刷中 %1 / %2").arg(n).arg(total);
}

QString pageText(qsizetype n, qsizetype total, int page) {
    return countText(n, total) + QStringLiteral("　%1ページ目").arg(page);
}

} // namespace

frmPrintProgress::frmPrintProgress(print::PrintProgress& progress, qsizetype total, QWidget* parent)
    : QWidget(parent)
    , m_progress(progress) {
    setObjectName(QStringLiteral("frmPrintProgress"));
    setWindowTitle(QStringLiteral("連続印刷実行...."));
    // A title bar without a close, minimize or maximize button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(twips(5400), twips(1860));
    createControls();
    barProgress->setRange(0, static_cast<int>(total));
    lblCount->setText(countText(0, total));
    m_total = total;
    connect(&m_progress, &print::PrintProgress::workbookStarted, this,
            &frmPrintProgress::workbookStarted);
    connect(&m_progress, &print::PrintProgress::pageStarted, this, &frmPrintProgress::pageStarted);
}

void frmPrintProgress::createControls() {
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblCount->setGeometry(twipsRect(240, 180, 4920, 255));

    lblFile = new QLabel(this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->setGeometry(twipsRect(240, 480, 4920, 255));
    lblFile->setTextFormat(Qt::PlainText);

    barProgress = new QProgressBar(this);
    barProgress->setObjectName(QStringLiteral("barProgress"));
    barProgress->setGeometry(twipsRect(240, 840, 4920, 300));
    barProgress->setTextVisible(false);

    cmdAbort = new QPushButton(QStringLiteral("中止(&A)"), this);
    cmdAbort->setObjectName(QStringLiteral("cmdAbort"));
    cmdAbort->setGeometry(twipsRect(3825, 1320, 1335, 375));

    connect(cmdAbort, &QPushButton::clicked, this, &frmPrintProgress::cmdAbort_Click);
}

void frmPrintProgress::showOver(const QWidget& owner) {
    const QRect frame = owner.frameGeometry();
    move(frame.center() - QPoint(width() / 2, height() / 2));
    // Kept above the owner by the window manager, without being its child: the owner is
    // disabled during the run, and a child window would be disabled with it.
    winId();
    if (QWindow* window = windowHandle(); window != nullptr && owner.windowHandle() != nullptr)
        window->setTransientParent(owner.windowHandle());
    show();
    cmdAbort->setFocus();
}

void frmPrintProgress::workbookStarted(qsizetype n, qsizetype total, const QString& file) {
    m_n = n;
    m_total = total;
    lblCount->setText(countText(n, total));
    lblFile->setText(QFileInfo(file).fileName());
    lblFile->setToolTip(file);
    barProgress->setMaximum(static_cast<int>(total));
    // Finished workbooks: the ones before the one being handed over.
    barProgress->setValue(static_cast<int>(n - 1));
}

void frmPrintProgress::pageStarted(qsizetype n, int page) {
    if (n == m_n)
        lblCount->setText(pageText(n, m_total, page));
}

void frmPrintProgress::cmdAbort_Click() {
    m_progress.requestAbort();
    cmdAbort->setEnabled(false);
}

void frmPrintProgress::closeEvent(QCloseEvent* event) {
    // Only the end of the run closes the window.
    event->ignore();
}
