#include "rawircclient.h"

#include "eventwait.h"

RawIrcClient::RawIrcClient()
{
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] {
        while (m_socket.canReadLine()) {
            const QByteArray line = m_socket.readLine().chopped(2); // CR LF
            ++m_received[line.split(' ').value(line.startsWith(':') ? 1 : 0)];
            if (line.startsWith("PING "))
                sendLine("PONG " + line.mid(5));
            if (onLine)
                onLine(line);
        }
    });
}

bool RawIrcClient::sendAndWait(const QByteArray& line, const QByteArray& reply)
{
    const int seen = m_received.value(reply);
    sendLine(line);
    return waitUntil([&] { return m_received.value(reply) > seen; }, 5000);
}
