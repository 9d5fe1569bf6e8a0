#include "PrintJobMonitor.h"

#include <com/sun/star/view/PrintableState.hpp>

namespace office {

void PrintJobMonitor::printJobEvent(const css::view::PrintJobEvent& event) {
    switch (event.State) {
    case css::view::PrintableState_JOB_SPOOLED:
    case css::view::PrintableState_JOB_COMPLETED:
        m_spooled = true;
        break;
    case css::view::PrintableState_JOB_ABORTED:
    case css::view::PrintableState_JOB_FAILED:
    case css::view::PrintableState_JOB_SPOOLING_FAILED:
        m_failed = true;
        break;
    default:
        break;
    }
}

void PrintJobMonitor::disposing(const css::lang::EventObject& /*source*/) {}

} // namespace office
