#pragma once

#include "office/CupsPrinterDirectory.h"
#include "office/LibreOfficeAutomation.h"
#include "office/LibreOfficeSettings.h"
#include "platform/CupsPrintSpooler.h"
#include "platform/QtMousePointer.h"
#include "print/PrintServices.h"
#include "report/XlsReport.h"
#include "xls/IconvCodePages.h"
#include "xls/XlsEngine.h"

#include <QThreadPool>

// The real services of the print run, made once at start-up: LibreOffice for the spreadsheet
// application, our engine and report printer with the CUPS spooler it queues its jobs through
// and the threads it renders them on, the CUPS printers and Qt's pointer.
class PrintSystem {
public:
    explicit PrintSystem(
        office::LibreOfficeSettings settings = office::LibreOfficeSettings::fromEnvironment());
    PrintSystem(const PrintSystem&) = delete;
    PrintSystem& operator=(const PrintSystem&) = delete;

    PrintServices& services() { return m_services; }

private:
    office::CupsPrinterDirectory m_printers;
    office::LibreOfficeAutomation m_automation;
    xls::IconvCodePages m_codePages;
    xls::XlsEngine m_engine;
    platform::CupsPrintSpooler m_spooler;
    report::XlsReport m_reportPrinter;
    // One thread per core by default.
    QThreadPool m_reportThreads;
    platform::QtMousePointer m_pointer;
    PrintServices m_services;
};
