#include "basMain.h"

#include "ui/frmMain.h"

#include <QApplication>
#include <QDialog>

namespace basMain {

std::shared_ptr<colFileName> gcolFileName;

QStringList SplitArgumentText(const QString& strText) {
    return strText.split(u'"', Qt::KeepEmptyParts);
}

QString SecondInstanceMessage() {
    return QStringLiteral("Tessalyは既に起動しています。本ソフトウェアは，多重起動に未対応です。") +
           QStringLiteral("\r\n\r\n") + QStringLiteral("プログラムの起動を中止します。");
}

bool Main(platform::Services& services, PrintServices& printServices) {
    if (services.instanceLock.prevInstance()) {
        // An end request closes the message, and so ends this copy as it ends a running one.
        services.endRequests.setHandler([] {
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                box->reject();
        });
        services.messageBox.show(SecondInstanceMessage(), platform::MessageIcon::Stop,
                                 services.versionInfo.productName());
        services.endRequests.setHandler({});
        return false;
    }

    gcolFileName = std::make_shared<colFileName>();
    gcolFileName->Clear();
    const QString text = services.commandLine.argumentText();
    if (!text.isEmpty()) {
        for (const QString& piece : SplitArgumentText(text))
            gcolFileName->Add(piece, 0, false);
    }

    // The open window keeps itself alive and is deleted when it closes.
    auto* window = new frmMain(services, printServices, gcolFileName);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return true;
}

} // namespace basMain
