#include "platform/UserData.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace z417 {

const char* const kUserDataFolderName = "z417-gaming-mouse";

namespace {

const char* const kDefaultFiles[] = {"config.bin", "str.ini"};

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    if (folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

// "/a/b///" -> "/a/b"; "/" stays "/".
std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

Status failure(const std::string& what, const std::string& path, int code) {
    return Status::failure(kProgramCaption, what + " " + path + ": " + systemErrorText(code));
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Makes path and every missing folder above it (mode 0700, as the configuration home is made).
// Returns 0 or the errno of the failing step; failedAt names the folder it failed on.
int makeFolders(const std::string& path, std::string& failedAt) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t slash = path.find('/', from);
        const std::string prefix = slash == std::string::npos ? path : path.substr(0, slash);
        if (!prefix.empty() && prefix != "." && prefix != "..") {
            struct stat st {};
            if (stat(prefix.c_str(), &st) == 0) {
                if (!S_ISDIR(st.st_mode)) {
                    failedAt = prefix;
                    return ENOTDIR;
                }
            } else if (errno != ENOENT) {
                failedAt = prefix;
                return errno;
            } else if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
                failedAt = prefix;
                return errno;
            } else if (!isDirectory(prefix)) {
                // Lost a race with something that is not a folder.
                failedAt = prefix;
                return ENOTDIR;
            }
        }
        if (slash == std::string::npos) {
            return 0;
        }
        from = slash + 1;
    }
}

// Puts the complete staged file at target unless something is there already. A hard link cannot
// replace an existing name, so a file that appeared since the caller looked (another start at
// the same moment) is kept. File systems without hard links get a rename after one more look.
int placeWithoutReplacing(const std::string& staged, const std::string& target) {
    if (link(staged.c_str(), target.c_str()) == 0 || errno == EEXIST) {
        if (unlink(staged.c_str()) != 0 && errno != ENOENT) {
            return errno;
        }
        return 0;
    }
    const int linkError = errno;
    if (linkError != EPERM && linkError != ENOTSUP && linkError != EOPNOTSUPP &&
        linkError != ENOSYS && linkError != EMLINK) {
        unlink(staged.c_str()); // best effort: the link's own error is the one reported
        return linkError;
    }
    struct stat st {};
    if (lstat(target.c_str(), &st) == 0) {
        if (unlink(staged.c_str()) != 0 && errno != ENOENT) {
            return errno;
        }
        return 0;
    }
    if (errno != ENOENT || rename(staged.c_str(), target.c_str()) != 0) {
        const int code = errno;
        unlink(staged.c_str()); // best effort, as above
        return code;
    }
    return 0;
}

// Copies sharedDir/name to settingsDir/name when settingsDir holds nothing of that name.
Status seedDefault(const std::string& sharedDir, const std::string& settingsDir,
                   const std::string& name) {
    const std::string target = joinPath(settingsDir, name);
    struct stat st {};
    if (lstat(target.c_str(), &st) == 0) {
        return Status(); // the user's own file (or link) stays as it is
    }
    if (errno != ENOENT) {
        return failure("Cannot look for the settings file", target, errno);
    }

    const std::string source = joinPath(sharedDir, name);
    const Result<std::string> content = readFileContents(source);
    if (!content) {
        return failure("Cannot read the default settings file", source,
                       content.status().systemError);
    }
    const std::string staged = joinPath(settingsDir, "." + name + ".default");
    if (const Status written = writeFileAtomically(staged, *content); !written) {
        return failure("Cannot write the settings file", staged, written.systemError);
    }
    if (const int code = placeWithoutReplacing(staged, target); code != 0) {
        return failure("Cannot create the settings file", target, code);
    }
    if (const int code = syncFolder(settingsDir); code != 0) {
        return failure("Cannot flush the settings folder", settingsDir, code);
    }
    return Status();
}

