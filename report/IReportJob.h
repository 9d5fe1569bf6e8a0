#pragma once

#include "RenderControl.h"

namespace report {

// One workbook's print job as the report printer took it: the workbook, its sheets and where
// it goes are fixed, so that it can be painted on a thread of its own while the printer is
// given the next workbook. Going away, it takes whatever it painted with it, queued or not.
class IReportJob {
public:
    virtual ~IReportJob() = default;

    // Paints the job. Any one thread may call it, several jobs of one printer at once; it
    // touches nothing of the printer that took it but what is shared for that reason. A stop
    // requested through control ends it before the next page with RenderStopped, leaving
    // nothing painted behind.
    virtual void Render(const RenderControl& control) = 0;
    // Queues the painted job on its printer (or writes its PDF file), on the printer's own
    // thread, after Render. Throws ReportError as Print does.
    virtual void Submit() = 0;
};

} // namespace report
