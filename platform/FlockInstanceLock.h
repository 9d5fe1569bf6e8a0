#pragma once

#include "IInstanceLock.h"

#include <QString>

namespace platform {

// A per-user lock file held with flock(2) for the life of this object. The kernel drops the lock
// when the process ends in any way, so a crashed copy never blocks the next start.
class FlockInstanceLock : public IInstanceLock {
public:
    // Tries the lock at once; lockPath defaults to defaultLockPath().
    explicit FlockInstanceLock(const QString& lockPath = defaultLockPath());
    ~FlockInstanceLock() override;
    FlockInstanceLock(const FlockInstanceLock&) = delete;
    FlockInstanceLock& operator=(const FlockInstanceLock&) = delete;

    // True when another process holds the lock.
    bool prevInstance() const override { return m_heldElsewhere; }

    // tessaly.lock in $XDG_RUNTIME_DIR, or tessaly-<uid>.lock in the temporary folder.
    static QString defaultLockPath();

private:
    int m_fd = -1;
    bool m_heldElsewhere = false;
};

} // namespace platform
