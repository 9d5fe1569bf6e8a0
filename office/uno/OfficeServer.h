#pragma once

#include "UnoRuntime.h"
#include "UnoText.h"
#include "office/AutomationError.h"
#include "office/CallWatchdog.h"
#include "office/LibreOfficeSettings.h"
#include "office/ProfileSlot.h"
#include "office/ServerProcess.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Exception.hpp>

#include <memory>

namespace office {

// One headless soffice of our own and the UNO bridge to it. Shared by an application object
// and its workbooks; the application ends it, the others only find it ended.
class OfficeServer {
public:
    // Starts soffice on a free private profile and connects to it within the start deadline.
    // Raises AutomationError; nothing is left running then.
    OfficeServer(std::shared_ptr<UnoRuntime> runtime, const LibreOfficeSettings& settings,
                 const QString& soffice);
    ~OfficeServer();
    OfficeServer(const OfficeServer&) = delete;
    OfficeServer& operator=(const OfficeServer&) = delete;

    // Runs step, the remote part of the call named what, under the call deadline: a server that
    // overruns it is killed. Every failure comes out as AutomationError.
    template <typename Step> auto call(const QString& what, Step&& step) -> decltype(step());

    // Raises AutomationError unless the server is still there to take a call.
    void checkRunning(const QString& what);
    const css::uno::Reference<css::frame::XDesktop2>& desktop() const { return m_desktop; }

    // From the moment stop is requested, a call that does not return within a few seconds ends
    // the server as an overrun does.
    void setStopRequest(std::stop_token stop);

    // Asks LibreOffice to terminate and waits for it, killing it after the grace period.
    void quit();
    // Ends the server without asking it over UNO, which may be what hangs.
    void end();

private:
    void connect();
    void configure(const css::uno::Reference<css::uno::XComponentContext>& remote);
    // Raises the error for a failed call, naming the likeliest cause; disconnected tells that
    // the bridge to the server broke.
    [[noreturn]] void fail(const QString& what, const QString& detail, bool disconnected = false);
    void releaseBridge();
    void removeStalePipes() const;

    std::shared_ptr<UnoRuntime> m_runtime;
    LibreOfficeSettings m_settings;
    QString m_soffice;
    QString m_pipeName;
    ProfileSlot m_profile;
    std::unique_ptr<ServerProcess> m_process;
    std::unique_ptr<CallWatchdog> m_watchdog;
    css::uno::Reference<css::lang::XComponent> m_bridge;
    css::uno::Reference<css::frame::XDesktop2> m_desktop;
    bool m_ended = false;
};

template <typename Step>
auto OfficeServer::call(const QString& what, Step&& step) -> decltype(step()) {
    checkRunning(what);
    const CallWatchdog::Guard guard(*m_watchdog, m_settings.callTimeout());
    try {
        return step();
    } catch (const AutomationError&) {
        throw;
    } catch (const css::lang::DisposedException& e) {
        fail(what, fromUno(e.Message), true);
    } catch (const css::uno::Exception& e) {
        fail(what, fromUno(e.Message));
    } catch (const std::exception& e) {
        fail(what, QString::fromUtf8(e.what()));
    }
}

} // namespace office
