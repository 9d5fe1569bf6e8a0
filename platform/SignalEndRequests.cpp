#include "SignalEndRequests.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// The pipe's write end, for the signal handler, which can reach no object.
std::atomic<int> g_writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read inside a signal handler");

// Runs inside a signal handler: async-signal-safe calls only. A full pipe already holds a
// request, so a failed write loses nothing.
void onEndSignal(int signal) {
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd.load(), &number, 1);
    errno = savedErrno;
}

} // namespace

SignalEndRequests::SignalEndRequests() {
    int ends[2] = {-1, -1};
    // Close-on-exec: no program started from here inherits the pipe.
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        // The signals then keep their default action and end the program on the spot.
        std::fprintf(stderr, "tessaly: cannot watch for termination signals: %s\n",
                     std::strerror(errno));
        return;
    }
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    g_writeEnd = m_writeEnd;
    m_notifier = std::make_unique<QSocketNotifier>(m_readEnd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SignalEndRequests::readRequests);

    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls elsewhere in the program carry on as if nothing had happened.
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &m_previous[i]);
}

SignalEndRequests::~SignalEndRequests() {
    if (m_readEnd < 0)
        return;
    for (size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &m_previous[i], nullptr);
    g_writeEnd = -1;
    m_notifier.reset();
    ::close(m_readEnd);
    ::close(m_writeEnd);
}

void SignalEndRequests::setHandler(std::function<void()> handler) {
    m_handler = std::move(handler);
}

void SignalEndRequests::readRequests() {
    // Several signals before this read make one request: the program ends once.
    unsigned char numbers[64];
    bool requested = false;
    while (::read(m_readEnd, numbers, sizeof numbers) > 0)
        requested = true;
    if (requested && m_handler)
        m_handler();
}

} // namespace platform
