// The instance lock: one holder per name, its file gone at a clean exit, and lock files
// nobody holds any more tidied away by the next start.
#include "platform/SingleInstance.h"
#include "platform/BalloonSocket.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace z417 {
namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        old_ = old ? old : "";
        setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
        ASSERT_TRUE(ensureRuntimeFolder());
    }
    void TearDown() override {
        if (old_.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    }
    std::string lockFile(const std::string& name) const {
        return runtimeFolder() + "/" + name + ".lock";
    }
    bool exists(const std::string& name) const { return access(lockFile(name).c_str(), F_OK) == 0; }

    test::TempDir runtime_;
    std::string old_;
};

TEST_F(SingleInstanceTest, TheLockFileGoesWithItsHolder) {
    {
        SingleInstanceLock first;
        const Result<InstanceLock> taken = first.acquire("z417-demo-1");
        ASSERT_TRUE(taken);
        EXPECT_EQ(*taken, InstanceLock::Acquired);
        EXPECT_TRUE(exists("z417-demo-1"));

        SingleInstanceLock second;
        const Result<InstanceLock> again = second.acquire("z417-demo-1");
        ASSERT_TRUE(again);
        EXPECT_EQ(*again, InstanceLock::HeldByAnother);
        EXPECT_TRUE(exists("z417-demo-1")) << "a second start removed the holder's file";
    }
    EXPECT_FALSE(exists("z417-demo-1"));
}

// Lock files of ended processes (337 of them after a while with the demo) go at the next
// start; a lock that is held, and files that are not lock files, stay.
TEST_F(SingleInstanceTest, StaleLockFilesAreRemovedAndHeldOnesKept) {
    for (const char* name : {"z417-demo-a", "z417-demo-b", "z417-gaming-mouse"})
        test::writeRaw(lockFile(name), "");
    test::writeRaw(runtimeFolder() + "/notes.txt", "");
    const int held = open(lockFile("z417-demo-b").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);

    SingleInstanceLock lock;
    const Result<InstanceLock> taken = lock.acquire("z417-gaming-mouse");
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, InstanceLock::Acquired);
    EXPECT_FALSE(exists("z417-demo-a"));
    EXPECT_TRUE(exists("z417-demo-b"));
    EXPECT_TRUE(exists("z417-gaming-mouse"));
    EXPECT_EQ(access((runtimeFolder() + "/notes.txt").c_str(), F_OK), 0);
    close(held);
}

} // namespace
} // namespace z417
