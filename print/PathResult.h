#pragma once

#include <QString>

namespace print {

// How a print path ended.
struct PathResult {
    enum class Outcome {
        Completed, // every ticked workbook was handed over
        Failed,    // a call failed; the rest of the list was not printed
        Aborted,   // the user asked the run to stop: no message
    };
    // What the path was doing when it ended.
    enum class Step {
        Starting, // before the first workbook: starting the application server
        Workbook, // handing over failedFile
        Ending,   // after the last workbook: quitting the application server
    };
    Outcome outcome = Outcome::Completed;
    Step step = Step::Starting;
    // On failure: the workbook being handed over (empty outside Step::Workbook) and the cause.
    QString failedFile;
    QString cause;
};

} // namespace print
