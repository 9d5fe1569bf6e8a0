#pragma once

#include "ICommandLine.h"
#include "IDirectorySearch.h"
#include "IEndRequests.h"
#include "IInstanceLock.h"
#include "IMessageBox.h"
#include "IProfileFile.h"
#include "IProgramLauncher.h"
#include "IRegistry.h"
#include "IShell.h"
#include "IVersionInfo.h"

namespace platform {

// The operating-system services, made once at start-up and handed to whoever needs them.
struct Services {
    IInstanceLock& instanceLock;
    ICommandLine& commandLine;
    IVersionInfo& versionInfo;
    IDirectorySearch& directorySearch;
    IMessageBox& messageBox;
    IProfileFile& profileFile;
    IShell& shell;
    IProgramLauncher& programLauncher;
    IRegistry& registry;
    IEndRequests& endRequests;
};

} // namespace platform
