#pragma once

#include "office/IAutomation.h"
#include "office/IPrinterDirectory.h"
#include "platform/IMousePointer.h"
#include "report/IReportPrinter.h"
#include "xls/ISpreadsheetEngine.h"

// What the print command drives, made once at start-up and handed to the main window: the
// spreadsheet application server, the engine and report printer that print without it, the
// installed printers, and the program-wide pointer that the busy cursor sets.
struct PrintServices {
    office::IAutomation& automation;
    xls::ISpreadsheetEngine& engine;
    report::IReportPrinter& reportPrinter;
    const office::IPrinterDirectory& printers;
    platform::IMousePointer& pointer;
};
