#include "rawircclient.h"

#include "eventwait.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

RawIrcClient::RawIrcClient(QObject* parent) : QObject(parent), m_socket(new QTcpSocket(this))
{
    connect(m_socket, &QTcpSocket::readyRead, this, &RawIrcClient::onReadyRead);
}

RawIrcClient::~RawIrcClient()
{
    m_socket->abort();
}

bool RawIrcClient::connectTo(const QString& host, quint16 port, int timeoutMs)
{
    m_socket->abort();
    m_received.clear();
    m_partial.clear();
    m_lines.clear();
    m_nextUnread = 0;
    bool settled = false;
    const auto onConnected = connect(m_socket, &QTcpSocket::connected, this, [&settled] { settled = true; });
    const auto onError = connect(m_socket, &QTcpSocket::errorOccurred, this, [&settled] { settled = true; });
    m_socket->connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
    waitUntil([&settled] { return settled; }, timeoutMs);
    disconnect(onConnected);
    disconnect(onError);
    return isConnected();
}

bool RawIrcClient::isConnected() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

bool RawIrcClient::registerAs(const QString& nick, int timeoutMs)
{
    m_nick = nick;
    const QByteArray name = nick.toLatin1();
    sendLine("NICK " + name);
    sendLine("USER " + name + " 0 * :" + name);
    const auto reply = waitForLine(
        [](const QByteArray& line) {
            const QByteArray command = commandOf(line);
            // 001 welcome; 431..433 and 436 refuse the nickname.
            return command == "001" || command == "431" || command == "432" || command == "433" ||
                   command == "436" || command == "ERROR";
        },
        timeoutMs);
    return reply && commandOf(*reply) == "001";
}

bool RawIrcClient::join(const QString& channel, int timeoutMs)
{
    const QByteArray name = channel.toLatin1();
    sendLine("JOIN " + name);
    const auto end = waitForLine(
        [&name](const QByteArray& line) {
            const QList<QByteArray> words = line.split(' ');
            return words.size() > 3 && words[1] == "366" && words[3].compare(name, Qt::CaseInsensitive) == 0;
        },
        timeoutMs);
    return end.has_value();
}

bool RawIrcClient::quit(const QByteArray& message, int timeoutMs)
{
    sendLine(message.isEmpty() ? QByteArray("QUIT") : "QUIT :" + message);
    return waitForDisconnected(timeoutMs);
}

void RawIrcClient::abort()
{
    m_socket->abort();
}

void RawIrcClient::sendLine(const QByteArray& line)
{
    sendRaw(line + "\r\n");
}

void RawIrcClient::sendRaw(const QByteArray& bytes)
{
    m_socket->write(bytes);
    m_socket->flush();
}

std::optional<QByteArray> RawIrcClient::waitForLine(const LinePredicate& matches, int timeoutMs)
{
    std::optional<QByteArray> found;
    const qsizetype start = m_nextUnread;
    auto scan = [&] {
        while (m_nextUnread < m_lines.size()) {
            const QByteArray& line = m_lines.at(m_nextUnread++);
            if (matches(line)) {
                found = line;
                return true;
            }
        }
        return false;
    };
    waitUntil([&] { return scan() || !isConnected(); }, timeoutMs);
    // The server's last lines may come with its close; they count as well.
    if (!found)
        scan();
    // A wait that finds nothing leaves the lines unread for the next one.
    if (!found)
        m_nextUnread = start;
    return found;
}

std::optional<QByteArray> RawIrcClient::waitForLineContaining(const QByteArray& part, int timeoutMs)
{
    return waitForLine([&part](const QByteArray& line) { return line.contains(part); }, timeoutMs);
}

std::optional<QByteArray> RawIrcClient::waitForCommand(const QByteArray& command, int timeoutMs)
{
    return waitForLine([&command](const QByteArray& line) { return commandOf(line) == command; }, timeoutMs);
}

bool RawIrcClient::waitForDisconnected(int timeoutMs)
{
    return waitUntil([this] { return m_socket->state() == QAbstractSocket::UnconnectedState; }, timeoutMs);
}

void RawIrcClient::skipReceived()
{
    m_nextUnread = m_lines.size();
}

QByteArray RawIrcClient::commandOf(const QByteArray& line)
{
    const QList<QByteArray> words = line.split(' ');
    if (words.isEmpty())
        return {};
    if (words[0].startsWith(':'))
        return words.size() > 1 ? words[1] : QByteArray();
    return words[0];
}

void RawIrcClient::onReadyRead()
{
    const QByteArray data = m_socket->readAll();
    m_received += data;
    m_partial += data;
    qsizetype end;
    while ((end = m_partial.indexOf("\r\n")) >= 0) {
        const QByteArray line = m_partial.left(end);
        m_partial.remove(0, end + 2);
        m_lines.append(line);
        if (line.startsWith("PING "))
            sendLine("PONG " + line.mid(5));
        emit lineReceived(line);
    }
}
