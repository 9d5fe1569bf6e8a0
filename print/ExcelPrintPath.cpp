#include "ExcelPrintPath.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

namespace print {

namespace {

const QString kExcelApplication = QStringLiteral("Excel.Application");

} // namespace

bool IsExcelInstalled(office::IAutomation& automation) {
    bool result = true;
    try {
        const std::unique_ptr<office::IApplication> application =
            automation.createObject(kExcelApplication);
        application->setVisible(false);
        application->Quit();
    } catch (const std::exception& e) {
        result = false;
        // The test shows no message; this line tells a user why the report path prints.
        std::fprintf(stderr, "tessaly: LibreOffice cannot be used, so the report path prints: %s\n",
                     e.what());
        std::fflush(stderr);
    }
    return result;
}

PathResult PrintWithExcel(office::IAutomation& automation, const PrintItems& items,
                          bool blnUsePrinter, const QString& strPrinterName,
                          PrintProgress& progress) {
    std::unique_ptr<office::IApplication> application;
    std::unique_ptr<office::IWorkbook> workbook;
    PathResult result;
    try {
        application = automation.createObject(kExcelApplication);
        application->setStopRequest(progress.stopToken());
        application->setVisible(false);
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
            office::IWorkbooks& workbooks = application->Workbooks();
            workbook = workbooks.Open(item.text);
            workbook->PrintOut(
                1, true, blnUsePrinter ? std::optional<QString>(strPrinterName) : std::nullopt);
            workbook->Close(false);
            workbook.reset();
        }
        result.step = PathResult::Step::Ending;
        result.failedFile.clear();
        application->Quit();
        return result;
    } catch (const std::exception& error) {
        // A call ended because the user asked to stop is no failure to report.
        result.outcome =
            progress.abortRequested() ? PathResult::Outcome::Aborted : PathResult::Outcome::Failed;
        result.cause = QString::fromUtf8(error.what());
    }
    // Leave nothing running: the open workbook closed unsaved, the server ended.
    if (workbook) {
        try {
            workbook->Close(false);
        } catch (const std::exception&) {
        }
        workbook.reset();
    }
    if (application) {
        try {
            application->Quit();
        } catch (const std::exception&) {
        }
        application.reset();
    }
    return result;
}

} // namespace print
