#pragma once

#include "IAutomation.h"
#include "IPrinterDirectory.h"
#include "LibreOfficeSettings.h"

#include <memory>

namespace office {

class UnoRuntime;

// "Excel.Application" served by LibreOffice Calc: every application object runs a headless
// soffice of its own, reached over a private pipe. printers must outlive every object made here.
class LibreOfficeAutomation : public IAutomation {
public:
    static constexpr const char* kExcelApplication = "Excel.Application";

    LibreOfficeAutomation(LibreOfficeSettings settings, const IPrinterDirectory& printers);
    ~LibreOfficeAutomation() override;
    LibreOfficeAutomation(const LibreOfficeAutomation&) = delete;
    LibreOfficeAutomation& operator=(const LibreOfficeAutomation&) = delete;

    // The identifier is compared without regard to case, as programmatic identifiers are.
    std::unique_ptr<IApplication> createObject(const QString& progId) override;

private:
    LibreOfficeSettings m_settings;
    const IPrinterDirectory& m_printers;
    // Started by the first object made, so that a program that never prints never pays for it.
    std::shared_ptr<UnoRuntime> m_runtime;
};

} // namespace office
