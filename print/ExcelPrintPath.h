#pragma once

#include "PathResult.h"
#include "PrintItem.h"
#include "PrintProgress.h"

#include "office/IAutomation.h"

namespace print {

// Whether a spreadsheet application server can be started (hidden) and shut down again.
// Any failure is the answer false; nothing is shown.
bool IsExcelInstalled(office::IAutomation& automation);

// Prints every ticked item through one hidden application server: each workbook opened,
// printed once (on strPrinterName when blnUsePrinter) and closed without saving, in list
// order; then the server quits. The first failure ends the run: the open workbook is closed
// without saving and the server ended before returning. Runs on the calling thread, which
// must outlive the server; progress is told before each workbook and an abort is honoured
// between workbooks.
PathResult PrintWithExcel(office::IAutomation& automation, const PrintItems& items,
                          bool blnUsePrinter, const QString& strPrinterName,
                          PrintProgress& progress);

} // namespace print
