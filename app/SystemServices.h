#pragma once

#include "platform/BuildVersionInfo.h"
#include "platform/ChildProcesses.h"
#include "platform/FlockInstanceLock.h"
#include "platform/IniProfileFile.h"
#include "platform/PosixCommandLine.h"
#include "platform/PosixDirectorySearch.h"
#include "platform/PosixProgramLauncher.h"
#include "platform/QtMessageBox.h"
#include "platform/Services.h"
#include "platform/SignalEndRequests.h"
#include "platform/SystemInfoRegistry.h"
#include "platform/XdgShell.h"

// The real operating-system services of a running program, made once at start-up.
class SystemServices {
public:
    // argv as the program received it (after Qt took its own options); the instance lock is
    // taken at once. Made after the application object.
    SystemServices(int argc, const char* const* argv,
                   const QString& lockPath = platform::FlockInstanceLock::defaultLockPath());
    SystemServices(const SystemServices&) = delete;
    SystemServices& operator=(const SystemServices&) = delete;

    platform::Services& services() { return m_services; }

private:
    platform::FlockInstanceLock m_instanceLock;
    platform::PosixCommandLine m_commandLine;
    platform::BuildVersionInfo m_versionInfo;
    platform::PosixDirectorySearch m_directorySearch;
    platform::QtMessageBox m_messageBox;
    platform::IniProfileFile m_profileFile;
    platform::ChildProcesses m_children;
    platform::XdgShell m_shell;
    platform::PosixProgramLauncher m_programLauncher;
    platform::SystemInfoRegistry m_registry;
    platform::SignalEndRequests m_endRequests;
    platform::Services m_services;
};
