// Files and folders for the core tests: a temporary folder that cleans up after itself,
// raw file reading and writing, and the write fault seam restored however a test ends.
#pragma once

#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace z417::test {

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "z417-test") {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "mkdtemp failed: errno " << errno;
        path_ = pattern;
    }
    ~TempDir() {
        namespace fs = std::filesystem;
        std::error_code ec;
        // A test may have taken the write bits away.
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    std::string path_;
};

// Sets the atomic writer's fault hook for the guard's life.
struct FaultHookGuard {
    explicit FaultHookGuard(std::function<int(size_t)> hook) {
        setAtomicWriteFaultHook(std::move(hook));
    }
    ~FaultHookGuard() { setAtomicWriteFaultHook({}); }
};

inline void writeRaw(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string readRaw(const std::string& path) {
    Result<std::string> content = readFileContents(path);
    EXPECT_EQ(content ? 0 : content.status().systemError, 0) << path;
    return content ? std::move(content).value() : std::string();
}

} // namespace z417::test
