#pragma once

#include "OfficeServer.h"
#include "office/IPrinterDirectory.h"
#include "office/IWorkbook.h"

#include <com/sun/star/lang/XComponent.hpp>

#include <memory>

namespace office {

// A workbook loaded read-only into a LibreOffice server. Releasing it without Close leaves the
// document to the server, which the application object ends.
class LibreOfficeWorkbook : public IWorkbook {
public:
    LibreOfficeWorkbook(std::shared_ptr<OfficeServer> server,
                        const css::uno::Reference<css::lang::XComponent>& document,
                        const IPrinterDirectory& printers, const QString& path);

    void PrintOut(int Copies, bool Collate, std::optional<QString> ActivePrinter) override;
    void Close(bool SaveChanges) override;

private:
    void checkOpen(const QString& what) const;

    std::shared_ptr<OfficeServer> m_server;
    css::uno::Reference<css::lang::XComponent> m_document;
    const IPrinterDirectory& m_printers;
    QString m_path;
};

} // namespace office
