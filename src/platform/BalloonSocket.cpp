#include "platform/BalloonSocket.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace z417 {

std::string runtimeFolder() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/z417-gaming-mouse";
    return "/tmp/z417-gaming-mouse-" + std::to_string(getuid());
}

bool ensureRuntimeFolder(std::string& error) {
    const std::string dir = runtimeFolder();
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        error = dir + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0) {
        error = dir + ": " + std::strerror(errno);
        return false;
    }
    // A folder in /tmp could have been made by somebody else in advance.
    if (!S_ISDIR(st.st_mode) || st.st_uid != getuid()) {
        error = dir + ": not a folder of this user";
        return false;
    }
    if ((st.st_mode & 0077) != 0 && chmod(dir.c_str(), 0700) != 0) {
        error = dir + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::string requestSocketPath(const std::string& name) {
    return runtimeFolder() + "/" + name + ".sock";
}

bool unixSocketAddress(const std::string& path, sockaddr_un& address, std::string& error) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        error = path + ": path too long for a socket";
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
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

bool sendRequestLine(const std::string& path, const std::string& line, std::string& error) {
    sockaddr_un addr{};
    if (!unixSocketAddress(path, addr, error))
        return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        error = path + ": " + std::strerror(errno) + " (is the utility running?)";
        ::close(fd);
        return false;
    }
    size_t sent = 0;
    while (sent < line.size()) {
        const ssize_t n = send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = path + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

bool sendBalloonRequest(int type, int kind, std::string& error) {
    return sendRequestLine(balloonSocketPath(),
                           std::to_string(type) + " " + std::to_string(kind) + "\n", error);
}

namespace {

// One request word, with or without its line end.
bool isRequest(const std::string& text, const char* word) {
    return text == word || text == std::string(word) + "\n";
}

} // namespace

bool isReloadRequest(const std::string& text) {
    return isRequest(text, kReloadRequest);
}

bool sendReloadRequest(std::string& error) {
    return sendRequestLine(balloonSocketPath(), std::string(kReloadRequest) + "\n", error);
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

bool sendShowRequest(const std::string& socketPath, int attempts, int retryMs, std::string& error,
                     const std::string& activationToken) {
    const std::string line = isTravellingToken(activationToken)
                                 ? std::string(kActivateRequest) + " " + activationToken + "\n"
                                 : std::string(kShowRequest) + "\n";
    for (int i = 0; i < attempts; ++i) {
        if (i > 0) {
            timespec pause{retryMs / 1000, (retryMs % 1000) * 1000000L};
            while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
            }
        }
        if (sendRequestLine(socketPath, line, error))
            return true;
    }
    return false;
}

} // namespace z417
