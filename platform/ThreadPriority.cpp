#include "ThreadPriority.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace platform {

namespace {

// Nice steps below the thread's own: about a third of its share when the two compete.
constexpr int kLower = 5;
constexpr int kLowestNice = 19;

} // namespace

void lowerThreadPriority() {
    thread_local bool lowered = false;
    if (lowered)
        return;
    lowered = true;
    // On Linux a thread has a nice value of its own; 0 names the calling thread.
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, 0);
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()),
                      std::min(nice + kLower, kLowestNice));
}

} // namespace platform
