#pragma once

#include "RenderControl.h"
#include "WorkbookSource.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace platform {
class IPrintSpooler;
}
namespace xls {
class ICodePages;
}

namespace report {

class TextShaper;

// A workbook painted for printing, as writeWorkbookPdf paints it, into a PDF in a private
// temporary folder of its own: under the system's temporary folder, open to this user only,
// never beside the workbook. The folder and the document go with this object, whatever
// happens. Painting and queueing are separate steps, so that a workbook can be painted on one
// thread while another queues the workbook before it.
class RenderedWorkbook {
public:
    // Paints the named sheets of the workbook of source. Throws ReportError when it cannot,
    // RenderStopped when control stops it; nothing has reached the print system then, and the
    // folder is gone.
    RenderedWorkbook(const xls::ICodePages& codePages, const WorkbookSource& source,
                     const QStringList& sheetNames, const RenderControl& control = {},
                     const TextShaper* shaper = nullptr);
    RenderedWorkbook(const RenderedWorkbook&) = delete;
    RenderedWorkbook& operator=(const RenderedWorkbook&) = delete;

    int pageCount() const { return m_pageCount; }
    // Queues the document on queue as one job titled with the workbook's file name; a document
    // of no page is not queued. Throws ReportError with the print system's own message when
    // the job is not queued.
    void submit(platform::IPrintSpooler& spooler, const QString& queue) const;
    // Writes the document into the file at path instead; a document of no page writes no
    // file. Throws ReportError when the file cannot be written.
    void saveAs(const QString& path) const;

private:
    QTemporaryDir m_folder;
    QString m_title;
    int m_pageCount = 0;
};

} // namespace report
