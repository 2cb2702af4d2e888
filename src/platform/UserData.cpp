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

std::string describe(const std::string& what, const std::string& path, int code) {
    return what + " " + path + ": " + std::strerror(code);
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
bool seedDefault(const std::string& sharedDir, const std::string& settingsDir,
                 const std::string& name, std::string& error) {
    const std::string target = joinPath(settingsDir, name);
    struct stat st {};
    if (lstat(target.c_str(), &st) == 0) {
        return true; // the user's own file (or link) stays as it is
    }
    if (errno != ENOENT) {
        error = describe("Cannot look for the settings file", target, errno);
        return false;
    }

    const std::string source = joinPath(sharedDir, name);
    std::string content;
    if (const int code = readFileContents(source, content); code != 0) {
        error = describe("Cannot read the default settings file", source, code);
        return false;
    }
    const std::string staged = joinPath(settingsDir, "." + name + ".default");
    if (const int code = writeFileAtomically(staged, content); code != 0) {
        error = describe("Cannot write the settings file", staged, code);
        return false;
    }
    if (const int code = placeWithoutReplacing(staged, target); code != 0) {
        error = describe("Cannot create the settings file", target, code);
        return false;
    }
    if (const int code = syncFolder(settingsDir); code != 0) {
        error = describe("Cannot flush the settings folder", settingsDir, code);
        return false;
    }
    return true;
}

// Makes the per-user settings folder and copies in the installed defaults it lacks.
bool prepareSettingsFolder(const std::string& sharedDir, const std::string& settingsDir,
                           std::string& error) {
    std::string failedAt;
    if (const int code = makeFolders(settingsDir, failedAt); code != 0) {
        error = "Cannot create the settings folder " + settingsDir + " (at " + failedAt +
                "): " + std::strerror(code);
        return false;
    }
    for (const char* name : kDefaultFiles) {
        if (!seedDefault(sharedDir, settingsDir, name, error)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool userConfigHome(std::string& out, std::string& error) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        out = withoutTrailingSlashes(xdg);
        return true;
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        out = joinPath(withoutTrailingSlashes(home), ".config");
        return true;
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
            error = std::string("HOME is not set and the user database cannot be read: ") +
                    std::strerror(code);
            return false;
        }
        break;
    }
    if (found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] == '\0') {
        error = "HOME is not set and user id " + std::to_string(uid) +
                " has no home folder in the user database";
        return false;
    }
    out = joinPath(withoutTrailingSlashes(found->pw_dir), ".config");
    return true;
}

bool locateDataLocation(const std::string& exeDir, const std::string& sharedDir, DataLocation& out,
                        std::string& error) {
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
        out = result;
        return true;
    }
    if (lookup != 0 && lookup != ENOENT && lookup != ENOTDIR) {
        error = describe("Cannot look for", besideExe, lookup);
        return false;
    }
    std::string configHome;
    if (!userConfigHome(configHome, error)) {
        return false;
    }
    result.settingsDir = joinPath(configHome, kUserDataFolderName);
    result.configBin = joinPath(result.settingsDir, "config.bin");
    result.strIni = joinPath(result.settingsDir, "str.ini");
    const std::string userSkins = joinPath(result.settingsDir, "Skins");
    result.skinsRoot = isDirectory(userSkins) ? userSkins : joinPath(sharedDir, "Skins");
    out = result;
    return true;
}

bool resolveDataLocation(const std::string& exeDir, const std::string& sharedDir, DataLocation& out,
                         std::string& error) {
    DataLocation result;
    if (!locateDataLocation(exeDir, sharedDir, result, error)) {
        return false;
    }
    if (!result.portable && !prepareSettingsFolder(sharedDir, result.settingsDir, error)) {
        return false;
    }
    out = result;
    return true;
}

namespace {

using DataLocationChoice = bool (*)(const std::string&, const std::string&, DataLocation&,
                                    std::string&);

// Applies a choice of data location to the running program's executable folder and the
// installed defaults of this build.
bool chooseOwnDataLocation(DataLocationChoice choose, DataLocation& out, std::string& error) {
    std::string modulePath;
    if (!readModulePath(modulePath, error)) {
        return false;
    }
    return choose(buildAppPaths(modulePath).exeDir, Z417_SHARED_DATA_DIR, out, error);
}

} // namespace

bool locateOwnDataLocation(DataLocation& out, std::string& error) {
    return chooseOwnDataLocation(locateDataLocation, out, error);
}

bool resolveOwnDataLocation(DataLocation& out, std::string& error) {
    return chooseOwnDataLocation(resolveDataLocation, out, error);
}

} // namespace z417
