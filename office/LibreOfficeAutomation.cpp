#include "LibreOfficeAutomation.h"

#include "AutomationError.h"
#include "uno/LibreOfficeApplication.h"
#include "uno/OfficeServer.h"
#include "uno/UnoRuntime.h"

#include <utility>

namespace office {

LibreOfficeAutomation::LibreOfficeAutomation(LibreOfficeSettings settings,
                                             const IPrinterDirectory& printers)
    : m_settings(std::move(settings))
    , m_printers(printers) {}

LibreOfficeAutomation::~LibreOfficeAutomation() = default;

std::unique_ptr<IApplication> LibreOfficeAutomation::createObject(const QString& progId) {
    if (progId.compare(QLatin1String(kExcelApplication), Qt::CaseInsensitive) != 0)
        throw AutomationError(QStringLiteral("Unknown programmatic identifier \"%1\"").arg(progId));
    const QString soffice = m_settings.sofficeProgram();
    if (soffice.isEmpty()) {
        if (!m_settings.soffice().isEmpty())
            throw AutomationError(
                QStringLiteral("LibreOffice not found: no %1 on PATH").arg(m_settings.soffice()));
        throw AutomationError(
            QStringLiteral("LibreOffice is not installed: no soffice on PATH or at %1")
                .arg(QLatin1String(LibreOfficeSettings::kStandardSoffice)));
    }
    if (!m_runtime)
        m_runtime = std::make_shared<UnoRuntime>();
    auto server = std::make_shared<OfficeServer>(m_runtime, m_settings, soffice);
    return std::make_unique<LibreOfficeApplication>(std::move(server), m_printers);
}

} // namespace office
