#pragma once

#include "office/IAutomation.h"
#include "office/IPrinterDirectory.h"
#include "platform/IMousePointer.h"
#include "report/IReportPrinter.h"
#include "xls/ISpreadsheetEngine.h"

class QThreadPool;

// What the print command drives, made once at start-up and handed to the main window: the
// spreadsheet application server, the engine and report printer that print without it with
// the threads its jobs are rendered on, the installed printers, and the program-wide pointer
// that the busy cursor sets.
struct PrintServices {
    office::IAutomation& automation;
    xls::ISpreadsheetEngine& engine;
    report::IReportPrinter& reportPrinter;
    QThreadPool& reportThreads;
    const office::IPrinterDirectory& printers;
    platform::IMousePointer& pointer;
};
