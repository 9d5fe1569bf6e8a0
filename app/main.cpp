#include "basMain.h"

#include "platform/BuildVersionInfo.h"
#include "platform/FlockInstanceLock.h"
#include "platform/PosixCommandLine.h"
#include "platform/PosixDirectorySearch.h"
#include "platform/QtMessageBox.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);

    // Qt has taken its own options out of argv by now.
    platform::PosixCommandLine commandLine(argc, argv);
    platform::FlockInstanceLock instanceLock;
    platform::BuildVersionInfo versionInfo;
    platform::PosixDirectorySearch directorySearch;
    platform::QtMessageBox messageBox;
    platform::Services services{instanceLock, commandLine, versionInfo, directorySearch,
                                messageBox};

    if (!basMain::Main(services))
        return 0;
    const int status = QApplication::exec();
    // The closed main window was only scheduled for deletion; delete it while the services live.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
