#include "CShellExecute.h"

#include "platform/FileName.h"
#include "platform/PlatformError.h"

#include <new>
#include <optional>

namespace {

constexpr quint32 kShellExecuteInfoSize = 60;
constexpr int kOutOfMemory = 7;

// Texts reach the desktop in the locale's narrow encoding; paths keep their bytes.
QByteArray narrow(const QString& text) { return platform::encodeFileName(text); }

qint32 launchResult(qintptr code) { return code > 32 ? -1 : static_cast<qint32>(code); }

} // namespace

CShellExecute::CShellExecute(platform::IShell& shell, platform::IMessageBox& messageBox)
    : m_shell(shell)
    , m_messageBox(messageBox) {}

void CShellExecute::showError(const char* member, int number, const QString& description) {
    m_messageBox.show(QStringLiteral("Error: %1. %2").arg(number).arg(description),
                      platform::MessageIcon::None, QLatin1String(member));
}

template <typename Result, typename Call>
Result CShellExecute::trapped(const char* member, Result fallback, Call call) {
    try {
        return call();
    } catch (const platform::PlatformError& error) {
        showError(member, error.number(), error.description());
    } catch (const std::bad_alloc&) {
        showError(member, kOutOfMemory, QStringLiteral("Out of memory"));
    }
    return fallback;
}

bool CShellExecute::StillExecuting() {
    if (lnghInstApp == 0)
        return false;
    return trapped("StillExecuting", false, [this] {
        quint32 exitCode = 0;
        return m_shell.GetExitCodeProcess(lnghProcess, exitCode) > 0 &&
               exitCode == platform::IShell::kStillActive;
    });
}

qint32 CShellExecute::plainLaunch(const char* member, qint32 lnghWnd, const char* verb,
                                  const QString& file, qint32 showStyle) {
    lnghInstApp = 0;
    lnghProcess = 0;
    return trapped(member, qint32{0}, [&] {
        const std::optional<QByteArray> operation =
            verb == nullptr ? std::nullopt : std::optional<QByteArray>(verb);
        return launchResult(m_shell.ShellExecute(lnghWnd, operation, narrow(file), std::nullopt,
                                                 std::nullopt, showStyle));
    });
}

qint32 CShellExecute::extendedLaunch(const char* member, qint32 lnghWnd, const QString& file,
                                     const QString& parameters, const QString& startIn,
                                     qint32 showStyle) {
    lnghInstApp = 0;
    lnghProcess = 0;
    return trapped(member, qint32{0}, [&] {
        platform::ShellExecuteInfo info;
        info.cbSize = kShellExecuteInfoSize;
        info.fMask = platform::ShellExecuteInfo::SEE_MASK_NOCLOSEPROCESS |
                     platform::ShellExecuteInfo::SEE_MASK_DOENVSUBST;
        info.hwnd = lnghWnd;
        info.lpVerb = QByteArray("Open");
        info.lpFile = narrow(file);
        info.lpParameters = narrow(parameters);
        info.lpDirectory = narrow(startIn);
        info.nShow = showStyle;
        m_shell.ShellExecuteEx(info);
        const qint32 result = launchResult(info.hInstApp);
        // Kept whether the request was accepted or not.
        lnghInstApp = static_cast<qint32>(info.hInstApp);
        lnghProcess = static_cast<qint32>(info.hProcess);
        return result;
    });
}

qint32 CShellExecute::Explore(qint32 lnghWnd, const QString& strFolder, qint32 eShowStyle) {
    return plainLaunch("Explore", lnghWnd, "explore", strFolder, eShowStyle);
}

qint32 CShellExecute::LaunchDocument(qint32 lnghWnd, const QString& strDocument,
                                     const QString& strStartIn, qint32 eShowStyle) {
    return extendedLaunch("LaunchDocument", lnghWnd, strDocument, QString(), strStartIn,
                          eShowStyle);
}

qint32 CShellExecute::LaunchEmail(qint32 lnghWnd, const QString& strAddress, qint32 eShowStyle) {
    return plainLaunch("LaunchEmail", lnghWnd, nullptr, QStringLiteral("mailto:") + strAddress,
                       eShowStyle);
}

qint32 CShellExecute::LaunchFolder(qint32 lnghWnd, const QString& strFolder, qint32 eShowStyle) {
    return plainLaunch("LaunchFolder", lnghWnd, "open", strFolder, eShowStyle);
}

qint32 CShellExecute::LaunchProgram(qint32 lnghWnd, const QString& strProgram,
                                    const QString& strParameters, const QString& strStartIn,
                                    qint32 eShowStyle) {
    return extendedLaunch("LaunchProgram", lnghWnd, strProgram, strParameters, strStartIn,
                          eShowStyle);
}

qint32 CShellExecute::LaunchURL(qint32 lnghWnd, const QString& strURL, qint32 eShowStyle) {
    return plainLaunch("LaunchURL", lnghWnd, nullptr, strURL, eShowStyle);
}

qint32 CShellExecute::PrintDocument(qint32 lnghWnd, const QString& strDocument) {
    return plainLaunch("PrintDocument", lnghWnd, "print", strDocument, SW_HIDE);
}
