#pragma once

#include "IReportJob.h"
#include "RenderedWorkbook.h"
#include "TextShaperStock.h"

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

// The report printer's job: the named sheets of one workbook, painted into a private PDF by
// Render, then queued on a printer or written into a PDF file by Submit.
class ReportJob : public IReportJob {
public:
    // A job for queue, or, when pdfPath is not empty, for that file. No sheet: a job that
    // paints and queues nothing.
    ReportJob(const xls::ICodePages& codePages, platform::IPrintSpooler& spooler,
              WorkbookSource source, QStringList sheets, QString queue, QString pdfPath,
              std::shared_ptr<TextShaperStock> shapers);

    void Render(const RenderControl& control) override;
    void Submit() override;
    // The pages Render painted.
    int pageCount() const { return m_rendered ? m_rendered->pageCount() : 0; }

private:
    // Shared with the printer's other jobs, on other threads: decoding is thread-safe.
    const xls::ICodePages& m_codePages;
    // Used by Submit alone, on the printer's thread.
    platform::IPrintSpooler& m_spooler;
    WorkbookSource m_source;
    QStringList m_sheets;
    QString m_queue;
    QString m_pdfPath;
    std::shared_ptr<TextShaperStock> m_shapers; // the printer's, shared by its jobs
    std::unique_ptr<RenderedWorkbook> m_rendered;
};

} // namespace report
