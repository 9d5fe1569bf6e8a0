#include "ChildProcesses.h"

#include <cerrno>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform {

namespace {

int statusToCode(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 0;
}

} // namespace

ChildProcesses::Started ChildProcesses::start(const QList<QByteArray>& argv,
                                              const QByteArray& directory) {
    reap();
    if (argv.isEmpty())
        return {0, EINVAL};
    std::vector<char*> args;
    args.reserve(static_cast<std::size_t>(argv.size()) + 1);
    for (const QByteArray& arg : argv)
        args.push_back(const_cast<char*>(arg.constData()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    if (!directory.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.constData());
    // A session of its own: the started program outlives us and ignores our terminal.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int error = argv.first().contains('/')
                          ? posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ)
                          : posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return {0, error};
    m_children.emplace(pid, std::nullopt);
    return {pid, 0};
}

ChildProcesses::State ChildProcesses::state(pid_t pid, int* exitCode) {
    reap();
    const auto child = m_children.find(pid);
    if (child == m_children.end())
        return State::Unknown;
    if (!child->second)
        return State::Running;
    if (exitCode != nullptr)
        *exitCode = *child->second;
    return State::Ended;
}

void ChildProcesses::reap() {
    for (auto& [pid, code] : m_children) {
        if (code)
            continue;
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            code = statusToCode(status);
    }
}

std::optional<QByteArray> findOnPath(const QByteArray& name) {
    const QByteArray path = qgetenv("PATH");
    for (QByteArray folder : path.split(':')) {
        if (folder.isEmpty())
            folder = ".";
        const QByteArray candidate = folder + '/' + name;
        struct stat info {};
        if (::stat(candidate.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.constData(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

} // namespace platform
