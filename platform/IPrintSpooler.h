#pragma once

#include <QString>

#include <optional>

namespace platform {

// Hands finished documents to the print system as jobs.
class IPrintSpooler {
public:
    virtual ~IPrintSpooler() = default;
    // The destination a job for name goes to, as the print system names it ("queue" or
    // "queue/instance"): name itself when the print system has it, its default destination
    // when name is empty. Nothing when there is no such destination.
    virtual std::optional<QString> destination(const QString& name) const = 0;
    // Queues the PDF file at pdfPath as one job titled title on the named destination, with
    // the options the user and the system set for it, and returns the print system's job id.
    // The file may be removed once this returns. Throws PrintSpoolError, carrying the print
    // system's own message, when the job is not queued: the queue refuses it, or the print
    // system cannot be reached. A job begun and then not completed is cancelled, so nothing
    // partial is printed.
    virtual int submitPdf(const QString& queue, const QString& title, const QString& pdfPath) = 0;
};

} // namespace platform
