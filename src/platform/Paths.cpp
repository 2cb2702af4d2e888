#include "platform/Paths.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace z417 {

const char* const kWindowsExeName = "Z417 Gaming mouse.exe";

namespace {

const char* const kConfigBinName = "config.bin";
const char* const kStrIniName = "str.ini";
const char* const kSkinsName = "Skins";

std::string joinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

} // namespace

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

ReplaceResult replaceAll(const std::string& text, const std::string& search,
                         const std::string& replacement) {
    ReplaceResult result{{}, 0};
    if (search.empty()) {
        result.text = text;
        return result;
    }
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(search, from);
        if (at == std::string::npos) {
            break;
        }
        result.text.append(text, from, at - from);
        result.text += replacement;
        ++result.count;
        from = at + search.size();
    }
    result.text.append(text, from, std::string::npos);
    return result;
}

AppPaths buildAppPaths(const std::string& modulePath) {
    AppPaths paths;
    paths.modulePath = modulePath;
    const ReplaceResult config = replaceAll(modulePath, kWindowsExeName, kConfigBinName);
    if (config.count > 0) {
        // The executable carries its Windows name: the names take its place, wherever it
        // occurs, and the skins lie under the path with the name removed.
        paths.configBin = config.text;
        paths.strIni = replaceAll(modulePath, kWindowsExeName, kStrIniName).text;
        paths.exeDir = replaceAll(modulePath, kWindowsExeName, "").text;
        paths.skinsRoot = paths.exeDir + "/" + kSkinsName;
        return paths;
    }
    paths.exeDir = folderOf(modulePath);
    paths.configBin = joinPath(paths.exeDir, kConfigBinName);
    paths.strIni = joinPath(paths.exeDir, kStrIniName);
    paths.skinsRoot = joinPath(paths.exeDir, kSkinsName);
    return paths;
}

std::string skinFolder(const AppPaths& paths, const std::string& skinName) {
    return paths.skinsRoot + "/" + skinName;
}

std::vector<std::string> subfolderNames(const std::string& root) {
    std::vector<std::string> names;
    DIR* dir = root.empty() ? nullptr : ::opendir(root.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        if (::stat(joinPath(root, name).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

const char* const kProgramCaption = "z417-gaming-mouse";

Result<std::string> readModulePath() {
    // readlink does not say how long the target is; grow until it fits with room to spare.
    std::vector<char> buffer(1024);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return Status::failure(kProgramCaption,
                                   std::string("readlink(\"/proc/self/exe\") failed: ") +
                                       systemErrorText(errno));
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        if (buffer.size() >= (std::size_t{1} << 20))
            return Status::failure(
                kProgramCaption,
                "readlink(\"/proc/self/exe\") failed: the path is longer than 1 MiB");
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace z417
