#pragma once

#include <functional>

namespace platform {

// Requests from outside the program to end it, such as the operating system's termination
// signals. Each arrives on the user-interface thread, between two events.
class IEndRequests {
public:
    virtual ~IEndRequests() = default;
    // handler is called for every request from now on, in place of any earlier handler; an
    // empty handler drops the requests.
    virtual void setHandler(std::function<void()> handler) = 0;
};

} // namespace platform
