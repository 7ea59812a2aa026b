#pragma once

#include "app/ports.h"

#include <QAbstractSocket>
#include <QPointer>

class QTcpSocket;

// Transport over a QTcpSocket, reporting the lobby's numeric socket states.
// Connects over IPv4 only: lobby addresses are dotted IPv4 (also for "localhost").
// Each connection gets a fresh socket, so nothing from an earlier connection can
// reach the client after close() or a new connectToHost().
class TcpTransport : public Transport {
    Q_OBJECT
public:
    explicit TcpTransport(QObject* parent = nullptr);
    ~TcpTransport() override;

    void connectToHost(const QString& host, quint16 port) override;
    void close() override;
    int state() const override { return m_state; }
    void send(const QByteArray& data) override;
    QString localIP() const override;

private:
    void onConnected();
    void onReadyRead();
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void onDisconnected();
    void serverClosed();
    void dropSocket();

    QPointer<QTcpSocket> m_socket;
    int m_state = SocketState::Closed;
};
