#include "basMain.h"
#include "SystemServices.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Qt has taken its own options out of argv by now.
    SystemServices system(argc, argv);
    if (!basMain::Main(system.services()))
        return 0;
    const int status = QApplication::exec();
    // The closed main window was only scheduled for deletion; delete it while the services live.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
