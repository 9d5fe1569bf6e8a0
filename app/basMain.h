#pragma once

#include "filelist/colFileName.h"
#include "platform/Services.h"
#include "print/PrintServices.h"

#include <QStringList>

#include <memory>

namespace basMain {

// The start-up paths from the command line, one entry per piece; read once by the main window.
extern std::shared_ptr<colFileName> gcolFileName;

// The argument text cut at every double quote: n quotes give n + 1 pieces, none dropped.
QStringList SplitArgumentText(const QString& strText);

// The message shown when another copy is already running.
QString SecondInstanceMessage();

// Start-up: refuses to run beside another copy (after a message), fills gcolFileName from the
// command line, and opens the main window, which prints through printServices. Returns false
// when the program must end at once.
bool Main(platform::Services& services, PrintServices& printServices);

} // namespace basMain
