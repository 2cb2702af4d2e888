// The utility as a process: the single-instance rule and the balloon socket.
#include "GuiTestSupport.h"

#include "platform/BalloonSocket.h"
#include "platform/qt/BalloonServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace z417 {
namespace {

// Points XDG_RUNTIME_DIR at a fresh folder for the test's life.
class RuntimeFolder {
public:
    RuntimeFolder() : old_(qgetenv("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
    }
    ~RuntimeFolder() { qputenv("XDG_RUNTIME_DIR", old_); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray old_;
};

TEST(SingleInstance, ASecondProcessEndsAtOnceWithZero) {
    RuntimeFolder runtime;
    QTemporaryDir data;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(Z417_BIN_DIR "/z417-demo", {"--data", data.path() + "/d"});
    ASSERT_TRUE(first.waitForStarted());
    // The first one holds the lock once its lock file exists and it is locked.
    const QDir folder(runtime.path() + "/z417-gaming-mouse");
    auto lockExists = [&] {
        return !folder.entryList({"z417-demo-*.lock"}, QDir::Files).isEmpty();
    };
    for (int i = 0; i < 200 && !lockExists(); ++i)
        QTest::qWait(50);
    ASSERT_TRUE(lockExists());
    QTest::qWait(300);
    ASSERT_EQ(first.state(), QProcess::Running);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(Z417_BIN_DIR "/z417-demo", {"--data", data.path() + "/d"});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running); // untouched

    first.terminate();
    first.waitForFinished(10000);
}

class BalloonSocketTest : public ::testing::Test {
protected:
    RuntimeFolder runtime;
};

void send(const QByteArray& bytes) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(balloonSocketPath()));
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write(bytes);
    socket.flush();
    socket.waitForBytesWritten(1000);
    QTest::qWait(20);
    socket.disconnectFromServer();
}

TEST_F(BalloonSocketTest, OwnerOnlyAndOnlyWellFormedRequestsCount) {
    BalloonServer server;
    ASSERT_TRUE(server.listen());
    struct stat folder {};
    ASSERT_EQ(stat(runtimeFolder().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    struct stat sock {};
    ASSERT_EQ(stat(balloonSocketPath().c_str(), &sock), 0);
    EXPECT_TRUE(S_ISSOCK(sock.st_mode));
    EXPECT_EQ(sock.st_mode & 0077, 0u) << std::oct << sock.st_mode;

    QSignalSpy spy(&server, &BalloonServer::requested);
    send("7 2\n");
    send("garbage\n");
    send("5 1 extra\n");
    send(QByteArray(100, '9') + "\n");
    send(QByteArray("\x00\x01\x02\xff\n", 5));
    send("8 1"); // no line end: dropped when the client goes
    send("9 42\r\n");
    QTest::qWait(100);
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 7);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 9);
    EXPECT_EQ(spy.at(1).at(1).toInt(), 42);
}

TEST_F(BalloonSocketTest, ASilentClientDoesNotBlockOthers) {
    BalloonServer server;
    ASSERT_TRUE(server.listen());
    QSignalSpy spy(&server, &BalloonServer::requested);
    QLocalSocket silent;
    silent.connectToServer(QString::fromStdString(balloonSocketPath()));
    ASSERT_TRUE(silent.waitForConnected(2000));
    send("14 0\n");
    QTest::qWait(50);
    EXPECT_EQ(spy.count(), 1);
    // The silent one is dropped after its time (the server runs on this thread, so keep
    // its events flowing while waiting).
    for (int i = 0; i < 250 && silent.state() != QLocalSocket::UnconnectedState; ++i)
        QTest::qWait(20);
    EXPECT_EQ(silent.state(), QLocalSocket::UnconnectedState);
}

