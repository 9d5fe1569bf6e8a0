#include "PosixProgramLauncher.h"

#include "FileName.h"
#include "PlatformError.h"

namespace platform {

PosixProgramLauncher::PosixProgramLauncher(ChildProcesses& children)
    : m_children(children) {}

void PosixProgramLauncher::startProgram(const QString& path) {
    const ChildProcesses::Started started = m_children.start({encodeFileName(path)});
    if (started.error != 0)
        throw PlatformError::fromErrno(started.error, path);
}

} // namespace platform
