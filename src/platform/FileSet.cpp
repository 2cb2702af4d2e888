#include "platform/FileSet.h"

#include "platform/AtomicFile.h"
#include "platform/FolderLock.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace z417 {
namespace {

// The intent file: a first line, then one temporary and its target per entry, each ended by
// a NUL (a path may hold any other byte), and an end mark. Written whole or not at all.
constexpr std::string_view kIntentHeader = "z417 file set 1\n";
constexpr std::string_view kIntentEnd = "end\n";

std::string intentPath(const std::string& folder) {
    return folder + "/" + kFileSetIntentName;
}

std::string intentText(const std::vector<StagedFile>& staged) {
    std::string text(kIntentHeader);
    for (const StagedFile& f : staged) {
        text.append(f.temporary()).push_back('\0');
        text.append(f.target()).push_back('\0');
    }
    return text.append(kIntentEnd);
}

struct IntentEntry {
    std::string temporary;
    std::string target;
};

// The entries of a whole intent file; an empty list for anything else.
std::vector<IntentEntry> parseIntent(const std::string& text) {
    std::vector<IntentEntry> entries;
    if (text.compare(0, kIntentHeader.size(), kIntentHeader) != 0 ||
        text.size() < kIntentHeader.size() + kIntentEnd.size() ||
        text.compare(text.size() - kIntentEnd.size(), kIntentEnd.size(), kIntentEnd) != 0)
        return {};
    const size_t end = text.size() - kIntentEnd.size();
    size_t pos = kIntentHeader.size();
    while (pos < end) {
        const size_t a = text.find('\0', pos);
        const size_t b = a == std::string::npos ? a : text.find('\0', a + 1);
        if (b == std::string::npos || b >= end)
            return {};
        IntentEntry e{text.substr(pos, a - pos), text.substr(a + 1, b - a - 1)};
        // Only our own temporaries beside their own targets are ever renamed.
        if (!isTemporaryFor(e.temporary, e.target))
            return {};
        entries.push_back(std::move(e));
        pos = b + 1;
    }
    return entries;
}

Status syncFolders(const std::set<std::string>& folders) {
    for (const std::string& folder : folders)
        if (const int err = syncFolder(folder); err != 0)
            return fileFailure(folder, err);
    return {};
}

Status removeIntent(const std::string& folder) {
    if (unlink(intentPath(folder).c_str()) != 0 && errno != ENOENT)
        return fileFailure(intentPath(folder), errno);
    // Not flushed: should the removal be lost in a power cut, the next holder of the lock finds
    // the intent again with nothing left to rename, and removes it.
    return {};
}

} // namespace

bool hasInterruptedChange(const std::string& folder) {
    return fileExists(intentPath(folder));
}

Status finishInterruptedChange(const std::string& folder) {
    const std::string path = intentPath(folder);
    const Result<std::string> text = readFileContents(path, 64 * 1024);
    if (!text)
        return text.status().systemError == ENOENT ? Status{} : text.status();
    std::set<std::string> folders;
    for (const IntentEntry& e : parseIntent(*text)) {
        struct stat st {};
        if (lstat(e.temporary.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue; // moved into place before the holder died
        if (rename(e.temporary.c_str(), e.target.c_str()) != 0)
            return fileFailure(e.target, errno);
        folders.insert(folderOf(e.target));
    }
    if (Status synced = syncFolders(folders); !synced)
        return synced;
    return removeIntent(folder);
}

Status replaceFilesTogether(const FolderLock& lock, const std::vector<FileReplacement>& files) {
    if (!lock.held() || lock.mode() != LockMode::Exclusive)
        return fileFailure(lock.folder() + "/" + kFolderLockName, ENOLCK);
    std::vector<StagedFile> staged;
    staged.reserve(files.size());
    for (const FileReplacement& f : files) {
        Result<StagedFile> one = StagedFile::stage(f.path, f.content);
        if (!one)
            return one.takeStatus(); // the staged ones are removed again
        staged.push_back(std::move(one.value()));
    }
    if (Status noted = writeFileAtomically(intentPath(lock.folder()), intentText(staged)); !noted)
        return noted;
    for (StagedFile& f : staged)
        f.keep(); // from here on the change is finished, by this holder or the next one
    std::set<std::string> folders;
    for (StagedFile& f : staged) {
        if (const int err = f.moveIntoPlace(); err != 0)
            return fileFailure(f.target(), err); // the next holder of the lock finishes it
        folders.insert(folderOf(f.target()));
    }
    if (Status synced = syncFolders(folders); !synced)
        return synced;
    return removeIntent(lock.folder());
}

} // namespace z417
