#pragma once

#include "app/ports.h"

// A transport that is always connected and throws away what is sent: the
// client's own work on received text, with no socket in the way.
class BenchTransport : public Transport {
    Q_OBJECT
public:
    using Transport::Transport;
    void connectToHost(const QString&, quint16) override {}
    void close() override {}
    int state() const override { return SocketState::Connected; }
    void send(const QByteArray& data) override { sentBytes += data.size(); }
    QString localIP() const override { return QStringLiteral("127.0.0.1"); }

    qint64 sentBytes = 0;
};
