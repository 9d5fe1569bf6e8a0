#include "SystemServices.h"

SystemServices::SystemServices(int argc, const char* const* argv, const QString& lockPath)
    : m_instanceLock(lockPath)
    , m_commandLine(argc, argv)
    , m_shell(m_children)
    , m_programLauncher(m_children)
    , m_services{m_instanceLock, m_commandLine, m_versionInfo, m_directorySearch,
                 m_messageBox,   m_profileFile, m_shell,       m_programLauncher,
                 m_registry,     m_endRequests} {}
