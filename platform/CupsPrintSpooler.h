#pragma once

#include "IPrintSpooler.h"

namespace platform {

// Submits jobs through libcups to the scheduler it reaches (CUPS_SERVER, client.conf or the
// local one), checking the scheduler's answer to every step. Usable from any thread: libcups
// keeps one connection and one last error per thread.
class CupsPrintSpooler : public IPrintSpooler {
public:
    int submitPdf(const QString& queue, const QString& title, const QString& pdfPath) override;
};

} // namespace platform
