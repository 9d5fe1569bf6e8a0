#include "PrintSystem.h"

#include <utility>

PrintSystem::PrintSystem(office::LibreOfficeSettings settings)
    : m_automation(std::move(settings), m_printers)
    , m_engine(m_codePages)
    , m_reportPrinter(m_codePages, m_spooler)
    , m_services{m_automation, m_engine, m_reportPrinter, m_reportThreads, m_printers, m_pointer} {}
