#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>

// The protocol floor of a lobby change: a bare IRC connection that does the
// least any client must do to learn of it, which for a client that follows
// the membership lines is reading the NICK line: it notes the moment one
// comes. Received text is searched as it arrives, as the lobby client does,
// and nothing else is done with it.
class FloorClient : public QObject {
    Q_OBJECT
public:
    FloorClient(const QByteArray& nick, const QByteArray& channel, const QElapsedTimer& clock,
                QObject* parent = nullptr);

    // Connects, registers and joins the channel.
    void start(quint16 port);
    bool joined() const { return m_joined; }
    bool failed() const { return m_failed; }

    // Changes the nickname and asks for the names, as a lobby client taking a slot does.
    void changeNick(const QByteArray& nick);
    // When a NICK line has come since expectChange().
    bool answered() const { return m_joined && !m_waiting; }
    // Clock time (ns) at which it came.
    qint64 answeredAt() const { return m_answeredAt; }
    // Clock time (ns) at which text last arrived.
    qint64 lastActivity() const { return m_lastActivity; }
    // Forget the last answer: answered() turns false until a NICK line comes.
    void expectChange() { m_waiting = true; }

private:
    void onReadyRead();
    void send(const QByteArray& line) { m_socket.write(line + "\r\n"); }

    QTcpSocket m_socket;
    QByteArray m_nick;
    QByteArray m_channel;
    QByteArray m_pending;
    const QElapsedTimer& m_clock;
    qint64 m_answeredAt = 0;
    qint64 m_lastActivity = 0;
    bool m_registered = false;
    bool m_joined = false;
    bool m_waiting = false;
    bool m_failed = false;
};
