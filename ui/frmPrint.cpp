#include "frmPrint.h"

#include "Controls.h"

#include "Placement.h"
#include "Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <exception>

namespace {

const QString kNoPrinter = QStringLiteral("ﾌﾟﾘﾝﾀなし");

} // namespace

frmPrint::frmPrint(const office::IPrinterDirectory& printers, QWidget* parent)
    : QDialog(parent)
    , m_printers(printers) {
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("連続印刷実行...."));
    // Fixed dialog border: a close button, no minimize or maximize button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twips(7875), twips(2415));
    createControls();
    Form_Load();
}

void frmPrint::createControls() {
    // Made in keyboard order, so that the tab order follows it.
    chkPrinter = new QCheckBox(QStringLiteral("出力プリンタを指定する"), this);
    chkPrinter->setObjectName(QStringLiteral("chkPrinter"));
    chkPrinter->setGeometry(twipsRect(240, 240, 2775, 180));
    chkPrinter->setCheckState(Qt::Unchecked);

    cboPrinter = new QComboBox(this);
    cboPrinter->setObjectName(QStringLiteral("cboPrinter"));
    cboPrinter->setGeometry(twipsRect(1800, 600, 4335, 300));
    cboPrinter->setAccessibleName(QStringLiteral("出力ﾌﾟﾘﾝﾀ名"));

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(120, 1200, 6015, 975));
    Frame1->setFocusPolicy(Qt::NoFocus);

    // On the frame's top edge, where a frame title would stand.
    chkVBReport = new QCheckBox(
        QStringLiteral("Excelがシステムにインストールされてなくても強制的に印刷する"), Frame1);
    chkVBReport->setObjectName(QStringLiteral("chkVBReport"));
    chkVBReport->setGeometry(twipsRect(120, 0, 5415, 180));
    chkVBReport->setAutoFillBackground(true);
    chkVBReport->setCheckState(Qt::Checked);

    cmdOk = controls::makeButton(this, "cmdOk", QStringLiteral("OK(&O)"),
                                 twipsRect(6360, 240, 1335, 375));
    cmdCancel = controls::makeButton(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ(&C)"),
                                     twipsRect(6360, 720, 1335, 375));

    // Neither button is pressed by Enter from elsewhere in the dialog.
    for (QPushButton* button : {cmdOk, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    lblPrinter = controls::makeLabel(this, "lblPrinter", QStringLiteral("出力ﾌﾟﾘﾝﾀ名"),
                                     twipsRect(600, 645, 1335, 255));
    lblPrinter->setBuddy(cboPrinter);

    lblCaption = controls::makeLabel(
        Frame1, "lblCaption",
        QStringLiteral("印刷ｲﾒｰｼﾞを100%忠実に再現できない場合があります。また，仕様上，グラフ等に"
                       "ついては出力できませんのでご了承下さい。"),
        twipsRect(360, 360, 5415, 495));
    QPalette highlighted = lblCaption->palette();
    highlighted.setColor(QPalette::WindowText, highlighted.color(QPalette::Highlight));
    lblCaption->setPalette(highlighted);

    setTabOrder(chkPrinter, cboPrinter);
    setTabOrder(cboPrinter, chkVBReport);
    setTabOrder(chkVBReport, cmdOk);
    setTabOrder(cmdOk, cmdCancel);

    connect(cmdOk, &QPushButton::clicked, this, &frmPrint::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrint::cmdCancel_Click);
}

void frmPrint::Form_Load() {
    controls::guarded([this] { placeWindow(); });
    controls::guarded([this] { fillPrinterList(); });
}

void frmPrint::placeWindow() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.topLeft() + centredPosition(area.size(), size()));
    }
}

void frmPrint::fillPrinterList() {
    cboPrinter->clear();
    // Each printer goes on top, so the list shows them in the reverse of the system's order.
    for (const QString& name : m_printers.printerNames())
        cboPrinter->insertItem(0, name);
    if (cboPrinter->count() == 0) {
        cboPrinter->addItem(kNoPrinter);
        cboPrinter->setCurrentIndex(0);
        cboPrinter->setEnabled(false);
        lblPrinter->setEnabled(false);
        chkPrinter->setCheckState(Qt::Unchecked);
        chkPrinter->setEnabled(false);
        return;
    }
    const std::optional<QString> defaultPrinter = m_printers.defaultPrinter();
    if (!defaultPrinter) {
        cboPrinter->setCurrentIndex(0);
        return;
    }
    // The exact name, letter case included; no match leaves nothing selected.
    cboPrinter->setCurrentIndex(
        cboPrinter->findText(*defaultPrinter, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

Qt::CheckState frmPrint::chkPrinterValue() const {
    return chkPrinter->checkState();
}

QString frmPrint::cboPrinterText() const {
    return cboPrinter->currentIndex() < 0 ? QString()
                                          : cboPrinter->itemText(cboPrinter->currentIndex());
}

Qt::CheckState frmPrint::chkVBReportValue() const {
    return chkVBReport->checkState();
}

void frmPrint::cmdOk_Click() {
    m_Result = QStringLiteral("Ok");
    hide();
}

void frmPrint::cmdCancel_Click() {
    m_Result = QStringLiteral("Cancel");
    hide();
}

void frmPrint::closeEvent(QCloseEvent* event) {
    // Closed from the title bar: this dialog is done with, and its result is that of a new one.
    m_discarded = true;
    m_Result.clear();
    QDialog::closeEvent(event);
}

void frmPrint::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        // There is no cancel button: Esc closes nothing.
        event->accept();
        return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        // There is no default button: Enter presses only a button that has the focus.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
