// Whole-file reads and crash-safe whole-file replacement.
//
// A file is never rewritten in place: the new content goes into a temporary file in the same
// folder, which is flushed to disk and then renamed over the old one. A crash, a full disk or
// any other failure therefore leaves either the complete old file or the complete new one,
// never a mixture, and no temporary file stays behind after a reported failure.
#pragma once

#include "platform/Status.h"

#include <cerrno>
#include <cstddef>
#include <functional>
#include <string>

namespace z417 {

// The temporary file is written in pieces of at most this many bytes (one write() each).
constexpr size_t kAtomicWriteChunkBytes = 64 * 1024;

// Replaces path with content atomically. Returns 0 on success, else the errno of the failing
// call. On failure the old file (if any) is exactly as it was.
//
// - A symbolic link is followed (its target is replaced and the link stays), except one that
//   the kernel's protected-symlinks rule would refuse: a link in a sticky, world-writable
//   folder such as /tmp that belongs neither to the folder's owner nor to this user (EACCES).
//   Every link of a chain is checked.
// - Only a regular file, or nothing, is ever replaced: a folder gives EISDIR, a device node,
//   FIFO or socket kErrNotRegularFile.
// - An existing file that this user may not write (its permission bits, a read-only mount) is
//   refused with the errno an open for writing would give (EACCES, EROFS), although the
//   rename alone could replace it.
// - The replaced file keeps its permission bits (and, when running as root, its owner and
//   group); a new file gets 0666 less the umask, like any file created with fopen().
// - After the rename the folder is flushed too, so the new name survives a power cut. If only
//   that last flush fails, the new content is already in place and its errno is returned.
// - After a successful save, temporary files of earlier saves of the same file that were
//   interrupted (".NAME.tmp-XXXXXX", ours, not being written) are removed.
//
// FileFlush::PageCache skips both flushes to disk: the file is still replaced whole or not at
// all for every reader, but a power cut may lose the last save. For files that are rewritten
// often and matter little, such as the simulated mouse's state.
//
// A failure is fileFailure(path, errno): it names the file and gives the system's text.
enum class FileFlush { Disk, PageCache };
Status writeFileAtomically(const std::string& path, const std::string& content,
                           FileFlush flush = FileFlush::Disk);

// A new content written and flushed to disk beside the file it is to replace (the temporary
// ".NAME.tmp-XXXXXX" that writeFileAtomically uses), checked the same way, but not yet in
// place: for changing several files together. Removed again unless moved into place.
class StagedFile {
public:
    static Result<StagedFile> stage(const std::string& path, const std::string& content);
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;
    StagedFile(const StagedFile&) = delete;
    ~StagedFile();

    const std::string& target() const { return target_; } // links resolved
    const std::string& temporary() const { return temporary_; }
    // The rename over the target. Returns 0 or the errno.
    int moveIntoPlace();
    // Leaves the temporary where it is whatever happens, for whoever finishes the change.
    void keep() { kept_ = true; }

private:
    StagedFile(int fd, std::string target, std::string temporary);
    int fd_ = -1; // held (and locked) until moved or removed
    std::string target_;
    std::string temporary_;
    bool moved_ = false;
    bool kept_ = false;
};

// Whether name is one of writeFileAtomically's temporaries of the file target in its folder.
bool isTemporaryFor(const std::string& temporary, const std::string& target);

// A failure of a file operation: caption the path, text fileErrorText(error), and the errno.
Status fileFailure(const std::string& path, int error);

// Test seam: when set, called before each write() of the temporary file with the byte count;
// returning a non-zero errno makes that write fail with it (simulates a full disk half way).
// Pass an empty function to remove it.
void setAtomicWriteFaultHook(std::function<int(size_t)> hook);

// True when something exists at path (a file, a folder, or a link to one).
bool fileExists(const std::string& path);

// Flushes a folder's entries after a rename into it. Returns 0 or the errno; a file system that
// cannot sync a folder (EINVAL) counts as done.
int syncFolder(const std::string& folder);

// The error for something at a path that is neither a regular file nor a folder (a device
// node, FIFO or socket). fileErrorText() names it.
constexpr int kErrNotRegularFile = EMEDIUMTYPE;
// strerror(), with kErrNotRegularFile as "not a regular file" and EFBIG as "file too large".
std::string fileErrorText(int error);

// Largest file readFileContents() reads unless told otherwise.
constexpr size_t kDefaultReadLimitBytes = 4 * 1024 * 1024;

// The whole file. A failure is fileFailure(path, errno) with the errno of the failing call
// (ENOENT when it does not exist). Only regular files are read: a folder gives EISDIR,
// anything else kErrNotRegularFile, without blocking on a FIFO or opening a device. A file of
// more than maxBytes (also one that grows while it is read) gives EFBIG.
Result<std::string> readFileContents(const std::string& path,
                                     size_t maxBytes = kDefaultReadLimitBytes);

} // namespace z417
