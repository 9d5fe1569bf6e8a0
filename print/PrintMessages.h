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

// Tells the user how a path ended, with failureText for a failure. A failure's workbook and
// cause go to standard error as well, since the message itself names neither.
void showOutcome(platform::IMessageBox& messageBox, const QString& title, const PathResult& result,
                 const QString& failureText);

} // namespace print
