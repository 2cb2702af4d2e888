#include "platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// The kernel's protected-symlinks rule: in a sticky, world-writable folder a link is only
// followed when it belongs to the folder's owner or to the user following it.
bool linkIsProtected(const std::string& linkPath, const struct stat& link) {
    std::string folder;
    std::string name;
    splitPath(linkPath, folder, name);
    struct stat dir {};
    if (stat(folder.c_str(), &dir) != 0) {
        return true; // cannot tell: do not follow
    }
    const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
    return shared && link.st_uid != dir.st_uid && link.st_uid != geteuid();
}

// Follows symbolic links at path, one at a time, so that the links themselves survive the
// rename; refuses a link the protected-symlinks rule would refuse.
int resolveTarget(const std::string& path, std::string& target) {
    constexpr int kMaxLinks = 40; // the kernel's own limit
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0) {
            if (errno != ENOENT) {
                return errno;
            }
            target = current;
            return 0;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = current;
            return 0;
        }
        if (linkIsProtected(current, st)) {
            return EACCES;
        }
        std::vector<char> buffer(PATH_MAX + 1);
        const ssize_t length = readlink(current.c_str(), buffer.data(), PATH_MAX);
        if (length < 0) {
            return errno;
        }
        std::string next(buffer.data(), static_cast<size_t>(length));
        if (next.empty() || next.front() != '/') {
            std::string folder;
            std::string name;
            splitPath(current, folder, name);
            next = folder + "/" + next;
        }
        current = next;
    }
    return ELOOP;
}

bool isTemporaryOf(const std::string& entry, const std::string& prefix) {
    constexpr size_t kSuffixLength = 6; // mkostemp's XXXXXX
    return entry.size() == prefix.size() + kSuffixLength &&
           entry.compare(0, prefix.size(), prefix) == 0;
}

// Removes temporary files of earlier, interrupted saves of name in folder: ours, regular, and
// not locked by a save still in progress.
void removeStaleTemporaries(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::string prefix = "." + name + ".tmp-";
    while (const dirent* entry = readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, prefix)) {
            continue;
        }
        const int fd = openat(dirfd(dir), entry->d_name,
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlinkat(dirfd(dir), entry->d_name, 0);
        }
        close(fd);
    }
    closedir(dir);
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

// What is known about the file a save replaces, gathered before anything is written.
struct SaveTarget {
    std::string path; // the file itself, links resolved
    std::string folder;
    std::string name;
    bool replacing = false;
    struct stat old {}; // valid when replacing
    mode_t mode = 0;    // permission bits the new file gets
};

