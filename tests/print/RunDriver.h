#pragma once

// Drives a print run through the main window the way a user does: the print button, then the
// options dialog once it shows.

#include "ui/frmMain.h"
#include "ui/frmPrint.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <optional>

// Calls act once, on the first visible top-level window of type T, while events are served.
template <typename T> void whenShown(std::function<void(T&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<T*>(widget); window != nullptr && window->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(*window);
                return;
            }
        }
    });
    timer->start();
}

// What the user does in the options dialog; unset choices are left as the dialog shows them.
struct DialogChoice {
    enum class Finish { Ok, Cancel, TitleBar };
    std::optional<bool> usePrinter = std::nullopt;
    std::optional<QString> printer = std::nullopt;
    std::optional<bool> withoutExcel = std::nullopt;
    Finish finish = Finish::Ok;
};

// What the dialog showed when it came up.
struct DialogSeen {
    bool mainWindowEnabled = true;
    Qt::CheckState usePrinter = Qt::PartiallyChecked;
    QString printer;
    Qt::CheckState withoutExcel = Qt::PartiallyChecked;
};

// Serves events until the print command has ended: the main window is enabled again.
inline void waitForPrintEnd(const QWidget& window) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (window.isEnabled())
            loop.quit();
    });
    poll.start(10);
    if (!window.isEnabled())
        loop.exec();
}

// Presses the print button and makes choice in the dialog; returns once the run has started.
inline DialogSeen startPrint(frmMain& window, const DialogChoice& choice) {
    DialogSeen seen;
    whenShown<frmPrint>([&window, &seen, choice](frmPrint& dialog) {
        seen = {window.isEnabled(), dialog.chkPrinterValue(), dialog.cboPrinterText(),
                dialog.chkVBReportValue()};
        auto* usePrinter = dialog.findChild<QCheckBox*>(QStringLiteral("chkPrinter"));
        auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("cboPrinter"));
        auto* withoutExcel = dialog.findChild<QCheckBox*>(QStringLiteral("chkVBReport"));
        if (choice.usePrinter)
            usePrinter->setChecked(*choice.usePrinter);
        if (choice.printer)
            printers->setCurrentIndex(printers->findText(*choice.printer));
        if (choice.withoutExcel)
            withoutExcel->setChecked(*choice.withoutExcel);
        switch (choice.finish) {
        case DialogChoice::Finish::Ok:
            dialog.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
            break;
        case DialogChoice::Finish::Cancel:
            dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
            break;
        case DialogChoice::Finish::TitleBar:
            dialog.close();
            break;
        }
    });
    window.findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
    return seen;
}

// The same, returning once the print command has ended.
inline DialogSeen pressPrint(frmMain& window, const DialogChoice& choice) {
    const DialogSeen seen = startPrint(window, choice);
    waitForPrintEnd(window);
    return seen;
}
