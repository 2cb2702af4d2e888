// The single-instance rule: a lock file in the per-user runtime folder, held for the
// process's whole life and removed when the process ends cleanly. Lock files nobody holds
// any more (their process died) are removed by the next process that takes a lock.
#pragma once

#include "platform/Status.h"

#include <string>

namespace z417 {

enum class InstanceLock { Acquired, HeldByAnother };

class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // name: the lock's file name inside the runtime folder, without ".lock".
    Result<InstanceLock> acquire(const std::string& name);
    // Gives the lock up and removes its file.
    void release();

private:
    int fd_ = -1;
    std::string path_;
};

// Removes the lock files in folder whose lock nobody holds; returns how many went.
int removeStaleLocks(const std::string& folder);

} // namespace z417
