// What a save never touches and what a read never waits on: links another user planted in a
// shared sticky folder, device nodes, FIFOs and folders, endless or oversized input; and the
// temporary files an interrupted save left behind.
#include "platform/AtomicFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace z417 {
namespace {

constexpr uid_t kVictim = 4171; // unprivileged uids without a passwd entry
constexpr uid_t kAttacker = 4172;

// Runs job in a child that has dropped to uid (real, effective and saved) and returns what
// the job returned, or -1 when the child could not drop or died.
template <typename Job> int asUser(uid_t uid, Job job) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (setresgid(uid, uid, uid) != 0 || setresuid(uid, uid, uid) != 0)
            _exit(255);
        _exit(job());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

// For a forked child, where gtest assertions must not run.
int writeAsChild(const std::string& path, const std::string& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool ok =
        fd >= 0 && write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return fd >= 0 && close(fd) == 0 && ok ? 0 : 1;
}

struct StickyFolder {
    test::TempDir root{"z417-sticky"};
    std::string shared = root.file("shared"); // like /tmp: root's, 1777
    std::string victimHome = root.file("victim");
    std::string victimFile = victimHome + "/config.bin";

    bool make() {
        return mkdir(shared.c_str(), 0700) == 0 && chmod(shared.c_str(), 01777) == 0 &&
               chmod(root.path().c_str(), 0755) == 0 && mkdir(victimHome.c_str(), 0755) == 0 &&
               chown(victimHome.c_str(), kVictim, kVictim) == 0;
    }
};

TEST(SaveSafety, ALinkInAStickyFolderIsFollowedOnlyWhenTheKernelWouldFollowIt) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as two users";
    struct Case {
        const char* what;
        uid_t linkOwner;
        int expected;
    } cases[] = {
        {"planted by another user", kAttacker, EACCES},
        {"the victim's own link", kVictim, 0},
        {"the folder owner's link", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StickyFolder f;
        ASSERT_TRUE(f.make());
        ASSERT_EQ(asUser(kVictim, [&] { return writeAsChild(f.victimFile, "mine"); }), 0);
        const std::string link = f.shared + "/mouse.state";
        const auto plant = [&] { return symlink(f.victimFile.c_str(), link.c_str()) == 0 ? 0 : 1; };
        ASSERT_EQ(c.linkOwner == 0 ? plant() : asUser(c.linkOwner, plant), 0);

        const int result =
            asUser(kVictim, [&] { return writeFileAtomically(link, "saved").systemError; });
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(test::readRaw(f.victimFile), c.expected == 0 ? "saved" : "mine");
        struct stat st {};
        EXPECT_EQ(lstat(link.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link itself is never replaced";
    }
}

TEST(SaveSafety, OnlyARegularFileOrNothingIsReplaced) {
    test::TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0700), 0);
    struct Case {
        std::string path;
        int expected;
        mode_t type;
    } cases[] = {{fifo, kErrNotRegularFile, S_IFIFO}, {dir.file("folder"), EISDIR, S_IFDIR}};
    std::vector<Case> all(std::begin(cases), std::end(cases));
    // A device node like /dev/null, made here so that a fault could not replace the real one.
    const std::string null = dir.file("null");
    if (mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        all.push_back({null, kErrNotRegularFile, S_IFCHR});
    for (const Case& c : all) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(writeFileAtomically(c.path, "data").systemError, c.expected);
        struct stat st {};
        ASSERT_EQ(lstat(c.path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & S_IFMT, c.type);
    }
    EXPECT_EQ(fileErrorText(kErrNotRegularFile), "not a regular file");
}

TEST(SaveSafety, TheNextSaveRemovesOurStaleTemporariesOnly) {
    test::TempDir dir;
    const std::string file = dir.file("config.bin");
    const std::string stale = dir.file(".config.bin.tmp-a1B2c3");
    const std::string inUse = dir.file(".config.bin.tmp-zzzzzz");
    const std::string notOurs[] = {dir.file(".config.bin.tmp-toolong"),
                                   dir.file(".str.ini.tmp-a1B2c3"),
                                   dir.file("config.bin.tmp-a1B2c3")};
    for (const std::string& p : {stale, inUse, notOurs[0], notOurs[1], notOurs[2]})
        test::writeRaw(p, "left over");
    // A save still writing holds its temporary locked.
    const int held = open(inUse.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    ASSERT_EQ(writeFileAtomically(file, "new").systemError, 0);
    close(held);
    EXPECT_FALSE(fileExists(stale));
    EXPECT_TRUE(fileExists(inUse));
    for (const std::string& p : notOurs)
        EXPECT_TRUE(fileExists(p)) << p;
    EXPECT_EQ(test::readRaw(file), "new");
}

TEST(ReadSafety, OnlyBoundedRegularFilesAreReadAndNothingBlocks) {
    test::TempDir dir;
    const std::string fifo = dir.file("fifo"); // no writer: a blocking open would hang here
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    test::writeRaw(dir.file("big"), std::string(101, 'x'));
    test::writeRaw(dir.file("fits"), std::string(100, 'x'));
    struct Case {
        std::string path;
        int expected;
    } cases[] = {
        {fifo, kErrNotRegularFile}, {"/dev/zero", kErrNotRegularFile},
        {dir.path(), EISDIR},       {dir.file("big"), EFBIG},
        {dir.file("fits"), 0},      {dir.file("none"), ENOENT},
    };
    for (const Case& c : cases) {
        const Result<std::string> read = readFileContents(c.path, 100);
        EXPECT_EQ(read ? 0 : read.status().systemError, c.expected) << c.path;
        EXPECT_EQ(read ? read->size() : 0u, c.expected == 0 ? 100u : 0u) << c.path;
    }
}

} // namespace
} // namespace z417
