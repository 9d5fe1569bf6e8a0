#include "XdgShell.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Any code above 32 means accepted; this one stands for every accepted request.
constexpr qintptr kAccepted = 42;

enum class Verb { Open, Explore, Print, Unknown };

bool sameAscii(const QByteArray& a, const char* b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

Verb verbOf(const std::optional<QByteArray>& verb) {
    if (!verb || verb->isEmpty() || sameAscii(*verb, "open"))
        return Verb::Open;
    if (sameAscii(*verb, "explore"))
        return Verb::Explore;
    if (sameAscii(*verb, "print"))
        return Verb::Print;
    return Verb::Unknown;
}

// "scheme:" with a scheme of two letters or more, so that nothing like a drive letter counts.
bool isUrl(const QByteArray& target) {
    const qsizetype colon = target.indexOf(':');
    if (colon < 2)
        return false;
    for (qsizetype i = 0; i < colon; ++i) {
        const char c = target[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '.' || c == '-';
        if (!letter && !(i > 0 && other))
            return false;
    }
    return true;
}

QByteArray absolute(const QByteArray& path) {
    if (path.startsWith('/'))
        return path;
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr)
        return path;
    return QByteArray(cwd) + '/' + path;
}

mode_t modeOf(const QByteArray& path) {
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 ? info.st_mode : 0;
}

// Why a path names nothing: its file is missing, or already its folder is.
qintptr missingCode(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : path.left(std::max<qsizetype>(slash, 1));
    return S_ISDIR(modeOf(folder)) ? IShell::kFileNotFound : IShell::kPathNotFound;
}

qintptr codeOfStartError(int error, bool helper) {
    switch (error) {
    case ENOENT:
        return helper ? IShell::kNoAssociation : IShell::kFileNotFound;
    case ENOTDIR:
        return IShell::kPathNotFound;
    case EACCES:
    case EPERM:
        return IShell::kAccessDenied;
    case ENOMEM:
    case EAGAIN:
        return IShell::kOutOfMemory;
    default:
        return IShell::kNoAssociation;
    }
}

} // namespace

XdgShell::XdgShell(ChildProcesses& children)
    : m_children(children) {}

XdgShell::Launch XdgShell::start(const QList<QByteArray>& argv, const QByteArray& directory) {
    const ChildProcesses::Started started = m_children.start(argv, directory);
    if (started.error != 0) {
        const bool helper = argv.first() == "xdg-open" || argv.first() == "lp";
        return {codeOfStartError(started.error, helper), 0};
    }
    return {kAccepted, started.pid};
}

qintptr XdgShell::ShellExecute(qintptr /*hwnd*/, const std::optional<QByteArray>& lpOperation,
                               const QByteArray& lpFile,
                               const std::optional<QByteArray>& lpParameters,
                               const std::optional<QByteArray>& lpDirectory, qint32 /*nShowCmd*/) {
    ShellExecuteInfo info;
    info.lpVerb = lpOperation;
    info.lpFile = lpFile;
    info.lpParameters = lpParameters;
    info.lpDirectory = lpDirectory;
    ShellExecuteEx(info);
    return info.hInstApp;
}

