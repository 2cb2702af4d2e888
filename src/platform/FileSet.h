// Several files of one folder replaced as one change: afterwards every reader sees all the
// new contents or all the old ones, whatever happens in between (a kill, a full disk, a
// power cut).
//
// 1. Each new content is written and flushed beside its file (StagedFile). A failure here
//    removes what was staged and leaves every file as it was.
// 2. A small intent file, ".z417-settings.commit", naming each staged file and its target, is
//    written and renamed into place: from now on the change happens.
// 3. The staged files are renamed over their targets, the folder is flushed, and the intent
//    file is removed.
// A holder that dies in step 3 leaves the intent file; the next one to take the folder's lock
// exclusively renames the staged files that are still there (finishInterruptedChange). One that
// dies before step 2 leaves only temporaries, which the next save of those files removes.
#pragma once

#include "platform/Status.h"

#include <string>
#include <vector>

namespace z417 {

class FolderLock;

constexpr const char* kFileSetIntentName = ".z417-settings.commit";

struct FileReplacement {
    std::string path;
    std::string content;
};

// Needs the folder's lock held exclusively. A failure names the file and the system's text.
Status replaceFilesTogether(const FolderLock& lock, const std::vector<FileReplacement>& files);

// Completes a change a dead holder left in folder; nothing to do without an intent file.
// Called by FolderLock with the lock held exclusively.
Status finishInterruptedChange(const std::string& folder);

// Whether folder holds a change that is not finished.
bool hasInterruptedChange(const std::string& folder);

} // namespace z417
