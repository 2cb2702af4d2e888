#include "platform/FolderLock.h"

#include "platform/AtomicFile.h"
#include "platform/FileSet.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <utility>

namespace z417 {
namespace {

void sleepMs(unsigned ms) {
    timespec pause{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}

// flock() with a bounded wait: polls, a little less often the longer it waits.
int lockWithin(int fd, int operation, unsigned waitMs) {
    unsigned waited = 0;
    unsigned pause = 1;
    while (flock(fd, operation | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return errno;
        if (waited >= waitMs)
            return EAGAIN;
        sleepMs(pause);
        waited += pause;
        pause = pause < 16 ? pause * 2 : 16;
    }
    return 0;
}

bool cannotMakeHere(int error) {
    return error == EACCES || error == EROFS || error == EPERM || error == ENOENT;
}

// Opens (making it when missing) the lock file; only a regular file will do.
int openLockFile(const std::string& path, LockMode mode) {
    constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
    if (fd < 0 && mode == LockMode::Shared && cannotMakeHere(errno))
        fd = open(path.c_str(), O_RDONLY | kFlags);
    if (fd < 0)
        return -errno;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -kErrNotRegularFile;
    }
    return fd;
}

// A reader that finds a half-done change finishes it first, as a writer would.
int finishAsReader(int fd, const std::string& folder) {
    while (hasInterruptedChange(folder)) {
        if (const int err = lockWithin(fd, LOCK_EX, kFolderLockWaitMs); err != 0)
            return err;
        const bool finished = finishInterruptedChange(folder).ok;
        if (const int err = lockWithin(fd, LOCK_SH, kFolderLockWaitMs); err != 0)
            return err;
        if (!finished)
            break; // read what is there; a writer will report why it cannot be finished
    }
    return 0;
}

} // namespace

FolderLock::FolderLock(int fd, std::string folder, LockMode mode)
    : fd_(fd), folder_(std::move(folder)), mode_(mode) {}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), folder_(std::move(other.folder_)), mode_(other.mode_) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        folder_ = std::move(other.folder_);
        mode_ = other.mode_;
    }
    return *this;
}

FolderLock::~FolderLock() {
    if (fd_ >= 0)
        close(fd_); // lets go of the lock
}

Result<FolderLock> FolderLock::acquire(const std::string& folder, LockMode mode) {
    const std::string path = folder + "/" + kFolderLockName;
    const int fd = openLockFile(path, mode);
    if (fd < 0) {
        if (mode == LockMode::Shared && cannotMakeHere(-fd))
            return FolderLock(-1, folder, mode);
        return fileFailure(path, -fd);
    }
    FolderLock lock(fd, folder, mode);
    const bool exclusive = mode == LockMode::Exclusive;
    if (const int err = lockWithin(fd, exclusive ? LOCK_EX : LOCK_SH, kFolderLockWaitMs); err != 0)
        return fileFailure(path, err);
    if (!exclusive) {
        if (const int err = finishAsReader(fd, folder); err != 0)
            return fileFailure(path, err);
        return Result<FolderLock>(std::move(lock));
    }
    if (Status finished = finishInterruptedChange(folder); !finished)
        return finished;
    return Result<FolderLock>(std::move(lock));
}

} // namespace z417
