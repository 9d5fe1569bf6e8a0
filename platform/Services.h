#pragma once

#include "ICommandLine.h"
#include "IDirectorySearch.h"
#include "IInstanceLock.h"
#include "IMessageBox.h"
#include "IVersionInfo.h"

namespace platform {

// The operating-system services, made once at start-up and handed to whoever needs them.
struct Services {
    IInstanceLock& instanceLock;
    ICommandLine& commandLine;
    IVersionInfo& versionInfo;
    IDirectorySearch& directorySearch;
    IMessageBox& messageBox;
};

} // namespace platform
