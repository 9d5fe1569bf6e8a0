#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace platform {

// What the extended launch asks for and what it hands back.
struct ShellExecuteInfo {
    static constexpr quint32 SEE_MASK_NOCLOSEPROCESS = 0x40; // hand back the process
    static constexpr quint32 SEE_MASK_DOENVSUBST = 0x200;    // expand variables in file, folder

    quint32 cbSize = 0;
    quint32 fMask = 0;
    qintptr hwnd = 0;
    std::optional<QByteArray> lpVerb;
    std::optional<QByteArray> lpFile;
    std::optional<QByteArray> lpParameters;
    std::optional<QByteArray> lpDirectory;
    qint32 nShow = 0;
    qintptr hInstApp = 0; // out: above 32 when accepted, else the refusal's code
    qintptr hProcess = 0; // out: the started process, 0 when none
};

// Hands targets to the desktop: web and mail addresses, folders, documents, programs. Texts are
// in the locale's narrow encoding; an absent text is std::nullopt, which is not the empty text.
class IShell {
public:
    // Result codes below 33.
    static constexpr qintptr kFileNotFound = 2;
    static constexpr qintptr kPathNotFound = 3;
    static constexpr qintptr kAccessDenied = 5;
    static constexpr qintptr kOutOfMemory = 8;
    static constexpr qintptr kNoAssociation = 31;
    // The exit code of a process that has not ended.
    static constexpr quint32 kStillActive = 259;

    virtual ~IShell() = default;
    // Above 32 when the request was accepted, otherwise the code of the refusal.
    virtual qintptr ShellExecute(qintptr hwnd, const std::optional<QByteArray>& lpOperation,
                                 const QByteArray& lpFile,
                                 const std::optional<QByteArray>& lpParameters,
                                 const std::optional<QByteArray>& lpDirectory, qint32 nShowCmd) = 0;
    virtual bool ShellExecuteEx(ShellExecuteInfo& info) = 0;
    // Nonzero when the code could be read; exitCode is kStillActive while the process runs.
    virtual int GetExitCodeProcess(qintptr hProcess, quint32& exitCode) = 0;
};

} // namespace platform
