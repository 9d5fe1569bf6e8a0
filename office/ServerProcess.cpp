#include "ServerProcess.h"

#include "AutomationError.h"
#include "platform/FileName.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace office {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(10);

struct ChildSetup {
    char* const* argv;
    pid_t parent;
    int devNull;
    int keptDescriptor;
    int errorPipe;
    int descriptorLimit;
};

// Runs in the vforked child of a possibly multi-threaded parent, on the parent's memory, with
// every signal blocked: async-signal-safe calls only, and no handler of the parent may run
// here, so each one is reset before signals are let through.
[[noreturn]] void execChild(const ChildSetup& setup) {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != setup.parent)
        ::_exit(127);

    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    for (int number = 1; number < NSIG; ++number) {
        struct sigaction current {};
        if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN &&
            current.sa_handler != SIG_DFL)
            ::sigaction(number, &defaultAction, nullptr);
    }
    for (const int number : {SIGPIPE, SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGCHLD})
        ::sigaction(number, &defaultAction, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);

    ::dup2(setup.devNull, STDIN_FILENO);
    ::dup2(setup.devNull, STDOUT_FILENO);
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        for (int fd = 3; fd < setup.descriptorLimit; ++fd) {
            if (fd != setup.keptDescriptor && fd != setup.errorPipe)
                ::close(fd);
        }
    }
    if (setup.keptDescriptor >= 0)
        ::fcntl(setup.keptDescriptor, F_SETFD, 0);
    ::execv(setup.argv[0], setup.argv);

    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(setup.errorPipe, &error, sizeof error);
    ::_exit(127);
}

AutomationError startError(const QString& program, int error) {
    return AutomationError(QStringLiteral("Cannot start %1: %2")
                               .arg(program, QString::fromLocal8Bit(std::strerror(error))));
}

} // namespace

ServerProcess::ServerProcess(const QString& program, const QStringList& arguments,
                             int keptDescriptor, std::chrono::milliseconds grace)
    : m_grace(grace) {
    std::vector<QByteArray> bytes;
    bytes.reserve(static_cast<size_t>(arguments.size()) + 1);
    bytes.push_back(platform::encodeFileName(program));
    for (const QString& argument : arguments)
        bytes.push_back(platform::encodeFileName(argument));
    std::vector<char*> argv;
    argv.reserve(bytes.size() + 1);
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    int errorPipe[2] = {-1, -1};
    if (devNull < 0 || ::pipe2(errorPipe, O_CLOEXEC) != 0) {
        const int error = errno;
        if (devNull >= 0)
            ::close(devNull);
        throw startError(program, error);
    }
    const long openMax = ::sysconf(_SC_OPEN_MAX);
    const ChildSetup setup{
        argv.data(),  ::getpid(),
        devNull,      keptDescriptor,
        errorPipe[1], static_cast<int>(openMax > 0 && openMax < 65536 ? openMax : 65536)};

    // vfork, not fork: fork copies this process's page tables, holding its memory map locked
    // meanwhile, and makes its pages copy-on-write, which holds up the program's other
    // threads, the user-interface thread among them. With vfork this thread waits until the
    // child has executed the server or failed to, and the group exists by then.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    // posix_spawn cannot set the parent-death signal that the child needs.
    const pid_t pid = ::vfork(); // NOLINT(clang-analyzer-security.insecureAPI.vfork)
    if (pid == 0)
        execChild(setup); // NOLINT(clang-analyzer-unix.Vfork): system calls only, then exec
    const int forkError = errno;
    m_pid = pid;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(errorPipe[1]);
    ::close(devNull);
    if (m_pid < 0) {
        ::close(errorPipe[0]);
        m_reaped = true;
        throw startError(program, forkError);
    }

    int execError = 0;
    ssize_t got = 0;
    do {
        got = ::read(errorPipe[0], &execError, sizeof execError);
    } while (got < 0 && errno == EINTR);
    ::close(errorPipe[0]);
    if (got == static_cast<ssize_t>(sizeof execError)) {
        ::waitpid(m_pid, nullptr, 0);
        m_reaped = true;
        throw startError(program, execError);
    }
}

ServerProcess::~ServerProcess() {
    stop(Stop::SendTerm);
}

bool ServerProcess::hasExited() {
    if (m_exited || m_reaped)
        return true;
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
        info.si_pid != m_pid)
        return false;
    m_exited = true;
    if (info.si_code == CLD_EXITED)
        m_exitCode = info.si_status;
    else
        m_exitSignal = info.si_status;
    return true;
}

QString ServerProcess::exitDescription() const {
    if (m_exitSignal != 0)
        return QStringLiteral("signal %1").arg(m_exitSignal);
    return QStringLiteral("exit status %1").arg(m_exitCode);
}

void ServerProcess::signalGroup(int signal) const {
    if (!m_reaped)
        ::kill(-m_pid, signal);
}

bool ServerProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!hasExited()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

void ServerProcess::stop(Stop how) {
    if (m_reaped)
        return;
    if (how == Stop::SendTerm && !hasExited())
        signalGroup(SIGTERM);
    if (!waitForExit(m_grace)) {
        signalGroup(SIGKILL);
        if (!waitForExit(m_grace))
            return; // Unkillable for now; signalled again by the destructor.
    }
    // Whatever is left of the group goes with the program.
    signalGroup(SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_reaped = true;
}

} // namespace office
