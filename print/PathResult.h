#pragma once

#include <QString>

namespace print {

// How a print path ended.
struct PathResult {
    enum class Outcome {
        Completed, // every ticked workbook was handed over
        Failed,    // a call failed; the rest of the list was not printed
        Aborted,   // the user stopped the run between two workbooks
    };
    Outcome outcome = Outcome::Completed;
    // On failure: the workbook being printed (empty when none was yet) and the cause.
    QString failedFile;
    QString cause;
};

} // namespace print
