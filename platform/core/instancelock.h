#pragma once
// A per-user lock that lets only one copy of the program run at a time.

#include <string>

namespace platform {

// Holds an exclusive lock on a file named after `name` in the user's runtime
// folder ($XDG_RUNTIME_DIR, else the temporary folder with the user id in the
// name). The operating system drops the lock when the process ends, however
// it ends, so a crashed copy never blocks the next start.
class InstanceLock {
public:
    explicit InstanceLock(const std::string& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this object holds the lock.
    bool Acquired() const { return fd_ >= 0; }
    // True when another process holds the lock: another copy is running. When
    // the lock file cannot be opened at all, neither is true and the program
    // runs unguarded rather than refusing to start.
    bool HeldElsewhere() const { return heldElsewhere_; }
    void Release();

    // The lock file used for `name`.
    static std::string LockPath(const std::string& name);

private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
};

} // namespace platform
