// Loaded into the real program as a Qt generic plugin (QT_QPA_GENERIC_PLUGINS), so that a test
// can start a print run the way a user does on the offscreen platform, where no input comes from
// outside: once the main window shows, it presses the print button, then in the options dialog
// leaves the printer as it is, unticks printing without the spreadsheet application, and
// presses OK. It acts once.

#include <QApplication>
#include <QCheckBox>
#include <QGenericPlugin>
#include <QPushButton>
#include <QTimer>

namespace {

QWidget* shownWindow(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// Clicks later, from the event loop: the print button's click runs the modal dialog.
void clickLater(QWidget& window, const char* button) {
    QPushButton* target = window.findChild<QPushButton*>(QLatin1String(button));
    QTimer::singleShot(0, target, [target] { target->click(); });
}

} // namespace

class PrintDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "PrintDriverPlugin.json")
public:
    QObject* create(const QString& /*name*/, const QString& /*parameters*/) override {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, timer, [timer, pressed = false]() mutable {
            if (!pressed) {
                if (QWidget* main = shownWindow(QStringLiteral("frmMain"))) {
                    clickLater(*main, "cmdPrint");
                    pressed = true;
                }
            } else if (QWidget* dialog = shownWindow(QStringLiteral("frmPrint"))) {
                dialog->findChild<QCheckBox*>(QStringLiteral("chkVBReport"))->setChecked(false);
                clickLater(*dialog, "cmdOk");
                timer->stop();
            }
        });
        timer->start(50);
        return timer;
    }
};

#include "PrintDriverPlugin.moc"
