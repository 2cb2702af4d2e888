#include "platform/qt/BalloonServer.h"

#include "platform/BalloonSocket.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace z417 {
namespace {

// A client has this long to send its line; one that never writes is dropped.
constexpr int kClientTimeoutMs = 2000;
// Connections beyond this many at once are closed at once.
constexpr int kMaxClients = 16;

} // namespace

BalloonServer::BalloonServer(const std::string& socketName, QObject* parent)
    : QObject(parent), path_(QString::fromStdString(requestSocketPath(socketName))) {}

QString BalloonServer::socketPath() const {
    return path_;
}

bool BalloonServer::listen(QString& error) {
    std::string folderError;
    if (!ensureRuntimeFolder(folderError)) {
        error = QString::fromStdString(folderError);
        return false;
    }
    const QString path = socketPath();
    // A socket left behind by a process that ended without cleaning up. Only one utility
    // runs per user (the instance lock is taken first), so nobody else is listening on it.
    QLocalServer::removeServer(path);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(kMaxClients);
    if (!server_->listen(path)) {
        error = path + QStringLiteral(": ") + server_->errorString();
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &BalloonServer::onNewConnection);
    return true;
}

void BalloonServer::onNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (clients_ >= kMaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++clients_;
        socket->setReadBufferSize(kBalloonRequestMax + 1);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this] { --clients_; });
        QTimer::singleShot(kClientTimeoutMs, socket, [socket] { socket->abort(); });
    }
}

void BalloonServer::onReadyRead(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        // No line end within the limit: the request is too long, drop the client.
        if (socket->bytesAvailable() > static_cast<qint64>(kBalloonRequestMax))
            socket->abort();
        return;
    }
    const std::string line = socket->readLine(kBalloonRequestMax + 1).toStdString();
    socket->disconnectFromServer();
    int type = 0, kind = 0;
    if (parseBalloonRequest(line, type, kind))
        emit requested(type, kind);
    else if (isReloadRequest(line))
        emit reloadRequested();
    else if (isShowRequest(line))
        emit showRequested();
}

} // namespace z417
