#include "LibreOfficeApplication.h"

#include <utility>

namespace office {

LibreOfficeApplication::LibreOfficeApplication(std::shared_ptr<OfficeServer> server,
                                               const IPrinterDirectory& printers)
    : m_server(server)
    , m_workbooks(std::move(server), printers) {}

LibreOfficeApplication::~LibreOfficeApplication() {
    m_server->end();
}

void LibreOfficeApplication::setStopRequest(std::stop_token stop) {
    m_server->setStopRequest(std::move(stop));
}

void LibreOfficeApplication::setVisible(bool Visible) {
    const QString what = QStringLiteral("Visible");
    m_server->checkRunning(what);
    if (Visible)
        throw AutomationError(
            QStringLiteral("Visible: LibreOffice runs headless here and cannot be shown"));
}

void LibreOfficeApplication::Quit() {
    m_server->quit();
}

} // namespace office
