#include "platform/qt/BalloonServer.h"

#include "platform/BalloonSocket.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace z417 {
namespace {

// A client has this long to send its line; one that never writes is dropped.
constexpr int kClientTimeoutMs = 2000;
// Clients served at once; further connections wait until one of them is done.
constexpr int kMaxClients = 16;

// Requests come from processes of this user only; the socket's mode already keeps others
// out, this keeps out anyone the mode does not.
bool fromThisUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

} // namespace

BalloonServer::BalloonServer(const std::string& socketName, QObject* parent)
    : QObject(parent), path_(QString::fromStdString(requestSocketPath(socketName))) {}

BalloonServer::~BalloonServer() {
    for (auto& [fd, client] : clients_)
        ::close(fd);
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(QFile::encodeName(path_).constData());
    }
}

QString BalloonServer::socketPath() const {
    return path_;
}

Status BalloonServer::listen() {
    if (Status folder = ensureRuntimeFolder(); !folder)
        return folder;
    if (Status opened = openListeningSocket(); !opened)
        return opened;
    incoming_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
    connect(incoming_, &QSocketNotifier::activated, this, &BalloonServer::acceptClients);
    return {};
}

Status BalloonServer::openListeningSocket() {
    const QByteArray path = QFile::encodeName(path_);
    const Result<sockaddr_un> address = unixSocketAddress(path.toStdString());
    if (!address)
        return address.status();
    const sockaddr_un& addr = *address;
    // A socket left behind by a process that ended without cleaning up. Only one utility
    // runs per user (the instance lock is taken first), so nobody else is listening on it.
    ::unlink(path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Status::failure(path.toStdString(), systemErrorText(errno));
    // Owner only; nobody can connect before listen(), so the mode is right before anyone can.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::chmod(path.constData(), 0600) != 0 || ::listen(fd, kMaxClients) != 0) {
        const int e = errno;
        ::close(fd);
        return Status::failure(path.toStdString(), systemErrorText(e));
    }
    listenFd_ = fd;
    return {};
}

// Takes connections while there is room; beyond the limit they wait in the kernel's queue
// (and a client's connect waits there) until a client is done.
void BalloonServer::acceptClients() {
    while (clients_.size() < static_cast<size_t>(kMaxClients)) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            break; // nothing more waiting (or the client left already)
        if (!fromThisUser(fd)) {
            ::close(fd);
            continue;
        }
        Client& client = clients_[fd];
        client.readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(client.readable, &QSocketNotifier::activated, this, [this, fd] { readClient(fd); });
        client.deadline = new QTimer(this);
        client.deadline->setSingleShot(true);
        connect(client.deadline, &QTimer::timeout, this, [this, fd] { dropClient(fd); });
        client.deadline->start(kClientTimeoutMs);
    }
    incoming_->setEnabled(clients_.size() < static_cast<size_t>(kMaxClients));
}

// Reads what the client sent so far; a whole line is one request, and the client is done.
void BalloonServer::readClient(int fd) {
    const auto it = clients_.find(fd);
    if (it == clients_.end())
        return;
    std::string& received = it->second.received;
    char buffer[kRequestLineMax + 1];
    const size_t room = sizeof buffer - received.size();
    const ssize_t n = ::recv(fd, buffer, room, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        dropClient(fd); // gone without a whole line
        return;
    }
    received.append(buffer, static_cast<size_t>(n));
    const size_t end = received.find('\n');
    if (end == std::string::npos) {
        // No line end within the limit: the request is too long, drop the client.
        if (received.size() > kRequestLineMax)
            dropClient(fd);
        return;
    }
    const std::string line = received.substr(0, end + 1);
    dropClient(fd);
    dispatch(line);
}

// Forgets a client before anything its request starts can run the event loop again.
void BalloonServer::dropClient(int fd) {
    const auto it = clients_.find(fd);
    if (it == clients_.end())
        return;
    it->second.readable->setEnabled(false);
    it->second.readable->deleteLater();
    it->second.deadline->stop();
    it->second.deadline->deleteLater();
    clients_.erase(it);
    ::close(fd);
    incoming_->setEnabled(true);
}

void BalloonServer::dispatch(const std::string& line) {
    int type = 0, kind = 0;
    std::string token;
    if (parseBalloonRequest(line, type, kind))
        emit requested(type, kind);
    else if (isReloadRequest(line))
        emit reloadRequested();
    else if (isShowRequest(line))
        emit showRequested();
    else if (parseActivateRequest(line, token))
        emit activateRequested(QString::fromStdString(token));
}

} // namespace z417