// Makes the per-user settings folder and copies in the installed defaults it lacks.
Status prepareSettingsFolder(const std::string& sharedDir, const std::string& settingsDir) {
    std::string failedAt;
    if (const int code = makeFolders(settingsDir, failedAt); code != 0) {
        return Status::failure(kProgramCaption, "Cannot create the settings folder " + settingsDir +
                                                    " (at " + failedAt +
                                                    "): " + systemErrorText(code));
    }
    for (const char* name : kDefaultFiles) {
        if (Status seeded = seedDefault(sharedDir, settingsDir, name); !seeded) {
            return seeded;
        }
    }
    return Status();
}

} // namespace

Result<std::string> userConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return withoutTrailingSlashes(xdg);
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return joinPath(withoutTrailingSlashes(home), ".config");
    }

    const uid_t uid = getuid();
    const long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 1024);
    struct passwd entry {};
    struct passwd* found = nullptr;
    for (;;) {
        const int code = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
        if (code == ERANGE && buffer.size() < (std::size_t{1} << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (code != 0) {
            return Status::failure(kProgramCaption,
                                   "HOME is not set and the user database cannot be read: " +
                                       systemErrorText(code));
        }
        break;
    }
    if (found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] == '\0') {
        return Status::failure(kProgramCaption, "HOME is not set and user id " +
                                                    std::to_string(uid) +
                                                    " has no home folder in the user database");
    }
    return joinPath(withoutTrailingSlashes(found->pw_dir), ".config");
}

Result<DataLocation> locateDataLocation(const std::string& exeDir, const std::string& sharedDir) {
    DataLocation result;
    const std::string besideExe = joinPath(exeDir, "config.bin");
    struct stat st {};
    const int lookup = stat(besideExe.c_str(), &st) == 0 ? 0 : errno;
    if (lookup == 0 && !S_ISDIR(st.st_mode)) {
        result.settingsDir = exeDir;
        result.configBin = besideExe;
        result.strIni = joinPath(exeDir, "str.ini");
        result.skinsRoot = joinPath(exeDir, "Skins");
        result.portable = true;
        return result;
    }
    if (lookup != 0 && lookup != ENOENT && lookup != ENOTDIR) {
        return failure("Cannot look for", besideExe, lookup);
    }
    Result<std::string> configHome = userConfigHome();
    if (!configHome) {
        return configHome.takeStatus();
    }
    result.settingsDir = joinPath(*configHome, kUserDataFolderName);
    result.configBin = joinPath(result.settingsDir, "config.bin");
    result.strIni = joinPath(result.settingsDir, "str.ini");
    const std::string userSkins = joinPath(result.settingsDir, "Skins");
    result.skinsRoot = isDirectory(userSkins) ? userSkins : joinPath(sharedDir, "Skins");
    return result;
}

Result<DataLocation> resolveDataLocation(const std::string& exeDir, const std::string& sharedDir) {
    Result<DataLocation> located = locateDataLocation(exeDir, sharedDir);
    if (located && !located->portable) {
        if (Status prepared = prepareSettingsFolder(sharedDir, located->settingsDir); !prepared) {
            return prepared;
        }
    }
    return located;
}

namespace {

using DataLocationChoice = Result<DataLocation> (*)(const std::string&, const std::string&);

// Applies a choice of data location to the running program's executable folder and the
// installed defaults of this build.
Result<DataLocation> chooseOwnDataLocation(DataLocationChoice choose) {
    Result<std::string> modulePath = readModulePath();
    if (!modulePath) {
        return modulePath.takeStatus();
    }
    return choose(buildAppPaths(*modulePath).exeDir, Z417_SHARED_DATA_DIR);
}

} // namespace

Result<DataLocation> locateOwnDataLocation() {
    return chooseOwnDataLocation(locateDataLocation);
}

Result<DataLocation> resolveOwnDataLocation() {
    return chooseOwnDataLocation(resolveDataLocation);
}

} // namespace z417
