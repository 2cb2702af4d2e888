// The lock of a settings folder. Every program that changes the files of a folder holds it
// exclusively from its first read to its last write; readers hold it shared. It is an
// flock() on ".z417-settings.lock" in the folder, so the kernel lets go of it when its holder
// ends in any way, a kill included. Whoever takes it exclusively first finishes (or throws
// away) a change of several files that a dead holder left half done (see FileSet.h); a reader
// that finds one takes the lock exclusively for as long as that takes.
#pragma once

#include "platform/Status.h"

#include <string>

namespace z417 {

constexpr const char* kFolderLockName = ".z417-settings.lock";
// How long a program waits for another holder before it gives up.
constexpr unsigned kFolderLockWaitMs = 10000;

enum class LockMode { Shared, Exclusive };

class FolderLock {
public:
    // Waits up to kFolderLockWaitMs. A failure names the lock file and the system's text (EAGAIN
    // when the wait ran out). A reader in a folder where it cannot make the lock file (nobody
    // of its rights can change anything there) goes on without one: held() is then false.
    static Result<FolderLock> acquire(const std::string& folder, LockMode mode);

    // No lock at all, for files that are not a settings folder's (a device node, a FIFO).
    static FolderLock none(const std::string& folder, LockMode mode) { return {-1, folder, mode}; }

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    bool held() const { return fd_ >= 0; }
    LockMode mode() const { return mode_; }
    const std::string& folder() const { return folder_; }

private:
    FolderLock(int fd, std::string folder, LockMode mode);
    int fd_ = -1;
    std::string folder_;
    LockMode mode_ = LockMode::Shared;
};

} // namespace z417
