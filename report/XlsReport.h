#pragma once

#include "IReportPrinter.h"
#include "TextShaperStock.h"
#include "WorkbookSource.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace platform {
class IPrintSpooler;
}
namespace xls {
class ICodePages;
}

namespace report {

class ReportJob;

// The report printer control: prints the visible ones of the sheets it is given of one
// workbook, read through the spreadsheet engine, as one job that the spooler queues on a CUPS
// printer (or into a PDF file). The job is painted whole before it is queued: a failure while
// painting queues nothing. Usable from any thread that has no widgets to touch; a
// QGuiApplication must exist for the fonts. Its jobs paint on any threads, at once.
class XlsReport : public IReportPrinter {
public:
    XlsReport(const xls::ICodePages& codePages, platform::IPrintSpooler& spooler);

    void setFile(const QString& strFileName) override;
    void setWorkbook(std::shared_ptr<const xls::Workbook> workbook) override;
    void StartSheets() override;
    void AddSheet(const QString& strSheetName, const QString& strRange) override;
    void CommitSheet() override;
    void SelectPrinter(qint32 lngKind, const QString& strPrinterName, qint16& intStatus) override;
    void Print() override;
    std::unique_ptr<IReportJob> TakeJob() override;

    // Print writes a PDF file at path instead of printing; the empty path prints again.
    void setOutputFile(const QString& path) { m_outputFile = path; }
    // Print writes each workbook into a PDF file in folder, named after the workbook without
    // its .xls, instead of printing; the empty folder prints again. A file set counts first.
    void setOutputFolder(const QString& folder) { m_outputFolder = folder; }
    // The pages the last Print produced.
    int printedPages() const { return m_printedPages; }

private:
    // The chosen printer or else the default, which must exist now.
    QString jobQueue() const;
    QString pdfPath() const;
    std::unique_ptr<ReportJob> newJob() const;
    WorkbookSource source() const { return {m_file, m_workbook}; }

    const xls::ICodePages& m_codePages;
    platform::IPrintSpooler& m_spooler;
    QString m_file;
    std::shared_ptr<const xls::Workbook> m_workbook;
    QStringList m_sheets;
    QString m_pendingSheet;
    bool m_hasPendingSheet = false;
    QString m_printer;
    // Shared with the jobs, which may outlive the printer.
    std::shared_ptr<TextShaperStock> m_shapers = std::make_shared<TextShaperStock>();
    QString m_outputFile;
    QString m_outputFolder;
    int m_printedPages = 0;
};

} // namespace report
