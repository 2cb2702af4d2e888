// Balloon requests from other programs reach the running utility through a local socket in
// the per-user runtime folder. A request is one line "TYPE KIND\n" in decimal, "reload\n",
// "show\n" or "activate TOKEN\n".
//
// Only this user's utility may receive them: the folder and the socket must belong to the
// user and be closed to everybody else, and the client checks who listens (SO_PEERCRED)
// before it sends anything. A client never waits longer than kRequestTimeoutMs for a utility
// that accepts nothing (stopped, or its queue full).
#pragma once

#include "platform/Status.h"

#include <string>
#include <sys/un.h>

namespace z417 {

constexpr size_t kBalloonRequestMax = 32; // longer balloon requests are dropped whole
constexpr size_t kRequestLineMax = 256;   // longer lines of any kind are dropped whole
constexpr int kRequestTimeoutMs = 1000;

// The utility's socket name in the runtime folder.
constexpr const char* kBalloonSocketName = "balloon";
// The socket's path: $XDG_RUNTIME_DIR/z417-gaming-mouse/balloon.sock, or a folder of the
// user's own under /tmp when there is no runtime folder.
std::string balloonSocketPath();
// A socket of another name in the same folder (the demo's, one per data folder).
std::string requestSocketPath(const std::string& name);
// The Unix socket address of path; a failure when the path does not fit in one.
Result<sockaddr_un> unixSocketAddress(const std::string& path);
// The folder that holds the socket (and the single-instance locks).
std::string runtimeFolder();
// Creates the folder owner-only; refuses one that is not a folder of this user, or that
// others may enter.
Status ensureRuntimeFolder();
// The checks a client makes before it connects: the folder as above, and the socket a
// socket of this user that nobody else may write to.
Status checkRuntimeFolder(const std::string& folder);
Status checkRequestSocket(const std::string& path);

// Parses one request; anything but two decimal integers separated by one blank (an
// optional line end after them) is rejected.
bool parseBalloonRequest(const std::string& text, int& type, int& kind);

// Sends one request to the running utility. The failure's caption is the socket's path.
Status sendBalloonRequest(int type, int kind);

// The other request the socket carries: read "config.bin" and "str.ini" again, because
// another program (z417ctl) has changed them.
constexpr const char* kReloadRequest = "reload";
bool isReloadRequest(const std::string& text);
Status sendReloadRequest();

// A second start of the program asks the running one to bring its window forward.
constexpr const char* kShowRequest = "show";
bool isShowRequest(const std::string& text);
// The running process may still be starting, its socket not listening yet: tries again
// every retryMs for at most attempts times while nobody listens. A socket that is refused or
// a utility that does not answer ends the tries at once.
// With an activation token the request is "activate TOKEN" instead of "show".
Status sendShowRequest(const std::string& socketPath, int attempts, int retryMs,
                       const std::string& activationToken = std::string());

// "activate TOKEN": a show request carrying the token the desktop gave the second start, so
// that the running window may take the focus (xdg-activation on Wayland, the startup id on
// X11). The token is 1 to 200 printable characters without blanks.
constexpr const char* kActivateRequest = "activate";
bool parseActivateRequest(const std::string& text, std::string& token);
// The token of this process's own launch: XDG_ACTIVATION_TOKEN, else DESKTOP_STARTUP_ID;
// empty when neither is set or the value could not travel in a request.
std::string launchActivationToken();

} // namespace z417
