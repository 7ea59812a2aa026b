#include "rawircclient.h"

#include "eventwait.h"

RawIrcClient::RawIrcClient()
{
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] {
        m_partial += m_socket.readAll();
        qsizetype end;
        while ((end = m_partial.indexOf("\r\n")) >= 0) {
            m_lines.append(m_partial.left(end));
            m_partial.remove(0, end + 2);
            if (m_lines.last().startsWith("PING "))
                sendLine("PONG " + m_lines.last().mid(5));
        }
    });
}

bool RawIrcClient::connectTo(quint16 port, int timeoutMs)
{
    m_socket.connectToHost(QStringLiteral("127.0.0.1"), port, QIODevice::ReadWrite,
                           QAbstractSocket::IPv4Protocol);
    return m_socket.waitForConnected(timeoutMs);
}

bool RawIrcClient::registerAs(const QString& nick, int timeoutMs)
{
    const QByteArray name = nick.toLatin1();
    sendLine("NICK " + name);
    sendLine("USER " + name + " 0 * :" + name);
    // 001 welcomes; 431 to 433 and 436 refuse the nickname.
    const auto reply = waitForLine(
        [](const QByteArray& line) {
            static const QList<QByteArray> answers{"001", "431", "432", "433", "436", "ERROR"};
            return answers.contains(commandOf(line));
        },
        timeoutMs);
    return reply && commandOf(*reply) == "001";
}

bool RawIrcClient::join(const QString& channel, int timeoutMs)
{
    const QByteArray name = channel.toLatin1();
    sendLine("JOIN " + name);
    return waitForLine(
               [&name](const QByteArray& line) {
                   const QList<QByteArray> words = line.split(' ');
                   return words.size() > 3 && words[1] == "366" &&
                          words[3].compare(name, Qt::CaseInsensitive) == 0;
               },
               timeoutMs)
        .has_value();
}

void RawIrcClient::sendLine(const QByteArray& line)
{
    m_socket.write(line + "\r\n");
    m_socket.flush();
}

std::optional<QByteArray> RawIrcClient::waitForLine(const LinePredicate& matches, int timeoutMs)
{
    const qsizetype start = m_nextUnread;
    auto found = [&]() -> std::optional<QByteArray> {
        while (m_nextUnread < m_lines.size()) {
            if (matches(m_lines.at(m_nextUnread++)))
                return m_lines.at(m_nextUnread - 1);
        }
        return std::nullopt;
    };
    std::optional<QByteArray> line;
    waitUntil([&] { return (line = found()) || m_socket.state() != QAbstractSocket::ConnectedState; },
              timeoutMs);
    // The server's last lines may come with its close; they count as well.
    if (!line && !(line = found()))
        m_nextUnread = start;
    return line;
}

QByteArray RawIrcClient::commandOf(const QByteArray& line)
{
    const QList<QByteArray> words = line.split(' ');
    return words.value(line.startsWith(':') ? 1 : 0);
}
