#include "LibreOfficeWorkbook.h"

#include "PrintJobMonitor.h"
#include "UnoProperties.h"

#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XPrintJobBroadcaster.hpp>
#include <com/sun/star/view/XPrintable.hpp>
#include <rtl/ref.hxx>

#include <limits>
#include <utility>

namespace office {

LibreOfficeWorkbook::LibreOfficeWorkbook(std::shared_ptr<OfficeServer> server,
                                         const css::uno::Reference<css::lang::XComponent>& document,
                                         const IPrinterDirectory& printers, const QString& path)
    : m_server(std::move(server))
    , m_document(document)
    , m_printers(printers)
    , m_path(path) {}

void LibreOfficeWorkbook::PrintOut(int Copies, bool Collate, std::optional<QString> ActivePrinter) {
    const QString what = QStringLiteral("PrintOut");
    checkOpen(what);
    if (Copies < 1 || Copies > std::numeric_limits<sal_Int16>::max())
        throw AutomationError(
            QStringLiteral("PrintOut: Copies must be from 1 to 32767, not %1").arg(Copies));
    // LibreOffice prints on its default printer, without a word, when it is given a name it
    // does not know. So the name is checked first, and the default is named explicitly too.
    QString printer;
    if (ActivePrinter) {
        if (!m_printers.hasPrinter(*ActivePrinter))
            throw AutomationError(
                QStringLiteral("PrintOut: the print system has no printer named \"%1\"")
                    .arg(*ActivePrinter));
        printer = *ActivePrinter;
    } else {
        const std::optional<QString> defaultPrinter = m_printers.defaultPrinter();
        if (!defaultPrinter)
            throw AutomationError(
                QStringLiteral("PrintOut: the print system has no default printer"));
        printer = *defaultPrinter;
    }

    m_server->call(what, [&] {
        const css::uno::Reference<css::view::XPrintable> printable(m_document,
                                                                   css::uno::UNO_QUERY_THROW);
        printable->setPrinter(properties({{"Name", css::uno::Any(toUno(printer))}}));
        rtl::OUString chosen;
        propertyValue(printable->getPrinter(), "Name") >>= chosen;
        if (fromUno(chosen) != printer)
            throw AutomationError(
                QStringLiteral("PrintOut: LibreOffice does not know printer \"%1\"").arg(printer));

        const rtl::Reference<PrintJobMonitor> monitor(new PrintJobMonitor);
        const css::uno::Reference<css::view::XPrintJobListener> listener(monitor.get());
        const css::uno::Reference<css::view::XPrintJobBroadcaster> broadcaster(
            m_document, css::uno::UNO_QUERY_THROW);
        broadcaster->addPrintJobListener(listener);
        // Wait: the call returns once the job has been handed to the print system.
        printable->print(properties({{"CopyCount", css::uno::Any(static_cast<sal_Int16>(Copies))},
                                     {"Collate", css::uno::Any(Collate)},
                                     {"Wait", css::uno::Any(true)}}));
        broadcaster->removePrintJobListener(listener);
        if (!monitor->spooled())
            throw AutomationError(
                QStringLiteral("PrintOut: printer \"%1\" did not take the job for %2")
                    .arg(printer, m_path));
    });
}

void LibreOfficeWorkbook::Close(bool SaveChanges) {
    const QString what = QStringLiteral("Close");
    if (SaveChanges)
        throw AutomationError(
            QStringLiteral("Close: %1 is open read-only; workbooks are never saved").arg(m_path));
    checkOpen(what);
    m_server->call(what, [&] {
        css::uno::Reference<css::util::XCloseable>(m_document, css::uno::UNO_QUERY_THROW)
            ->close(true);
    });
    m_document.clear();
}

void LibreOfficeWorkbook::checkOpen(const QString& what) const {
    if (!m_document.is())
        throw AutomationError(QStringLiteral("%1: %2 has been closed").arg(what, m_path));
}

} // namespace office
