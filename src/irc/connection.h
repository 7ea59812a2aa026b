#pragma once

#include "app/declares.h"
#include "app/ports.h"
#include "irc/liveness.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <functional>

// The one link to the IRC server: registers, sends lines, and hands received
// text to the dispatcher in blocks of whole lines.
class Connection : public QObject {
    Q_OBJECT
public:
    // Fixed server-name parameter of the USER line.
    static inline const QString ServerNameToken = QStringLiteral("zentharanet.net");
    // A tail without a line end is handed over as it is once it grows past this.
    static constexpr qsizetype MaxHeldTail = 64 * 1024;
    // The token of our own PING while the server is quiet; any line back will do.
    static inline const QString AliveToken = QStringLiteral("ZenLobby");

    // How a connection the client did not close ended.
    enum class Loss { ServerClosed, Silent };

    Connection(Declares& state, Transport& transport, View& view, QObject* parent = nullptr);

    // Drops any connection and starts a new one to ServerHost:ServerPort.
    // NICK and USER go out once the transport reports the connection.
    void open();
    void close();
    // A link found silent was closed by us, but for the lobby the server
    // closed it: state 8 until the next connect.
    int state() const;
    QString localIP() const { return m_transport.localIP(); }

    // Sends line + CR LF while connected; drops it silently otherwise.
    void SendLine(const QString& line);
    // Sends a channel message to CurrentChannel and echoes it into the chat pane.
    void SendChat(QString text);
    // The NICK and USER lines of registration.
    void sendRegistration();
    QString userLine() const;

    // Milliseconds from any fixed start; the default is a monotonic clock.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }
    void setLivenessIntervals(qint64 quietMs, qint64 answerMs);
    // Runs on its own timer while connected; tests call it after moving their clock.
    void checkLiveness();

signals:
    // NICK and USER have gone out on a new connection.
    void registered();
    // One or more whole lines (or an over-long tail), as received.
    void blockReceived(const QString& block);
    // A socket failure; whileConnecting tells a failed connect from a later one.
    void failed(bool whileConnecting, int code, const QString& description);
    // The server closed the connection, or stayed silent too long; state() is 8.
    void lost(Connection::Loss how);

private:
    void onConnected();
    void onReceived(const QByteArray& data);
    void onFailed(int code, const QString& description);
    void onClosedByServer();

    Declares& m_d;
    Transport& m_transport;
    View& m_view;
    QByteArray m_tail;
    bool m_connecting = false;
    bool m_foundSilent = false;
    Liveness m_liveness;
    QTimer m_livenessTimer;
    std::function<qint64()> m_clock;
};
