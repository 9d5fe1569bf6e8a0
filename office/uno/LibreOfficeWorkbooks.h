#pragma once

#include "OfficeServer.h"
#include "office/IPrinterDirectory.h"
#include "office/IWorkbooks.h"

#include <memory>

namespace office {

// Loads workbooks into a LibreOffice server: hidden, read-only (so no lock file appears beside
// the workbook), macros never run, links never updated.
class LibreOfficeWorkbooks : public IWorkbooks {
public:
    LibreOfficeWorkbooks(std::shared_ptr<OfficeServer> server, const IPrinterDirectory& printers);

    std::unique_ptr<IWorkbook> Open(const QString& Filename) override;

private:
    std::shared_ptr<OfficeServer> m_server;
    const IPrinterDirectory& m_printers;
};

} // namespace office
