#pragma once

#include "IPrintSpooler.h"

namespace platform {

// Submits jobs through libcups to the scheduler it reaches (CUPS_SERVER, client.conf or the
// local one), checking the scheduler's answer to every step. Destinations are found as lp
// finds them: the queue, or an instance of it, with the options the user's and the system's
// lpoptions files give it, which every job for it carries. Usable from any thread: libcups
// keeps one connection and one last error per thread.
class CupsPrintSpooler : public IPrintSpooler {
public:
    std::optional<QString> destination(const QString& name) const override;
    int submitPdf(const QString& queue, const QString& title, const QString& pdfPath) override;
};

} // namespace platform
