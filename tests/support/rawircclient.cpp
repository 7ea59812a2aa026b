#include "rawircclient.h"

#include "eventwait.h"

RawIrcClient::RawIrcClient()
{
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] {
        while (m_socket.canReadLine()) {
            const QByteArray line = m_socket.readLine().chopped(2); // CR LF
            m_lines.append(line);
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
    sendLine("NICK " + name);
    sendLine("USER " + name + " 0 * :" + name);
    return waitForLine([](const QByteArray& line) { return commandOf(line) == "001"; }, timeoutMs)
        .has_value();
}

bool RawIrcClient::join(const QString& channel, int timeoutMs)
{
    sendLine("JOIN " + channel.toLatin1());
    return waitForLine([](const QByteArray& line) { return commandOf(line) == "366"; }, timeoutMs)
        .has_value();
}

std::optional<QByteArray> RawIrcClient::waitForLine(const LinePredicate& matches, int timeoutMs)
{
    qsizetype next = m_nextUnread;
    const auto found = [&] {
        while (next < m_lines.size() && !matches(m_lines.at(next)))
            ++next;
        return next < m_lines.size();
    };
    // The server's last lines may come with its close; they count as well.
    waitUntil([&] { return found() || m_socket.state() != QAbstractSocket::ConnectedState; }, timeoutMs);
    if (!found())
        return std::nullopt;
    m_nextUnread = next + 1;
    return m_lines.at(next);
}
