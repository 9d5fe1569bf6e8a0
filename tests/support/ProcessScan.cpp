#include "ProcessScan.h"

#include <QDir>
#include <QFile>

#include <csignal>

namespace testsupport {

QList<pid_t> processesMentioning(const QByteArray& text) {
    QList<pid_t> result;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isPid = false;
        const pid_t pid = static_cast<pid_t>(entry.toInt(&isPid));
        if (!isPid || pid == ::getpid())
            continue;
        if (commandLine(pid).contains(text))
            result.append(pid);
    }
    return result;
}

QByteArray commandLine(pid_t pid) {
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void signalProcesses(const QList<pid_t>& processes, int signal) {
    for (const pid_t pid : processes)
        ::kill(pid, signal);
}

} // namespace testsupport
