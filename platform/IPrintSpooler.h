#pragma once

#include <QString>

namespace platform {

// Hands finished documents to the print system as jobs.
class IPrintSpooler {
public:
    virtual ~IPrintSpooler() = default;
    // Queues the PDF file at pdfPath as one job titled title on the named queue ("queue" or
    // "queue/instance") and returns the print system's job id. The file may be removed once
    // this returns. Throws PrintSpoolError, carrying the print system's own message, when the
    // job is not queued: the queue refuses it, or the print system cannot be reached. A job
    // begun and then not completed is cancelled, so nothing partial is printed.
    virtual int submitPdf(const QString& queue, const QString& title, const QString& pdfPath) = 0;
};

} // namespace platform
