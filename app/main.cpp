#include "PrintSystem.h"
#include "SystemServices.h"
#include "basMain.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The windows are laid out for 9-point Gothic; IPA's stands in for the Windows font.
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic")});
    font.setPointSize(9);
    QApplication::setFont(font);
    // Qt has taken its own options out of argv by now.
    SystemServices system(argc, argv);
    PrintSystem printing;
    if (!basMain::Main(system.services(), printing.services()))
        return 0;
    const int status = QApplication::exec();
    // The closed main window was only scheduled for deletion; delete it while the services live.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
