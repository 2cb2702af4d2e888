#include "platform/BalloonSocket.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace z417 {

std::string runtimeFolder() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/z417-gaming-mouse";
    return "/tmp/z417-gaming-mouse-" + std::to_string(getuid());
}

namespace {

constexpr const char* kNotRunningHint = " (is the utility running?)";
// Nobody else may enter the folder; nobody else may write to (connect to) the socket.
constexpr mode_t kFolderClosed = 0077;
constexpr mode_t kSocketClosed = 0022;

Status socketFailure(const std::string& path, int error, const char* hint = "") {
    return Status::systemFailure(path, error, systemErrorText(error) + hint);
}

// Whether path is this user's, of the given type, and closed to others for the given bits.
// missing, when given, tells whether the path does not exist at all.
Status checkOwnEntry(const std::string& path, mode_t type, mode_t forbidden, const char* what,
                     bool* missing = nullptr) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        const int e = errno;
        if (missing)
            *missing = e == ENOENT;
        return socketFailure(path, e, kNotRunningHint);
    }
    if ((st.st_mode & S_IFMT) != type || st.st_uid != getuid())
        return Status::failure(path, std::string("not a ") + what + " of this user; refused");
    if ((st.st_mode & forbidden) != 0)
        return Status::failure(path, std::string("a ") + what + " open to other users; refused");
    return {};
}

} // namespace

Status checkRuntimeFolder(const std::string& folder) {
    return checkOwnEntry(folder, S_IFDIR, kFolderClosed, "folder");
}

Status checkRequestSocket(const std::string& path) {
    return checkOwnEntry(path, S_IFSOCK, kSocketClosed, "socket");
}

Status ensureRuntimeFolder() {
    const std::string dir = runtimeFolder();
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return socketFailure(dir, errno);
    return checkRuntimeFolder(dir);
}

std::string requestSocketPath(const std::string& name) {
    return runtimeFolder() + "/" + name + ".sock";
}

Result<sockaddr_un> unixSocketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return Status::failure(path, "path too long for a socket");
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

std::string balloonSocketPath() {
    return requestSocketPath(kBalloonSocketName);
}

bool parseBalloonRequest(const std::string& text, int& type, int& kind) {
    if (text.empty() || text.size() > kBalloonRequestMax)
        return false;
    std::string body = text;
    if (body.back() == '\n')
        body.pop_back();
    if (!body.empty() && body.back() == '\r')
        body.pop_back();
    const size_t blank = body.find(' ');
    if (blank == std::string::npos)
        return false;
    auto number = [](const std::string& s, int& out) {
        if (s.empty() || s.size() > 9)
            return false;
        size_t i = s[0] == '-' ? 1 : 0;
        if (i == s.size())
            return false;
        long v = 0;
        for (; i < s.size(); ++i) {
            if (s[i] < '0' || s[i] > '9')
                return false;
            v = v * 10 + (s[i] - '0');
        }
        out = static_cast<int>(s[0] == '-' ? -v : v);
        return true;
    };
    return number(body.substr(0, blank), type) && number(body.substr(blank + 1), kind);
}

