#include "floorclient.h"

FloorClient::FloorClient(const QByteArray& nick, const QByteArray& channel, const QElapsedTimer& clock,
                         QObject* parent)
    : QObject(parent), m_nick(nick), m_channel(channel), m_clock(clock)
{
    connect(&m_socket, &QTcpSocket::readyRead, this, &FloorClient::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this] { m_failed = true; });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        send("NICK " + m_nick);
        send("USER " + m_nick + " 0 * :floor");
    });
}

void FloorClient::start(quint16 port)
{
    m_socket.connectToHost(QStringLiteral("127.0.0.1"), port);
}

void FloorClient::changeNick(const QByteArray& nick)
{
    m_nick = nick;
    send("NICK :" + nick);
    send("NAMES " + m_channel);
}

void FloorClient::onReadyRead()
{
    // Only whole lines count, so a line cut between two reads is seen once.
    m_pending += m_socket.readAll();
    m_lastActivity = m_clock.nsecsElapsed();
    const qsizetype end = m_pending.lastIndexOf("\r\n");
    if (end < 0)
        return;
    const QByteArray block = m_pending.left(end + 2);
    m_pending.remove(0, end + 2);

    if (block.contains("PING ")) {
        const qsizetype at = block.indexOf("PING ");
        send("PONG " + block.mid(at + 5, block.indexOf("\r\n", at) - at - 5));
    }
    if (!m_registered) {
        if (block.contains(" 001 ")) {
            m_registered = true;
            send("JOIN " + m_channel);
        }
        return;
    }
    // A client that follows the membership lines needs nothing more than the NICK line.
    if (m_joined && m_waiting && block.contains(" NICK :")) {
        m_waiting = false;
        m_answeredAt = m_clock.nsecsElapsed();
    }
    if (!m_joined && block.contains(" 366 "))
        m_joined = true;
}
