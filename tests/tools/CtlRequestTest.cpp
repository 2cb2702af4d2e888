// z417ctl's requests to the running utility: only a utility of the same user receives them,
// and one that accepts nothing never keeps z417ctl waiting.
#include "platform/BalloonSocket.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace z417 {
namespace {

constexpr uid_t kVictim = 4173; // unprivileged uids without a passwd entry
constexpr uid_t kAttacker = 4174;
constexpr unsigned kHangGuardSeconds = 20; // a z417ctl that hangs is killed, and fails

struct CtlResult {
    int code = -1; // -1: killed (it hung)
    std::string err;
};

// Runs z417ctl with args as uid, without XDG_RUNTIME_DIR unless runtimeDir is given.
CtlResult ctlAs(uid_t uid, const std::string& program, const std::vector<std::string>& args,
                const std::string& runtimeDir, const std::string& errFile) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int errFd = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int nullFd = open("/dev/null", O_WRONLY);
        if (errFd < 0 || nullFd < 0 || dup2(errFd, 2) < 0 || dup2(nullFd, 1) < 0)
            _exit(125);
        if (runtimeDir.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
        if (uid != getuid() && (setresgid(uid, uid, uid) != 0 || setresuid(uid, uid, uid) != 0))
            _exit(125);
        alarm(kHangGuardSeconds); // stays across exec
        std::vector<char*> argv = {const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(126);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readRaw(errFile)};
}

sockaddr_un addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    return address;
}

// A listening socket made with uid's credentials (the ones a client sees by SO_PEERCRED).
int listenAs(uid_t uid, const std::string& path, int backlog = 8) {
    if (seteuid(uid) != 0)
        return -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const sockaddr_un address = addressOf(path);
    const bool ok = fd >= 0 &&
                    bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                    listen(fd, backlog) == 0;
    if (seteuid(0) != 0 || !ok) {
        if (fd >= 0)
            close(fd);
        return -1;
    }
    return fd;
}

