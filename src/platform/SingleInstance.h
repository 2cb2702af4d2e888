// The single-instance rule: a lock file in the per-user runtime folder, held for the
// process's whole life.
#pragma once

#include <string>

namespace z417 {

class SingleInstanceLock {
public:
    enum class Result { Acquired, HeldByAnother, Error };

    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // name: the lock's file name inside the runtime folder.
    Result acquire(const std::string& name, std::string& error);

private:
    int fd_ = -1;
};

} // namespace z417
