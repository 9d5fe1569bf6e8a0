#pragma once

#include <QByteArray>
#include <QList>

#include <map>
#include <optional>
#include <sys/types.h>

namespace platform {

// Programs started as children of this process, each in a session of its own, and what became
// of them. Finished children are reaped whenever the object is used, so none stays a zombie for
// long; their exit codes are kept for whoever asks.
class ChildProcesses {
public:
    struct Started {
        pid_t pid = 0;
        int error = 0; // errno of a start that failed, 0 when the program runs
    };
    enum class State { Unknown, Running, Ended };

    ChildProcesses() = default;
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    // Starts argv[0] (looked up on PATH when it holds no "/") with the rest of argv as its
    // arguments, in directory (ours when empty). Never through a shell.
    Started start(const QList<QByteArray>& argv, const QByteArray& directory = {});
    // Whether pid is a child started here and whether it still runs; exitCode receives the code
    // of an ended one (128 + the signal's number for one killed by a signal).
    State state(pid_t pid, int* exitCode = nullptr);

private:
    void reap();

    std::map<pid_t, std::optional<int>> m_children;
};

// The full path of an executable file named name in a folder of PATH.
std::optional<QByteArray> findOnPath(const QByteArray& name);

} // namespace platform
