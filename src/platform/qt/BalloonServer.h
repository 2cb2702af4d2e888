// Receives balloon, reload and show requests from other programs on a per-user local socket.
// The socket is a plain Unix socket watched by the event loop: the utility needs no network
// library for it.
#pragma once

#include "platform/BalloonSocket.h"

#include <QObject>
#include <QString>

#include <map>
#include <string>

class QSocketNotifier;
class QTimer;

namespace z417 {

class BalloonServer : public QObject {
    Q_OBJECT
public:
    // socketName: the socket's name in the runtime folder (the demo has its own).
    explicit BalloonServer(const std::string& socketName = kBalloonSocketName,
                           QObject* parent = nullptr);
    ~BalloonServer() override;
    BalloonServer(const BalloonServer&) = delete;
    BalloonServer& operator=(const BalloonServer&) = delete;

    // Starts listening; refuses a runtime folder that is not this user's alone.
    Status listen();
    QString socketPath() const;

signals:
    void requested(int type, int kind);
    // Another program changed the settings files ("reload").
    void reloadRequested();
    // A second start of the program wants the window brought forward ("show").
    void showRequested();
    // The same, with the activation token of the second start's launch.
    void activateRequested(const QString& token);

private:
    struct Client {
        QSocketNotifier* readable = nullptr;
        QTimer* deadline = nullptr;
        std::string received;
    };
    Status openListeningSocket();
    void acceptClients();
    void readClient(int fd);
    void dropClient(int fd);
    void dispatch(const std::string& line);

    QString path_;
    int listenFd_ = -1;
    QSocketNotifier* incoming_ = nullptr;
    std::map<int, Client> clients_;
};

} // namespace z417
