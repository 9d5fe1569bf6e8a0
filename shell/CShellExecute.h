#pragma once

#include "platform/IMessageBox.h"
#include "platform/IShell.h"

#include <QString>

// Hands one target to the desktop: a web or mail address, a folder to open or explore, a document
// to open or print, or a program with parameters. The launch members answer -1 when the request
// was accepted and the refusal's code otherwise (2 file not found, 3 path not found, ...).
// LaunchDocument and LaunchProgram keep the started process for StillExecuting. An error inside
// a member is shown in a message box titled with the member's name, and the member answers 0
// (or false); nothing is ever raised to the caller.
class CShellExecute {
public:
    static constexpr qint32 SW_HIDE = 0;
    static constexpr qint32 SW_SHOWDEFAULT = 10;

    CShellExecute(platform::IShell& shell, platform::IMessageBox& messageBox);

    // Whether the process of the last LaunchDocument or LaunchProgram still runs.
    bool StillExecuting();
    qint32 Explore(qint32 lnghWnd, const QString& strFolder, qint32 eShowStyle = SW_SHOWDEFAULT);
    qint32 LaunchDocument(qint32 lnghWnd, const QString& strDocument, const QString& strStartIn,
                          qint32 eShowStyle = SW_SHOWDEFAULT);
    qint32 LaunchEmail(qint32 lnghWnd, const QString& strAddress,
                       qint32 eShowStyle = SW_SHOWDEFAULT);
    qint32 LaunchFolder(qint32 lnghWnd, const QString& strFolder,
                        qint32 eShowStyle = SW_SHOWDEFAULT);
    qint32 LaunchProgram(qint32 lnghWnd, const QString& strProgram,
                         const QString& strParameters = QString(),
                         const QString& strStartIn = QString(),
                         qint32 eShowStyle = SW_SHOWDEFAULT);
    qint32 LaunchURL(qint32 lnghWnd, const QString& strURL, qint32 eShowStyle = SW_SHOWDEFAULT);
    qint32 PrintDocument(qint32 lnghWnd, const QString& strDocument);

private:
    qint32 plainLaunch(const char* member, qint32 lnghWnd, const char* verb, const QString& file,
                       qint32 showStyle);
    qint32 extendedLaunch(const char* member, qint32 lnghWnd, const QString& file,
                          const QString& parameters, const QString& startIn, qint32 showStyle);
    void showError(const char* member, int number, const QString& description);
    // Runs call; an error inside it is shown, titled member, and fallback is answered instead.
    template <typename Result, typename Call>
    Result trapped(const char* member, Result fallback, Call call);

    platform::IShell& m_shell;
    platform::IMessageBox& m_messageBox;
    qint32 lnghInstApp = 0;
    qint32 lnghProcess = 0;
};
