// Receives balloon, reload and show requests from other programs on a per-user local socket.
#pragma once

#include "platform/BalloonSocket.h"

#include <QObject>
#include <QString>

#include <string>

class QLocalServer;
class QLocalSocket;

namespace z417 {

class BalloonServer : public QObject {
    Q_OBJECT
public:
    // socketName: the socket's name in the runtime folder (the demo has its own).
    explicit BalloonServer(const std::string& socketName = kBalloonSocketName,
                           QObject* parent = nullptr);
    // Starts listening; on failure returns false with a reason.
    bool listen(QString& error);
    QString socketPath() const;

signals:
    void requested(int type, int kind);
    // Another program changed the settings files ("reload").
    void reloadRequested();
    // A second start of the program wants the window brought forward ("show").
    void showRequested();

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket* socket);

    QString path_;
    QLocalServer* server_ = nullptr;
    int clients_ = 0;
};

} // namespace z417
