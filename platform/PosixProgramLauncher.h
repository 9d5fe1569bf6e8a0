#pragma once

#include "ChildProcesses.h"
#include "IProgramLauncher.h"

namespace platform {

class PosixProgramLauncher : public IProgramLauncher {
public:
    explicit PosixProgramLauncher(ChildProcesses& children);
    void startProgram(const QString& path) override;

private:
    ChildProcesses& m_children;
};

} // namespace platform
