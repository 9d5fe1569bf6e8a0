#pragma once

#include "IReportJob.h"

#include <QString>
#include <QtGlobal>

#include <memory>

namespace xls {
class Workbook;
}

namespace report {

// The report printer control that the report print path drives, in this call order for each
// workbook: setFile, setWorkbook, StartSheets, then for each sheet AddSheet followed by
// CommitSheet, SelectPrinter when a printer was chosen, and Print, or instead of Print, TakeJob and
// the job's Render and Submit, so that later workbooks can be painted while one is queued. Every
// failure is raised as a report::ReportError.
class IReportPrinter {
public:
    virtual ~IReportPrinter() = default;

    // The workbook to print, a full path. A new workbook forgets the printer chosen before.
    virtual void setFile(const QString& strFileName) = 0;
    // The workbook of setFile as the engine read it, painted instead of reading the file again;
    // null, or not given, reads the file.
    virtual void setWorkbook(std::shared_ptr<const xls::Workbook> workbook) = 0;
    // Empties the list of sheets to print.
    virtual void StartSheets() = 0;
    // Names the next sheet to print; strRange is the empty text (the whole printed part of
    // the sheet). The sheet joins the list at CommitSheet.
    virtual void AddSheet(const QString& strSheetName, const QString& strRange) = 0;
    virtual void CommitSheet() = 0;
    // Chooses the output printer by its print-system name. lngKind 0 selects by name, the only
    // kind there is; intStatus receives 0. A name the print system does not know is an error.
    virtual void SelectPrinter(qint32 lngKind, const QString& strPrinterName,
                               qint16& intStatus) = 0;
    // Prints the visible ones of the sheets given, in the order given, as one job named after
    // the workbook's file name, on the chosen printer or else on the default one. No sheet
    // given prints nothing. A job the print system does not queue is an error.
    virtual void Print() = 0;
    // Print in steps: takes the workbook, sheets and printer given so far as a job of its own,
    // checked as Print checks them, to be rendered and submitted. Print is TakeJob followed by
    // the job's Render and Submit.
    virtual std::unique_ptr<IReportJob> TakeJob() = 0;
};

} // namespace report
