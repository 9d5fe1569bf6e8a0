#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <sys/types.h>

namespace office {

// A server program running in a process group of its own, so that the programs it starts end
// with it. It gets SIGTERM when the thread that started it ends, and this object never leaves
// it behind: the destructor ends the whole group.
class ServerProcess {
public:
    // How stop() begins: with SIGTERM, or by waiting for an exit the server was already asked for.
    enum class Stop { SendTerm, AlreadyAsked };

    // Starts program with its own name as argv[0]. keptDescriptor (or -1) stays open in it;
    // every other descriptor but the standard ones is closed. Raises AutomationError when the
    // program cannot be executed.
    ServerProcess(const QString& program, const QStringList& arguments, int keptDescriptor,
                  std::chrono::milliseconds grace);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // Whether the program has ended. It is not reaped before stop(), so that its process group
    // id cannot be reused while the group may still be signalled.
    bool hasExited();
    // "exit status N" or "signal N" once the program has ended.
    QString exitDescription() const;
    // Sends signal to every process of the group; a no-op once stop() has reaped the program.
    // Safe to call from another thread while the owner waits in a call.
    void signalGroup(int signal) const;
    bool waitForExit(std::chrono::milliseconds timeout);
    // Ends the group (SIGKILL after the grace period) and reaps the program.
    void stop(Stop how);

private:
    pid_t m_pid = -1;
    std::chrono::milliseconds m_grace;
    bool m_exited = false;
    int m_exitCode = 0;
    int m_exitSignal = 0;
    std::atomic<bool> m_reaped{false};
};

} // namespace office
