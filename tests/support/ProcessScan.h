#pragma once

#include <QByteArray>
#include <QList>

#include <sys/types.h>

namespace testsupport {

// The processes whose command line contains text; a test names its own private folder here to
// find the programs it caused to run. Zombies have no command line and are not listed.
QList<pid_t> processesMentioning(const QByteArray& text);

// The command line of a process, its arguments separated by NUL bytes; empty once it has gone.
QByteArray commandLine(pid_t pid);

// Sends signal to each of the processes.
void signalProcesses(const QList<pid_t>& processes, int signal);

} // namespace testsupport
