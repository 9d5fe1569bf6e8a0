#include "ReportJob.h"

#include "ReportError.h"

namespace report {

ReportJob::ReportJob(const xls::ICodePages& codePages, platform::IPrintSpooler& spooler,
                     WorkbookSource source, QStringList sheets, QString queue, QString pdfPath,
                     std::shared_ptr<TextShaperStock> shapers)
    : m_codePages(codePages)
    , m_spooler(spooler)
    , m_source(std::move(source))
    , m_sheets(std::move(sheets))
    , m_queue(std::move(queue))
    , m_pdfPath(std::move(pdfPath))
    , m_shapers(std::move(shapers)) {}

void ReportJob::Render(const RenderControl& control) {
    if (m_sheets.isEmpty())
        return;
    const TextShaperStock::Loan loan(*m_shapers);
    m_rendered = std::make_unique<RenderedWorkbook>(m_codePages, m_source, m_sheets, control,
                                                    &loan.shaper());
}

void ReportJob::Submit() {
    if (m_sheets.isEmpty())
        return;
    if (!m_rendered)
        throw ReportError(QStringLiteral("The job was not rendered before it was submitted."));
    if (m_pdfPath.isEmpty())
        m_rendered->submit(m_spooler, m_queue);
    else
        m_rendered->saveAs(m_pdfPath);
}

} // namespace report
