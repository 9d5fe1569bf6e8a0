#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace office {

// Runs an action when a call takes longer than its deadline. A blocked call cannot be
// interrupted from its own thread, so a thread of the watchdog's own waits for the deadline.
class CallWatchdog {
public:
    explicit CallWatchdog(std::function<void()> onExpiry);
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog&) = delete;
    CallWatchdog& operator=(const CallWatchdog&) = delete;

    // From the moment stop is requested, the call under way and every later one get at most
    // grace before the action runs.
    void setStop(std::stop_token stop, std::chrono::milliseconds grace);
    // Starts the clock for one call.
    void arm(std::chrono::milliseconds timeout);
    // Stops it. Once disarm() returns, the action is not running and will not run for this call.
    void disarm();
    // Whether the action ran for the call armed last.
    bool fired() const;

    // Keeps the watchdog armed for one call while it lives.
    class Guard {
    public:
        Guard(CallWatchdog& watchdog, std::chrono::milliseconds timeout)
            : m_watchdog(watchdog) {
            m_watchdog.arm(timeout);
        }
        ~Guard() { m_watchdog.disarm(); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        CallWatchdog& m_watchdog;
    };

private:
    void run();
    void cutShort();

    std::function<void()> m_onExpiry;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::chrono::steady_clock::time_point m_deadline;
    unsigned long m_call = 0; // counts arm() calls, so that a new call is told from the last
    bool m_armed = false;
    bool m_fired = false;
    bool m_stopping = false;
    std::chrono::milliseconds m_grace{0};
    std::stop_token m_stop;
    std::thread m_thread;
    // Last, so that it goes first: it may call cutShort() until it is gone.
    std::optional<std::stop_callback<std::function<void()>>> m_onStop;
};

} // namespace office
