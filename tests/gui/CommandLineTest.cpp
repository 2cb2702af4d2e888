// The utility's command line, and a second start that finds nobody to show.
#include "app/Application.h"
#include "platform/BalloonSocket.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace z417 {
namespace {

struct CommandLineCase {
    QStringList arguments;
    int exitCode;
    const char* onStdout; // expected in stdout; stdout must be empty when null
    const char* onStderr; // expected in stderr; stderr must be empty when null
};

// Without a display to open and with an empty runtime folder: an answer that started
// anything would fail to connect to X or leave the lock and socket folder behind.
TEST(CommandLine, AnswersWithoutStartingAnything) {
    const CommandLineCase cases[] = {
        {{"--help"}, 0, "--version", nullptr},
        {{"-h"}, 0, "--help", nullptr},
        {{"--help-all"}, 0, "--help", nullptr},
        {{"--version"}, 0, "z417-gaming-mouse 1.", nullptr},
        {{"--platform", "offscreen", "--version"}, 0, "z417-gaming-mouse", nullptr},
        {{"--frobnicate"}, 2, nullptr, "Usage:"},
        {{"stray"}, 2, nullptr, "stray"},
        {{"--help=yes"}, 2, nullptr, "Usage:"},
    };
    for (const CommandLineCase& c : cases) {
        const QString what = c.arguments.join(' ');
        QTemporaryDir runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(Z417_BIN_DIR "/z417-gaming-mouse", c.arguments);
        ASSERT_TRUE(p.waitForFinished(30000)) << what.toStdString();
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << what.toStdString();
        EXPECT_EQ(p.exitCode(), c.exitCode) << what.toStdString() << err.toStdString();
        if (c.onStdout)
            EXPECT_TRUE(out.contains(c.onStdout)) << what.toStdString() << out.toStdString();
        else
            EXPECT_TRUE(out.isEmpty()) << what.toStdString() << out.toStdString();
        if (c.onStderr)
            EXPECT_TRUE(err.contains(c.onStderr)) << what.toStdString() << err.toStdString();
        else
            EXPECT_TRUE(err.isEmpty()) << what.toStdString() << err.toStdString();
        EXPECT_TRUE(QDir(runtime.path()).isEmpty()) << what.toStdString();
    }
}

// Native Wayland first, XWayland only as the fallback; the user's own choice wins.
TEST(PlatformChoice, NativeWaylandComesFirst) {
    struct Row {
        const char* wayland;
        const char* x11;
        const char* explicitPlatform;
        const char* expected; // null: left unset
    };
    const Row rows[] = {
        {"wayland-1", ":0", nullptr, "wayland;xcb"},
        {"wayland-1", nullptr, nullptr, "wayland"},
        {nullptr, ":0", nullptr, nullptr},
        {"wayland-1", ":0", "xcb", "xcb"},
    };
    const char* names[] = {"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM"};
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i)
        saved[i] = qgetenv(names[i]);
    for (const Row& row : rows) {
        const char* values[] = {row.wayland, row.x11, row.explicitPlatform};
        for (int i = 0; i < 3; ++i) {
            if (values[i])
                qputenv(names[i], values[i]);
            else
                qunsetenv(names[i]);
        }
        choosePlatformBeforeStart();
        if (row.expected)
            EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), row.expected);
        else
            EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
    }
    for (int i = 0; i < 3; ++i)
        qputenv(names[i], saved[i]);
}

class ShowRequest : public ::testing::Test {
protected:
    ShowRequest() : old_(qgetenv("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
    }
    ~ShowRequest() override { qputenv("XDG_RUNTIME_DIR", old_); }

private:
    QTemporaryDir dir_;
    QByteArray old_;
};

// A lock held by a process that never listens must not keep the second start waiting.
TEST_F(ShowRequest, NobodyListeningFailsAfterItsAttempts) {
    const Status shown = sendShowRequest(requestSocketPath("nobody"), 3, 1);
    EXPECT_FALSE(shown);
    ASSERT_EQ(shown.messages.size(), 1u);
    EXPECT_NE(shown.messages.front().caption.find("nobody.sock"), std::string::npos);
}

} // namespace
} // namespace z417
