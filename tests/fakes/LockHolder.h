#pragma once

// Another process holding a file lock, as a running copy of the program holds its own.

#include <QProcess>
#include <QString>

// One process with no children that could inherit the lock holds it until it is killed; true
// once it holds it.
inline bool holdLockElsewhere(QProcess& holder, const QString& lockPath) {
    holder.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import fcntl, sys, time\n"
                                 "f = open(sys.argv[1], 'w')\n"
                                 "fcntl.flock(f, fcntl.LOCK_EX)\n"
                                 "print('held', flush=True)\n"
                                 "time.sleep(60)\n"),
                  lockPath});
    return holder.waitForReadyRead(10000) && holder.readAll().startsWith("held");
}
