#pragma once

#include "PathResult.h"
#include "PrintItem.h"
#include "PrintProgress.h"

#include "report/IReportPrinter.h"
#include "xls/ISpreadsheetEngine.h"

namespace print {

// Prints every ticked item without the spreadsheet application: Xls1 opens the workbook and
// names its sheets in its own order, then XlsReport1 is given the file and those sheets, the
// printer by name when blnUsePrinter, and prints. The first failure ends the run, with the
// workbook closed in the engine. Progress is told before each workbook and an abort is
// honoured between workbooks.
PathResult PrintWithReport(xls::ISpreadsheetEngine& Xls1, report::IReportPrinter& XlsReport1,
                           const PrintItems& items, bool blnUsePrinter,
                           const QString& strPrinterName, PrintProgress& progress);

} // namespace print
