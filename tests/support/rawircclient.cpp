#include "rawircclient.h"

#include "eventwait.h"

RawIrcClient::RawIrcClient()
{
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] {
        while (m_socket.canReadLine()) {
            const QByteArray line = m_socket.readLine().chopped(2); // CR LF
            ++m_received[commandOf(line)];
            if (line.startsWith("PING "))
                sendLine("PONG " + line.mid(5));
            if (onLine)
                onLine(line);
        }
    });
}

bool RawIrcClient::registerAs(const QString& nick, int timeoutMs)
{
    const QByteArray name = nick.toLatin1();
    const int welcomes = m_received.value("001");
    sendLine("NICK " + name);
    sendLine("USER " + name + " 0 * :" + name);
    return waitForMore("001", welcomes, timeoutMs);
}

bool RawIrcClient::join(const QString& channel, int timeoutMs)
{
    const int namesEnds = m_received.value("366");
    sendLine("JOIN " + channel.toLatin1());
    return waitForMore("366", namesEnds, timeoutMs);
}

bool RawIrcClient::waitForMore(const QByteArray& command, int seen, int timeoutMs)
{
    return waitUntil([&] { return m_received.value(command) > seen; }, timeoutMs);
}