// What the listener received: the bytes of every connection waiting in its queue.
std::string received(int listener) {
    std::string all;
    for (int fd; (fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0; close(fd)) {
        char buffer[64];
        for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
            all.append(buffer, static_cast<size_t>(n));
    }
    return all;
}

size_t lines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The victim's utility files beside its own copy of z417ctl (the portable layout), so that
// set edits them and asks the running utility to reload.
struct VictimTool {
    test::TempDir dir{"z417-victim"};
    std::string program = dir.file("z417ctl");
    std::string strIni = dir.file("str.ini");

    bool make() {
        const std::string bin = Z417_BIN_DIR;
        for (const char* name : {"z417ctl", "config.bin", "str.ini"}) {
            std::error_code error;
            std::filesystem::copy_file(bin + "/" + name, dir.file(name), error);
            if (error || chown(dir.file(name).c_str(), kVictim, kVictim) != 0)
                return false;
        }
        return chmod(program.c_str(), 0755) == 0 &&
               chown(dir.path().c_str(), kVictim, kVictim) == 0;
    }
};

// How another user could lie in wait in the folder the victim's utility uses without
// XDG_RUNTIME_DIR. Each is refused before anything is sent, with a line that says why.
TEST(RequestSocket, AnotherUsersSocketReceivesNothing) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as two users";
    struct Case {
        const char* what;
        uid_t folderOwner;
        mode_t folderMode;
        uid_t socketOwner;
        mode_t socketMode;
        const char* why;
    } cases[] = {
        {"a folder another user made first", kAttacker, 0755, kAttacker, 0777,
         "not a folder of this user"},
        {"our folder, open to others", kVictim, 0777, kAttacker, 0777, "open to other users"},
        {"our folder, a socket open to others", kVictim, 0700, kVictim, 0666,
         "open to other users"},
        {"our folder and socket, another user's listener", kVictim, 0700, kVictim, 0600,
         "held by another user"},
    };
    VictimTool tool;
    ASSERT_TRUE(tool.make());
    const std::string folder = "/tmp/z417-gaming-mouse-" + std::to_string(kVictim);
    const std::string socketPath = folder + "/balloon.sock";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::system(("rm -rf " + folder).c_str());
        // The attacker makes the listener; the folder and socket are then given their case.
        ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
        ASSERT_EQ(chown(folder.c_str(), kAttacker, kAttacker), 0);
        const int listener = listenAs(kAttacker, socketPath);
        ASSERT_GE(listener, 0);
        ASSERT_EQ(chown(socketPath.c_str(), c.socketOwner, c.socketOwner), 0);
        ASSERT_EQ(chmod(socketPath.c_str(), c.socketMode), 0);
        ASSERT_EQ(chown(folder.c_str(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(chmod(folder.c_str(), c.folderMode), 0);

        const CtlResult balloon =
            ctlAs(kVictim, tool.program, {"balloon", "7", "2"}, "", tool.dir.file("err"));
        EXPECT_EQ(balloon.code, 1);
        EXPECT_EQ(lines(balloon.err), 1u) << balloon.err;
        EXPECT_NE(balloon.err.find(c.why), std::string::npos) << balloon.err;

        const CtlResult set = ctlAs(kVictim, tool.program, {"set", "button", "A", "2", "Backward"},
                                    "", tool.dir.file("err"));
        EXPECT_EQ(set.code, 0) << set.err;
        EXPECT_EQ(lines(set.err), 1u) << set.err;
        EXPECT_NE(set.err.find(c.why), std::string::npos) << set.err;
        EXPECT_NE(test::readRaw(tool.strIni).find("Item2=Backward\n"), std::string::npos);
        EXPECT_EQ(received(listener), "");
        close(listener);

        // The utility itself would not listen there either.
        if (c.folderOwner != kVictim || (c.folderMode & 0077) != 0) {
            const pid_t pid = fork();
            if (pid == 0) {
                unsetenv("XDG_RUNTIME_DIR");
                _exit(setresuid(kVictim, kVictim, kVictim) == 0 && !ensureRuntimeFolder() ? 0 : 1);
            }
            int status = 0;
            waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the server took it";
        }
    }
    std::system(("rm -rf " + folder).c_str());
}

// A server that accepts nothing: its queue is filled first, as a stopped utility's fills.
TEST(RequestSocket, AUtilityThatAcceptsNothingIsReportedWithinTheBound) {
    struct Case {
        const char* what;
        bool stopped; // else running, but never calling accept
    } cases[] = {{"a stopped server", true}, {"a server that never accepts", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir runtime;
        const std::string folder = runtime.file("z417-gaming-mouse");
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        const std::string path = folder + "/balloon.sock";
        const pid_t server = fork();
        if (server == 0) {
            const int fd = listenAs(getuid(), path, 1);
            if (fd < 0)
                _exit(1);
            for (;;)
                pause();
        }
        for (int i = 0; i < 500 && access(path.c_str(), F_OK) != 0; ++i)
            usleep(10000);
        ASSERT_EQ(access(path.c_str(), F_OK), 0);
        if (c.stopped) {
            ASSERT_EQ(kill(server, SIGSTOP), 0);
        }
        // Fill the queue: connects that are neither accepted nor refused.
        std::vector<int> waiting;
        const sockaddr_un address = addressOf(path);
        for (int i = 0; i < 64; ++i) {
            const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
                close(fd);
                break;
            }
            waiting.push_back(fd);
        }
        const CtlResult run = ctlAs(getuid(), Z417_BIN_DIR "/z417ctl", {"balloon", "7", "2"},
                                    runtime.path(), runtime.file("err"));
        EXPECT_EQ(run.code, 1) << "-1: it hung";
        EXPECT_EQ(run.err,
                  "z417ctl: " + path + ": the utility does not answer (stopped or busy)\n");
        for (const int fd : waiting)
            close(fd);
        kill(server, SIGKILL);
        waitpid(server, nullptr, 0);
    }
}

} // namespace
} // namespace z417
