// Receives balloon requests from other programs on the per-user local socket.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace z417 {

class BalloonServer : public QObject {
    Q_OBJECT
public:
    explicit BalloonServer(QObject* parent = nullptr);
    // Starts listening; on failure returns false with a reason.
    bool listen(QString& error);
    QString socketPath() const;

signals:
    void requested(int type, int kind);
    // Another program changed the settings files ("reload").
    void reloadRequested();

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket* socket);

    QLocalServer* server_ = nullptr;
    int clients_ = 0;
};

} // namespace z417
