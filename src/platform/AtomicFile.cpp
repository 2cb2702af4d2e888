#include "platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace z417 {

namespace {

std::function<int(size_t)>& faultHook() {
    static std::function<int(size_t)> hook;
    return hook;
}

// The folder part and the name part of a path ("a/b/c" -> "a/b", "c"; "c" -> ".", "c").
void splitPath(const std::string& path, std::string& folder, std::string& name) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? std::string("/") : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

// Follows a symbolic link at path so that the link itself survives the rename.
int resolveTarget(const std::string& path, std::string& target) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            target = path;
            return 0;
        }
        return errno;
    }
    if (!S_ISLNK(st.st_mode)) {
        target = path;
        return 0;
    }
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return errno;
    }
    target = resolved;
    free(resolved);
    return 0;
}

mode_t creationMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Writes all of content to fd in chunks, asking the fault hook before every write().
int writeAll(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        size_t count = content.size() - done;
        if (count > kAtomicWriteChunkBytes) {
            count = kAtomicWriteChunkBytes;
        }
        if (const auto& hook = faultHook()) {
            if (const int injected = hook(count); injected != 0) {
                return injected;
            }
        }
        const ssize_t written = write(fd, content.data() + done, count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO; // a regular file never takes zero bytes without an error
        }
        done += static_cast<size_t>(written);
    }
    return 0;
}

} // namespace

// Flushes the folder entry after a rename. Some file systems cannot sync a folder and say so
// with EINVAL; the rename itself is then as durable as that file system allows.
int syncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int result = 0;
    if (fsync(fd) != 0 && errno != EINVAL) {
        result = errno;
    }
    if (close(fd) != 0 && result == 0) {
        result = errno;
    }
    return result;
}

void setAtomicWriteFaultHook(std::function<int(size_t)> hook) {
    faultHook() = std::move(hook);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

int writeFileAtomically(const std::string& path, const std::string& content) {
    std::string target;
    if (const int err = resolveTarget(path, target); err != 0) {
        return err;
    }
    std::string folder;
    std::string name;
    splitPath(target, folder, name);
    if (name.empty()) {
        return EISDIR;
    }

    // Permission bits and owner to keep.
    struct stat old {};
    bool replacing = false;
    mode_t mode = 0;
    if (stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            return EISDIR;
        }
        replacing = true;
        mode = old.st_mode & 07777;
        // The rename would replace a file that this user may not write (a read-only file in a
        // writable folder); refuse it the way opening it for writing would.
        if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return errno;
        }
    } else if (errno == ENOENT) {
        mode = creationMode();
    } else {
        return errno;
    }

    std::string tempPath = folder + "/." + name + ".tmp-XXXXXX";
    std::vector<char> pattern(tempPath.begin(), tempPath.end());
    pattern.push_back('\0');
    int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    tempPath.assign(pattern.data());

    int err = 0;
    if (fchmod(fd, mode) != 0) {
        err = errno;
    }
    if (err == 0 && replacing && geteuid() == 0 &&
        (old.st_uid != geteuid() || old.st_gid != getegid())) {
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            err = errno;
        }
    }
    if (err == 0) {
        err = writeAll(fd, content);
    }
    if (err == 0 && fsync(fd) != 0) {
        err = errno;
    }
    // close() reports delayed write errors on some file systems, so it is checked as well.
    if (close(fd) != 0 && err == 0) {
        err = errno;
    }
    fd = -1;
    if (err == 0 && rename(tempPath.c_str(), target.c_str()) != 0) {
        err = errno;
    }
    if (err != 0) {
        // The first failure is the one reported; the old file has not been touched.
        unlink(tempPath.c_str());
        return err;
    }
    return syncFolder(folder);
}

int readFileContents(const std::string& path, std::string& content) {
    content.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int err = 0;
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        err = errno;
    } else if (S_ISDIR(st.st_mode)) {
        err = EISDIR;
    } else if (st.st_size > 0) {
        content.reserve(static_cast<size_t>(st.st_size));
    }
    char buffer[16384];
    while (err == 0) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            err = errno;
        } else if (got == 0) {
            break;
        } else {
            content.append(buffer, static_cast<size_t>(got));
        }
    }
    if (close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err != 0) {
        content.clear();
    }
    return err;
}

} // namespace z417