// A connected Unix stream socket to the balloon server, or -1.
int connectRaw() {
    const Result<sockaddr_un> address = unixSocketAddress(balloonSocketPath());
    if (!address)
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Sixteen clients that never write take every place; later ones wait their turn in the queue
// and are all served once the silent ones are dropped.
TEST_F(BalloonSocketTest, ClientsBeyondTheLimitWaitTheirTurn) {
    BalloonServer server;
    ASSERT_TRUE(server.listen());
    struct stat sock {};
    ASSERT_EQ(stat(balloonSocketPath().c_str(), &sock), 0);
    EXPECT_EQ(sock.st_mode & 0777, 0600u) << std::oct << sock.st_mode;
    QSignalSpy spy(&server, &BalloonServer::requested);
    std::vector<int> silent;
    for (int i = 0; i < 16; ++i)
        silent.push_back(connectRaw());
    QTest::qWait(50);
    std::vector<int> waiting;
    for (int i = 1; i <= 4; ++i) {
        waiting.push_back(connectRaw());
        const std::string line = std::to_string(i) + " 0\n";
        EXPECT_EQ(::send(waiting.back(), line.data(), line.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(line.size()));
    }
    for (int i = 0; i < 300 && spy.count() < 4; ++i)
        QTest::qWait(20);
    ASSERT_EQ(spy.count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(spy.at(i).at(0).toInt(), i + 1);
    char byte = 0;
    for (const int fd : silent) {
        EXPECT_EQ(::recv(fd, &byte, 1, MSG_DONTWAIT), 0) << "a silent client is still held";
        ::close(fd);
    }
    for (const int fd : waiting)
        ::close(fd);
}

TEST_F(BalloonSocketTest, CommandLineClientReachesTheServer) {
    BalloonServer server;
    ASSERT_TRUE(server.listen());
    QSignalSpy spy(&server, &BalloonServer::requested);
    QProcess ctl;
    ctl.start(Z417_BIN_DIR "/z417ctl", {"balloon", "5", "8"});
    // Serve while the client runs.
    for (int i = 0; i < 100 && ctl.state() != QProcess::NotRunning; ++i)
        QTest::qWait(20);
    ctl.waitForFinished(5000);
    QTest::qWait(50);
    EXPECT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 5);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 8);

    QProcess bad;
    bad.start(Z417_BIN_DIR "/z417ctl", {"balloon", "five", "8"});
    bad.waitForFinished(5000);
    EXPECT_EQ(bad.exitCode(), 1);
}

// A second start hands its launch's activation token over, far longer than a balloon request;
// a token that could not travel in one line leaves a plain show request or nothing at all.
TEST_F(BalloonSocketTest, ASecondStartHandsItsActivationTokenOver) {
    BalloonServer server;
    ASSERT_TRUE(server.listen());
    QSignalSpy shows(&server, &BalloonServer::showRequested);
    QSignalSpy activations(&server, &BalloonServer::activateRequested);
    const std::string token = "sway/4711_0123456789abcdef:" + std::string(120, 't');
    ASSERT_TRUE(sendShowRequest(balloonSocketPath(), 1, 1, token));
    ASSERT_TRUE(sendShowRequest(balloonSocketPath(), 1, 1, "has blank"));
    send("activate \n");
    send("activate a\tb\n");
    send("activate " + QByteArray(201, 'x') + "\n");
    QTest::qWait(100);
    QCoreApplication::processEvents();
    ASSERT_EQ(activations.count(), 1);
    EXPECT_EQ(activations.at(0).at(0).toString().toStdString(), token);
    EXPECT_EQ(shows.count(), 1);
}

// Wayland's token first, the X11 startup id otherwise; nothing that cannot travel.
TEST(ActivationToken, TheLaunchsOwnTokenIsTaken) {
    struct Row {
        const char* wayland;
        const char* x11;
        const char* expected;
    };
    const Row rows[] = {
        {"wl-token", "x11-id_TIME42", "wl-token"},
        {nullptr, "x11-id_TIME42", "x11-id_TIME42"},
        {"two words", "x11-id_TIME42", "x11-id_TIME42"},
        {"", nullptr, ""},
    };
    const QByteArray oldWayland = qgetenv("XDG_ACTIVATION_TOKEN");
    const QByteArray oldX11 = qgetenv("DESKTOP_STARTUP_ID");
    for (const Row& row : rows) {
        for (const auto& [name, value] :
             {std::pair{"XDG_ACTIVATION_TOKEN", row.wayland}, {"DESKTOP_STARTUP_ID", row.x11}}) {
            if (value)
                qputenv(name, value);
            else
                qunsetenv(name);
        }
        EXPECT_EQ(launchActivationToken(), row.expected) << (row.wayland ? row.wayland : "-");
    }
    qputenv("XDG_ACTIVATION_TOKEN", oldWayland);
    qputenv("DESKTOP_STARTUP_ID", oldX11);
}

} // namespace
} // namespace z417

namespace z417 {
namespace {

// A script that fails while the mouse is connected ends the demo with 1 and the failing
// line; the window goes before the mouse it talks to (a sanitizer build sees any misuse).
TEST(DemoScript, AFailingCommandEndsWithOneAndItsLine) {
    QTemporaryDir tmp;
    const test::DemoRun run = test::runDemo(
        tmp.path() + "/data", "# connected at start\nrest\nno-such-command 1\nquit\n");
    EXPECT_EQ(run.exitCode, 1) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("script: line 3: unknown command no-such-command"))
        << run.output.toStdString();
}

} // namespace
} // namespace z417
