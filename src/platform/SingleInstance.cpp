#include "platform/SingleInstance.h"

#include "platform/BalloonSocket.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace z417 {
namespace {

constexpr const char* kLockSuffix = ".lock";
// A lock file removed by another process between our open and our flock: open it again.
constexpr int kOpenAttempts = 8;
// Another process tidying stale lock files holds each one for a moment; a lock that stays
// held over these tries belongs to a running instance.
constexpr int kHeldTries = 4;
constexpr long kHeldRetryNs = 10L * 1000 * 1000;

bool tryLock(int fd, int& error) {
    int rc;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    error = rc == 0 ? 0 : errno;
    return rc == 0;
}

bool lockUnlessHeld(int fd, int& error) {
    for (int i = 0; i < kHeldTries; ++i) {
        if (i > 0) {
            timespec pause{0, kHeldRetryNs};
            nanosleep(&pause, nullptr);
        }
        if (tryLock(fd, error) || error != EWOULDBLOCK)
            break;
    }
    return error == 0;
}

// Whether fd is still the file path names: a process that removes a stale lock file does so
// while it holds the lock, so a lock taken on a file that has meanwhile gone counts for nothing.
bool stillNamedBy(int fd, const std::string& path) {
    struct stat held {
    }, named{};
    return fstat(fd, &held) == 0 && lstat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

bool isLockName(const std::string& name) {
    const std::string suffix = kLockSuffix;
    return name.size() > suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

SingleInstanceLock::~SingleInstanceLock() {
    release();
}

void SingleInstanceLock::release() {
    if (fd_ < 0)
        return;
    ::unlink(path_.c_str()); // while still held, so nobody takes the file as it goes
    ::close(fd_);
    fd_ = -1;
}

Result<InstanceLock> SingleInstanceLock::acquire(const std::string& name) {
    if (Status folder = ensureRuntimeFolder(); !folder)
        return folder;
    const std::string folder = runtimeFolder();
    removeStaleLocks(folder);
    const std::string path = folder + "/" + name + kLockSuffix;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return Status::failure(path, systemErrorText(errno));
        int error = 0;
        if (!lockUnlessHeld(fd, error)) {
            ::close(fd);
            if (error == EWOULDBLOCK)
                return InstanceLock::HeldByAnother;
            return Status::failure(path, systemErrorText(error));
        }
        if (stillNamedBy(fd, path)) {
            release();
            fd_ = fd;
            path_ = path;
            return InstanceLock::Acquired;
        }
        ::close(fd);
    }
    return Status::failure(path, "the lock file keeps being replaced");
}

int removeStaleLocks(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    const uid_t me = getuid();
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isLockName(name))
            continue;
        const std::string path = folder + "/" + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        int error = 0;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == me && tryLock(fd, error) &&
            stillNamedBy(fd, path) && ::unlink(path.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    closedir(dir);
    return removed;
}

} // namespace z417
