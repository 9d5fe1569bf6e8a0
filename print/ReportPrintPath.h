#pragma once

#include "PathResult.h"
#include "PrintItem.h"
#include "PrintProgress.h"

#include "report/IReportPrinter.h"
#include "xls/ISpreadsheetEngine.h"

class QThreadPool;

namespace print {

// Prints every ticked item without the spreadsheet application: Xls1 opens the workbook and
// names its sheets in its own order, then XlsReport1 is given the file and those sheets, the
// printer by name when blnUsePrinter, and takes them as a job. Jobs are rendered on the
// threads of pool, as many ahead as it has threads, while this thread submits them strictly
// in list order. The first workbook in list order that fails ends the run with its cause, the
// engine closed: nothing after it is submitted, rendered or not. Progress is told as each
// workbook's turn to be submitted comes, and each page as it is painted. An abort is honoured
// between two submissions and by every render under way before its next page; the work
// rendered ahead is dropped.
PathResult PrintWithReport(xls::ISpreadsheetEngine& Xls1, report::IReportPrinter& XlsReport1,
                           const PrintItems& items, bool blnUsePrinter,
                           const QString& strPrinterName, PrintProgress& progress,
                           QThreadPool& pool);

} // namespace print
