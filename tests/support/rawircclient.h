#pragma once

#include "eventwait.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTcpSocket>

#include <functional>

// A bare IRC client on 127.0.0.1, "another user" against a real server. It
// answers PING.
class RawIrcClient {
public:
    RawIrcClient()
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
    bool connectTo(quint16 port, int timeoutMs = 5000)
    {
        m_socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        return m_socket.waitForConnected(timeoutMs);
    }
    // NICK and USER, then true once welcomed (001).
    bool registerAs(const QString& nick)
    {
        sendLine("USER " + nick.toLatin1() + " 0 * :" + nick.toLatin1());
        return sendAndWait("NICK " + nick.toLatin1(), "001");
    }
    // JOIN, then true at the end of the names reply (366) that follows it.
    bool join(const QString& channel) { return sendAndWait("JOIN " + channel.toLatin1(), "366"); }
    // `line` without its CR LF.
    void sendLine(const QByteArray& line) { m_socket.write(line + "\r\n"); }

    // Called with every line as it arrives, after the PONG to a PING.
    std::function<void(const QByteArray& line)> onLine;

private:
    // Sends `line`, then true once another `reply` has come.
    bool sendAndWait(const QByteArray& line, const QByteArray& reply)
    {
        const int seen = m_received.value(reply);
        sendLine(line);
        return waitUntil([&] { return m_received.value(reply) > seen; }, 5000);
    }

    QTcpSocket m_socket;
    QHash<QByteArray, int> m_received; // lines received, by command
};
