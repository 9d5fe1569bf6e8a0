#pragma once

#include <com/sun/star/view/XPrintJobListener.hpp>
#include <cppuhelper/implbase1.hxx>

#include <atomic>

namespace office {

// Hears how one print job went. LibreOffice reports a job that the print system refused only
// through these events, never through the print call itself. Events arrive on a bridge thread.
class PrintJobMonitor : public cppu::WeakImplHelper1<css::view::XPrintJobListener> {
public:
    // Whether the job reached the print system and nothing went wrong on the way.
    bool spooled() const { return m_spooled && !m_failed; }

    void SAL_CALL printJobEvent(const css::view::PrintJobEvent& event) override;
    void SAL_CALL disposing(const css::lang::EventObject& source) override;

private:
    std::atomic<bool> m_spooled{false};
    std::atomic<bool> m_failed{false};
};

} // namespace office
