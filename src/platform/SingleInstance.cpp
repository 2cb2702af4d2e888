#include "platform/SingleInstance.h"

#include "platform/BalloonSocket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace z417 {

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

SingleInstanceLock::Result SingleInstanceLock::acquire(const std::string& name,
                                                       std::string& error) {
    if (!ensureRuntimeFolder(error))
        return Result::Error;
    const std::string path = runtimeFolder() + "/" + name + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return Result::Error;
    }
    int rc;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int e = errno;
        ::close(fd);
        if (e == EWOULDBLOCK)
            return Result::HeldByAnother;
        error = path + ": " + std::strerror(e);
        return Result::Error;
    }
    fd_ = fd;
    return Result::Acquired;
}

} // namespace z417
