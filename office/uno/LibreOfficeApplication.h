#pragma once

#include "LibreOfficeWorkbooks.h"
#include "OfficeServer.h"
#include "office/IApplication.h"
#include "office/IPrinterDirectory.h"

#include <memory>

namespace office {

// An application object: one LibreOffice server of its own, ended with the object.
class LibreOfficeApplication : public IApplication {
public:
    LibreOfficeApplication(std::shared_ptr<OfficeServer> server, const IPrinterDirectory& printers);
    ~LibreOfficeApplication() override;
    LibreOfficeApplication(const LibreOfficeApplication&) = delete;
    LibreOfficeApplication& operator=(const LibreOfficeApplication&) = delete;

    void setVisible(bool Visible) override;
    IWorkbooks& Workbooks() override { return m_workbooks; }
    void Quit() override;
    void setStopRequest(std::stop_token stop) override;

private:
    std::shared_ptr<OfficeServer> m_server;
    LibreOfficeWorkbooks m_workbooks;
};

} // namespace office