bool XdgShell::ShellExecuteEx(ShellExecuteInfo& info) {
    info.hInstApp = 0;
    info.hProcess = 0;
    const bool expand = (info.fMask & ShellExecuteInfo::SEE_MASK_DOENVSUBST) != 0;
    const QByteArray file = expand ? expandEnvironment(info.lpFile.value_or(QByteArray()))
                                   : info.lpFile.value_or(QByteArray());
    const QByteArray directory = expand
                                     ? expandEnvironment(info.lpDirectory.value_or(QByteArray()))
                                     : info.lpDirectory.value_or(QByteArray());
    const QByteArray parameters = info.lpParameters.value_or(QByteArray());

    const Launch launch = [&]() -> Launch {
        const Verb verb = verbOf(info.lpVerb);
        if (verb == Verb::Unknown || file.isEmpty())
            return {verb == Verb::Unknown ? kNoAssociation : kFileNotFound, 0};
        if (!directory.isEmpty() && !S_ISDIR(modeOf(directory)))
            return {kPathNotFound, 0};
        if (isUrl(file))
            return verb == Verb::Open ? start({"xdg-open", file}, directory)
                                      : Launch{kNoAssociation, 0};

        const QByteArray path =
            absolute(directory.isEmpty() || file.startsWith('/') ? file : directory + '/' + file);
        const mode_t mode = modeOf(path);
        if (mode == 0) {
            // A bare program name is looked up on PATH, as a command would be.
            if (verb == Verb::Open && !file.contains('/'))
                if (const auto program = findOnPath(file))
                    return start(QList<QByteArray>{*program} + splitParameters(parameters),
                                 directory);
            return {missingCode(path), 0};
        }
        switch (verb) {
        case Verb::Explore:
            return S_ISDIR(mode) ? start({"xdg-open", path}, directory) : Launch{kNoAssociation, 0};
        case Verb::Print:
            return S_ISREG(mode) ? start({"lp", "--", path}, directory)
                                 : Launch{kNoAssociation, 0};
        default:
            if (S_ISREG(mode) && ::access(path.constData(), X_OK) == 0)
                return start(QList<QByteArray>{path} + splitParameters(parameters), directory);
            return start({"xdg-open", path}, directory);
        }
    }();

    info.hInstApp = launch.code;
    if ((info.fMask & ShellExecuteInfo::SEE_MASK_NOCLOSEPROCESS) != 0)
        info.hProcess = launch.pid;
    return launch.code > 32;
}

int XdgShell::GetExitCodeProcess(qintptr hProcess, quint32& exitCode) {
    int code = 0;
    switch (m_children.state(static_cast<pid_t>(hProcess), &code)) {
    case ChildProcesses::State::Unknown:
        return 0;
    case ChildProcesses::State::Running:
        exitCode = kStillActive;
        return 1;
    case ChildProcesses::State::Ended:
        exitCode = static_cast<quint32>(code);
        return 1;
    }
    return 0;
}

QList<QByteArray> XdgShell::splitParameters(const QByteArray& parameters) {
    QList<QByteArray> arguments;
    QByteArray current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        const char c = parameters[i];
        const bool nextIsQuote = i + 1 < parameters.size() && parameters[i + 1] == '"';
        if (c == '\\' && nextIsQuote) {
            current.append('"');
            inArgument = true;
            ++i;
        } else if (c == '"' && quoted && nextIsQuote) {
            current.append('"');
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
        } else {
            current.append(c);
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

QByteArray XdgShell::expandEnvironment(const QByteArray& text) {
    const auto isNameChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    };
    QByteArray result;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype nameStart = -1;
        qsizetype nameEnd = -1;
        qsizetype after = -1;
        if (text[i] == '%') {
            const qsizetype close = text.indexOf('%', i + 1);
            if (close > i + 1) {
                nameStart = i + 1;
                nameEnd = close;
                after = close + 1;
            }
        } else if (text[i] == '$' && i + 1 < text.size() && text[i + 1] == '{') {
            const qsizetype close = text.indexOf('}', i + 2);
            if (close > i + 2) {
                nameStart = i + 2;
                nameEnd = close;
                after = close + 1;
            }
        } else if (text[i] == '$') {
            qsizetype end = i + 1;
            while (end < text.size() && isNameChar(text[end]))
                ++end;
            if (end > i + 1) {
                nameStart = i + 1;
                nameEnd = end;
                after = end;
            }
        }
        if (nameStart >= 0) {
            const QByteArray name = text.mid(nameStart, nameEnd - nameStart);
            if (qEnvironmentVariableIsSet(name.constData())) {
                result.append(qgetenv(name.constData()));
                i = after;
                continue;
            }
        }
        result.append(text[i]);
        ++i;
    }
    return result;
}

} // namespace platform
