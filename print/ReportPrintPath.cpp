#include "ReportPrintPath.h"

#include "filelist/colFileName.h"

#include <exception>

namespace print {

PathResult PrintWithReport(xls::ISpreadsheetEngine& Xls1, report::IReportPrinter& XlsReport1,
                           const PrintItems& items, bool blnUsePrinter,
                           const QString& strPrinterName, PrintProgress& progress) {
    PathResult result;
    try {
        const qsizetype total = tickedCount(items);
        qsizetype n = 0;
        for (const PrintItem& item : items) {
            if (!item.checked)
                continue;
            if (progress.abortRequested()) {
                result.outcome = PathResult::Outcome::Aborted;
                break;
            }
            result.step = PathResult::Step::Workbook;
            result.failedFile = item.text;
            progress.handingOver(++n, total, item.text);

            colFileName sheetNames;
            Xls1.Open(item.text);
            const qint32 count = Xls1.SheetCount();
            for (qint32 i = 0; i < count; ++i)
                sheetNames.Add(Xls1.SheetName(i), 0, false);
            Xls1.Close();

            XlsReport1.setFile(item.text);
            XlsReport1.StartSheets();
            for (const colFileName::Entry& sheet : sheetNames) {
                XlsReport1.AddSheet(sheet->FileName(), QString());
                XlsReport1.CommitSheet();
            }
            if (blnUsePrinter) {
                qint16 status = 0;
                XlsReport1.SelectPrinter(0, strPrinterName, status);
            }
            XlsReport1.Print();
        }
        result.step = PathResult::Step::Ending;
        result.failedFile.clear();
        return result;
    } catch (const std::exception& error) {
        result.outcome = PathResult::Outcome::Failed;
        result.cause = QString::fromUtf8(error.what());
    }
    // The engine keeps no workbook from a failed run; closing when none is loaded does nothing.
    try {
        Xls1.Close();
    } catch (const std::exception&) {
    }
    return result;
}

} // namespace print
