// A file that may not be written is not replaced behind its back: the rename into a writable
// folder could replace it, but the writer refuses it as an open for writing would.
#include "platform/AtomicFile.h"
#include "platform/PermissionOverride.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace z417 {
namespace {

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST(AtomicFileProtection, ReadOnlyFileIsRefusedAndKeptDirectlyAndThroughALink) {
    struct Case {
        const char* name;
        bool throughLink;
    } cases[] = {{"the file itself", false}, {"a link to it", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string file = dir.file("config.bin");
        test::writeRaw(file, "keep me");
        ASSERT_EQ(chmod(file.c_str(), 0444), 0);
        std::string path = file;
        if (c.throughLink) {
            path = dir.file("link.bin");
            ASSERT_EQ(symlink("config.bin", path.c_str()), 0);
        }
        int result = -1;
        {
            test::WithoutPermissionOverride unprivileged;
            if (!unprivileged.ok())
                GTEST_SKIP() << "cannot give up the permission override: " << unprivileged.error();
            const int fd = open(file.c_str(), O_WRONLY | O_CLOEXEC);
            if (fd >= 0) {
                close(fd);
                GTEST_SKIP() << "a read-only file still takes writes here";
            }
            result = writeFileAtomically(path, "new content").systemError;
        }
        EXPECT_EQ(result, EACCES);
        EXPECT_EQ(test::readRaw(file), "keep me");
        EXPECT_EQ(modeOf(file), mode_t{0444});
        std::vector<std::string> expected = {"config.bin"};
        if (c.throughLink)
            expected.push_back("link.bin");
        std::vector<std::string> entries = dir.entries();
        std::sort(entries.begin(), entries.end());
        EXPECT_EQ(entries, expected) << "temporary file left";
    }
}

// The owner's write bit is what counts, not the folder's: a writable file is replaced as
// before, also by a user without the override.
TEST(AtomicFileProtection, WritableFileIsStillReplacedWithoutTheOverride) {
    test::TempDir dir;
    const std::string file = dir.file("str.ini");
    test::writeRaw(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0644), 0);
    int result = -1;
    {
        test::WithoutPermissionOverride unprivileged;
        if (!unprivileged.ok())
            GTEST_SKIP() << "cannot give up the permission override: " << unprivileged.error();
        result = writeFileAtomically(file, "new").systemError;
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(test::readRaw(file), "new");
    EXPECT_EQ(modeOf(file), mode_t{0644});
}

} // namespace
} // namespace z417
