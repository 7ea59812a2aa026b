#pragma once

#include "app/declares.h"
#include "app/ports.h"

#include <QByteArray>
#include <QObject>

// The one link to the IRC server: registers, sends lines, and hands received
// text to the dispatcher in blocks of whole lines.
class Connection : public QObject {
    Q_OBJECT
public:
    // Fixed server-name parameter of the USER line.
    static inline const QString ServerNameToken = QStringLiteral("zentharanet.net");
    // A tail without a line end is handed over as it is once it grows past this.
    static constexpr qsizetype MaxHeldTail = 64 * 1024;

    Connection(Declares& state, Transport& transport, View& view, QObject* parent = nullptr);

    // Drops any connection and starts a new one to ServerHost:ServerPort.
    // NICK and USER go out once the transport reports the connection.
    void open();
    void close();
    int state() const { return m_transport.state(); }
    QString localIP() const { return m_transport.localIP(); }

    // Sends line + CR LF while connected; drops it silently otherwise.
    void SendLine(const QString& line);
    // Sends a channel message to CurrentChannel and echoes it into the chat pane.
    void SendChat(QString text);
    // The NICK and USER lines of registration.
    void sendRegistration();
    QString userLine() const;

signals:
    // NICK and USER have gone out on a new connection.
    void registered();
    // One or more whole lines (or an over-long tail), as received.
    void blockReceived(const QString& block);
    // A socket failure; whileConnecting tells a failed connect from a later one.
    void failed(bool whileConnecting, int code, const QString& description);

private:
    void onConnected();
    void onReceived(const QByteArray& data);
    void onFailed(int code, const QString& description);

    Declares& m_d;
    Transport& m_transport;
    View& m_view;
    QByteArray m_tail;
    bool m_connecting = false;
};
