#pragma once

#include <QString>

namespace platform {

// Starts a program file by its path, with a normal window that takes the focus, and does not
// wait for it.
class IProgramLauncher {
public:
    virtual ~IProgramLauncher() = default;
    // Throws PlatformError when the program cannot be started.
    virtual void startProgram(const QString& path) = 0;
};

} // namespace platform
