#pragma once

#include "IEndRequests.h"

#include <QObject>

#include <array>
#include <csignal>
#include <memory>

class QSocketNotifier;

namespace platform {

// SIGTERM, SIGINT and SIGHUP as end requests. The signal handler only writes the signal's
// number into a pipe; the user-interface thread reads it there and calls the handler, so the
// program ends through its ordinary paths and never from inside a signal. Signals are process
// wide, so only one object may exist at a time; it restores the earlier handling when it goes.
// Made after the application object, whose event loop watches the pipe.
class SignalEndRequests : public QObject, public IEndRequests {
    Q_OBJECT
public:
    SignalEndRequests();
    ~SignalEndRequests() override;
    SignalEndRequests(const SignalEndRequests&) = delete;
    SignalEndRequests& operator=(const SignalEndRequests&) = delete;

    void setHandler(std::function<void()> handler) override;

private:
    void readRequests();

    static constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

    int m_readEnd = -1;
    int m_writeEnd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::array<struct sigaction, kSignals.size()> m_previous{};
    std::function<void()> m_handler;
};

} // namespace platform