namespace {

using SteadyClock = std::chrono::steady_clock;

// What one attempt came to; nobodyListening marks the failures worth another try later.
struct Attempt {
    Status status;
    bool nobodyListening = false;
};

void pauseMs(int ms) {
    timespec pause{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}

int msLeft(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

Status notAnswering(const std::string& path) {
    return Status::failure(path, "the utility does not answer (stopped or busy)");
}

// Waits until fd is writable, at most until the deadline.
bool writableBefore(int fd, SteadyClock::time_point deadline) {
    for (;;) {
        pollfd p{fd, POLLOUT, 0};
        const int n = poll(&p, 1, msLeft(deadline));
        if (n < 0 && errno == EINTR)
            continue;
        return n > 0;
    }
}

// A connected socket, without ever blocking: a listener whose queue is full refuses a
// non-blocking connect at once (EAGAIN), so the attempt is repeated until the deadline.
Attempt connectBefore(const sockaddr_un& address, const std::string& path,
                      SteadyClock::time_point deadline, int& fd) {
    constexpr int kRetryMs = 20;
    for (;;) {
        fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return {socketFailure("socket", errno)};
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return {};
        const int e = errno;
        ::close(fd);
        fd = -1;
        if (e == EINTR)
            continue;
        if (e == ENOENT || e == ECONNREFUSED)
            return {socketFailure(path, e, kNotRunningHint), true};
        if (e != EAGAIN)
            return {socketFailure(path, e, kNotRunningHint)};
        if (msLeft(deadline) == 0)
            return {notAnswering(path)};
        pauseMs(kRetryMs);
    }
}

// Only a process of this user may receive the request.
Status checkListener(int fd, const std::string& path) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return socketFailure(path, errno);
    if (peer.uid != getuid())
        return Status::failure(path, "held by another user (uid " + std::to_string(peer.uid) +
                                         "); nothing sent");
    return {};
}

Status sendBefore(int fd, const std::string& path, const std::string& line,
                  SteadyClock::time_point deadline) {
    size_t sent = 0;
    while (sent < line.size()) {
        const ssize_t n =
            send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            if (!writableBefore(fd, deadline))
                return notAnswering(path);
            continue;
        }
        return socketFailure(path, n < 0 ? errno : EPIPE);
    }
    return {};
}

// The folder and the socket must be this user's and closed to others; every failure is
// named by the socket.
Attempt checkPlace(const std::string& path) {
    const std::string folder = path.substr(0, path.rfind('/'));
    bool missing = false;
    if (Status s = checkOwnEntry(folder, S_IFDIR, kFolderClosed, "folder", &missing); !s) {
        if (missing)
            return {socketFailure(path, ENOENT, kNotRunningHint), true};
        return {Status::failure(path, s.messages.front().caption + ": " + s.messages.front().text)};
    }
    Status s = checkOwnEntry(path, S_IFSOCK, kSocketClosed, "socket", &missing);
    return {std::move(s), missing};
}

Attempt sendRequestLine(const std::string& path, const std::string& line) {
    if (Attempt place = checkPlace(path); !place.status)
        return place;
    const Result<sockaddr_un> address = unixSocketAddress(path);
    if (!address)
        return {address.status()};
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kRequestTimeoutMs);
    int fd = -1;
    Attempt attempt = connectBefore(*address, path, deadline, fd);
    if (!attempt.status)
        return attempt;
    Status sent = checkListener(fd, path);
    if (sent)
        sent = sendBefore(fd, path, line, deadline);
    if (::close(fd) != 0 && sent)
        sent = socketFailure(path, errno);
    return {std::move(sent)};
}

// One request word, with or without its line end.
bool isRequest(const std::string& text, const char* word) {
    return text == word || text == std::string(word) + "\n";
}

} // namespace

Status sendBalloonRequest(int type, int kind) {
    return sendRequestLine(balloonSocketPath(),
                           std::to_string(type) + " " + std::to_string(kind) + "\n")
        .status;
}

bool isReloadRequest(const std::string& text) {
    return isRequest(text, kReloadRequest);
}

Status sendReloadRequest() {
    return sendRequestLine(balloonSocketPath(), std::string(kReloadRequest) + "\n").status;
}

bool isShowRequest(const std::string& text) {
    return isRequest(text, kShowRequest);
}

namespace {

constexpr size_t kActivationTokenMax = 200;

bool isTravellingToken(const std::string& token) {
    if (token.empty() || token.size() > kActivationTokenMax)
        return false;
    for (const char c : token)
        if (c <= ' ' || c > '~')
            return false;
    return true;
}

} // namespace

bool parseActivateRequest(const std::string& text, std::string& token) {
    const std::string prefix = std::string(kActivateRequest) + " ";
    if (text.size() > kRequestLineMax || text.compare(0, prefix.size(), prefix) != 0)
        return false;
    std::string body = text.substr(prefix.size());
    if (!body.empty() && body.back() == '\n')
        body.pop_back();
    if (!body.empty() && body.back() == '\r')
        body.pop_back();
    if (!isTravellingToken(body))
        return false;
    token = body;
    return true;
}

std::string launchActivationToken() {
    for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        const char* value = std::getenv(name);
        if (value && isTravellingToken(value))
            return value;
    }
    return std::string();
}

Status sendShowRequest(const std::string& socketPath, int attempts, int retryMs,
                       const std::string& activationToken) {
    const std::string line = isTravellingToken(activationToken)
                                 ? std::string(kActivateRequest) + " " + activationToken + "\n"
                                 : std::string(kShowRequest) + "\n";
    Attempt attempt{Status::failure(socketPath, "no attempt made"), true};
    for (int i = 0; i < attempts; ++i) {
        if (i > 0)
            pauseMs(retryMs);
        attempt = sendRequestLine(socketPath, line);
        if (attempt.status || !attempt.nobodyListening)
            break;
    }
    return std::move(attempt.status);
}

} // namespace z417
