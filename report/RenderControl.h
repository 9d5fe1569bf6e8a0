#pragma once

#include "ReportError.h"

#include <functional>
#include <stop_token>

namespace report {

// What the run tells a render while it paints: whether to stop, looked at before every page,
// and each page as it is begun (from 1, in the document's order), told on the painting thread.
struct RenderControl {
    std::stop_token stop;
    std::function<void(int page)> pageBegun;
};

// A render ended because its stop was requested: nothing of it is kept.
class RenderStopped : public ReportError {
public:
    RenderStopped()
        : ReportError(QStringLiteral("Printing was stopped.")) {}
};

} // namespace report
