#pragma once

namespace platform {

// Tells whether another copy of the program is already running for this user.
class IInstanceLock {
public:
    virtual ~IInstanceLock() = default;
    virtual bool prevInstance() const = 0;
};

} // namespace platform
