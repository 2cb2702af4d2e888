// Balloon requests from other programs reach the running utility through a local socket in
// the per-user runtime folder. A request is one line "TYPE KIND\n" in decimal, "reload\n" or
// "show\n".
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

constexpr size_t kBalloonRequestMax = 32; // longer requests are dropped whole
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
Status sendShowRequest(const std::string& socketPath, int attempts, int retryMs);

} // namespace z417
