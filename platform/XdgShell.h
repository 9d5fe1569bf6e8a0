#pragma once

#include "ChildProcesses.h"
#include "IShell.h"

#include <QList>

namespace platform {

// The desktop's launcher: xdg-open opens addresses, folders and documents with the user's
// chosen applications, lp prints documents, and programs are started directly. Every start is an
// argument vector, never a shell command line. Process handles are process ids of our children.
class XdgShell : public IShell {
public:
    explicit XdgShell(ChildProcesses& children);

    qintptr ShellExecute(qintptr hwnd, const std::optional<QByteArray>& lpOperation,
                         const QByteArray& lpFile, const std::optional<QByteArray>& lpParameters,
                         const std::optional<QByteArray>& lpDirectory, qint32 nShowCmd) override;
    bool ShellExecuteEx(ShellExecuteInfo& info) override;
    int GetExitCodeProcess(qintptr hProcess, quint32& exitCode) override;

    // A parameter text split into arguments: blanks separate them, double quotes group blanks
    // into one, and a doubled or backslashed quote stands for a quote.
    static QList<QByteArray> splitParameters(const QByteArray& parameters);
    // %NAME%, ${NAME} and $NAME replaced by the environment's values; unknown names stay.
    static QByteArray expandEnvironment(const QByteArray& text);

private:
    struct Launch {
        qintptr code = 0;
        pid_t pid = 0;
    };
    Launch start(const QList<QByteArray>& argv, const QByteArray& directory);

    ChildProcesses& m_children;
};

} // namespace platform
