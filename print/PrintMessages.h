#pragma once

#include "PathResult.h"

#include "platform/IMessageBox.h"

#include <QString>

namespace print {

// The closing message of either path: printing has started.
QString startedMessage();
// The one error message of the spreadsheet application path.
QString excelFailureMessage();
// The one error message of the report printer path.
QString reportFailureMessage();
// The message after the user stopped a run.
QString abortedMessage();

// Why a path failed, for standard error, since the message shown names neither the workbook
// nor the cause: the workbook it stopped at, or the step that failed when it was handing over
// none. Empty unless the path failed.
QString diagnosticLine(const PathResult& result);
// Writes diagnosticLine(result), when there is one, to standard error.
void writeDiagnostics(const PathResult& result);

// Tells the user how a path ended, with failureText for a failure.
void showOutcome(platform::IMessageBox& messageBox, const QString& title, const PathResult& result,
                 const QString& failureText);

} // namespace print