// Checks what lies at the (resolved) target: only a regular file this user may write, or
// nothing, may be replaced. Fills in the permission bits to keep or to create with.
int examineExisting(SaveTarget& t) {
    if (stat(t.path.c_str(), &t.old) != 0) {
        if (errno != ENOENT) {
            return errno;
        }
        t.mode = creationMode();
        return 0;
    }
    if (S_ISDIR(t.old.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(t.old.st_mode)) {
        return kErrNotRegularFile;
    }
    t.replacing = true;
    t.mode = t.old.st_mode & 07777;
    // The rename would replace a file that this user may not write (a read-only file in a
    // writable folder); refuse it the way opening it for writing would.
    if (faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno;
    }
    return 0;
}

int examineTarget(const std::string& path, SaveTarget& t) {
    if (const int err = resolveTarget(path, t.path); err != 0) {
        return err;
    }
    splitPath(t.path, t.folder, t.name);
    if (t.name.empty()) {
        return EISDIR;
    }
    return examineExisting(t);
}

// Creates ".NAME.tmp-XXXXXX" beside the target and locks it until it is renamed or removed,
// which tells a later save's clean-up that this one is still in progress. Returns the file
// descriptor, or -1 with errno set.
int createLockedTemporary(const SaveTarget& t, std::string& tempPath) {
    tempPath = t.folder + "/." + t.name + ".tmp-XXXXXX";
    std::vector<char> pattern(tempPath.begin(), tempPath.end());
    pattern.push_back('\0');
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    tempPath.assign(pattern.data());
    flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

// Gives the temporary the replaced file's permission bits (and owner, as root) and content.
int fillTemporary(int fd, const SaveTarget& t, const std::string& content, FileFlush flush) {
    if (fchmod(fd, t.mode) != 0) {
        return errno;
    }
    if (t.replacing && geteuid() == 0 && (t.old.st_uid != geteuid() || t.old.st_gid != getegid()) &&
        fchown(fd, t.old.st_uid, t.old.st_gid) != 0) {
        return errno;
    }
    if (const int err = writeAll(fd, content); err != 0) {
        return err;
    }
    if (flush == FileFlush::Disk && fsync(fd) != 0) {
        return errno;
    }
    return 0;
}

// Renames the filled temporary over the target; on any failure removes it instead. The first
// failure is the one reported; the old file has then not been touched.
int renameOrDiscard(int fd, int err, const std::string& tempPath, const SaveTarget& t) {
    if (err == 0 && rename(tempPath.c_str(), t.path.c_str()) != 0) {
        err = errno;
    }
    // close() reports delayed write errors on some file systems, so it is checked as well.
    if (close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err != 0) {
        unlink(tempPath.c_str());
    }
    return err;
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

namespace {

// The replacement itself: 0 or the errno of the step that failed.
int replaceAtomically(const std::string& path, const std::string& content, FileFlush flush) {
    SaveTarget target;
    if (const int err = examineTarget(path, target); err != 0) {
        return err;
    }
    std::string tempPath;
    const int fd = createLockedTemporary(target, tempPath);
    if (fd < 0) {
        return errno;
    }
    const int filled = fillTemporary(fd, target, content, flush);
    if (const int err = renameOrDiscard(fd, filled, tempPath, target); err != 0) {
        return err;
    }
    removeStaleTemporaries(target.folder, target.name);
    return flush == FileFlush::Disk ? syncFolder(target.folder) : 0;
}

} // namespace

Status writeFileAtomically(const std::string& path, const std::string& content, FileFlush flush) {
    const int err = replaceAtomically(path, content, flush);
    return err == 0 ? Status{} : fileFailure(path, err);
}

Status fileFailure(const std::string& path, int error) {
    return Status::systemFailure(path, error, fileErrorText(error));
}

StagedFile::StagedFile(int fd, std::string target, std::string temporary)
    : fd_(fd), target_(std::move(target)), temporary_(std::move(temporary)) {}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)), moved_(std::exchange(other.moved_, true)),
      kept_(other.kept_) {}

StagedFile::~StagedFile() {
    if (!moved_ && !kept_ && !temporary_.empty())
        unlink(temporary_.c_str());
    if (fd_ >= 0)
        close(fd_);
}

Result<StagedFile> StagedFile::stage(const std::string& path, const std::string& content) {
    SaveTarget target;
    if (const int err = examineTarget(path, target); err != 0)
        return fileFailure(path, err);
    std::string tempPath;
    const int fd = createLockedTemporary(target, tempPath);
    if (fd < 0)
        return fileFailure(path, errno);
    StagedFile staged(fd, target.path, tempPath);
    if (const int err = fillTemporary(fd, target, content, FileFlush::Disk); err != 0)
        return fileFailure(path, err);
    return Result<StagedFile>(std::move(staged));
}

int StagedFile::moveIntoPlace() {
    if (rename(temporary_.c_str(), target_.c_str()) != 0)
        return errno;
    moved_ = true;
    std::string folder, name;
    splitPath(target_, folder, name);
    removeStaleTemporaries(folder, name);
    return 0;
}

bool isTemporaryFor(const std::string& temporary, const std::string& target) {
    std::string folder, name, tempFolder, tempName;
    splitPath(target, folder, name);
    splitPath(temporary, tempFolder, tempName);
    return tempFolder == folder && isTemporaryOf(tempName, "." + name + ".tmp-");
}

std::string fileErrorText(int error) {
    if (error == kErrNotRegularFile) {
        return "not a regular file";
    }
    if (error == EFBIG) {
        return "file too large";
    }
    return std::strerror(error);
}

namespace {

// Appends up to limit + 1 bytes from fd, so that one byte too many shows the file is too big.
int readBounded(int fd, std::string& content, size_t limit) {
    char buffer[16384];
    while (content.size() <= limit) {
        const size_t room = limit + 1 - content.size();
        const ssize_t got = read(fd, buffer, room < sizeof buffer ? room : sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (got == 0) {
            return 0;
        }
        content.append(buffer, static_cast<size_t>(got));
    }
    return EFBIG;
}

int regularFileCheck(const struct stat& st, size_t maxBytes) {
    if (S_ISDIR(st.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(st.st_mode)) {
        return kErrNotRegularFile;
    }
    return static_cast<unsigned long long>(st.st_size) > maxBytes ? EFBIG : 0;
}

// Reads the whole file into content: 0, or the errno of the failing step (content empty).
int readInto(const std::string& path, std::string& content, size_t maxBytes) {
    // Checked before opening, so that no FIFO is waited on and no device is opened; and again
    // on what was opened (non-blocking), in case the path changed in between.
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return errno;
    }
    if (const int err = regularFileCheck(st, maxBytes); err != 0) {
        return err;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int err = fstat(fd, &st) != 0 ? errno : regularFileCheck(st, maxBytes);
    if (err == 0) {
        content.reserve(static_cast<size_t>(st.st_size));
        err = readBounded(fd, content, maxBytes);
    }
    if (close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err != 0) {
        content.clear();
    }
    return err;
}

} // namespace

Result<std::string> readFileContents(const std::string& path, size_t maxBytes) {
    std::string content;
    if (const int err = readInto(path, content, maxBytes); err != 0)
        return fileFailure(path, err);
    return content;
}

} // namespace z417
