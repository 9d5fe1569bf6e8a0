#include "CallWatchdog.h"

#include <algorithm>
#include <utility>

namespace office {

CallWatchdog::CallWatchdog(std::function<void()> onExpiry)
    : m_onExpiry(std::move(onExpiry))
    , m_thread([this] { run(); }) {}

CallWatchdog::~CallWatchdog() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CallWatchdog::setStop(std::stop_token stop, std::chrono::milliseconds grace) {
    m_onStop.reset();
    {
        const std::lock_guard lock(m_mutex);
        m_stop = stop;
        m_grace = grace;
    }
    m_onStop.emplace(std::move(stop), std::function<void()>([this] { cutShort(); }));
}

void CallWatchdog::cutShort() {
    {
        const std::lock_guard lock(m_mutex);
        m_deadline = std::min(m_deadline, std::chrono::steady_clock::now() + m_grace);
    }
    m_changed.notify_all();
}

void CallWatchdog::arm(std::chrono::milliseconds timeout) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_stop.stop_requested())
            timeout = std::min(timeout, m_grace);
        m_deadline = std::chrono::steady_clock::now() + timeout;
        ++m_call;
        m_armed = true;
        m_fired = false;
    }
    m_changed.notify_all();
}

void CallWatchdog::disarm() {
    {
        const std::lock_guard lock(m_mutex);
        m_armed = false;
    }
    m_changed.notify_all();
}

bool CallWatchdog::fired() const {
    const std::lock_guard lock(m_mutex);
    return m_fired;
}

void CallWatchdog::run() {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (!m_armed) {
            m_changed.wait(lock);
            continue;
        }
        const auto call = m_call;
        const auto deadline = m_deadline;
        if (m_changed.wait_until(lock, deadline, [&] {
                return m_stopping || !m_armed || m_call != call || m_deadline != deadline;
            }))
            continue;
        // Still armed for the same call past its deadline. The action runs under the lock, so
        // that disarm() waits for it to finish.
        m_armed = false;
        m_fired = true;
        m_onExpiry();
    }
}

} // namespace office
