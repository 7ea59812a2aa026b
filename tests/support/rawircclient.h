#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTcpSocket>

#include <functional>
#include <optional>

// A bare IRC client on 127.0.0.1 for tests, playing "another user" against a
// real server. It answers the server's PING and waits for lines with the event
// loop running.
//
// waitForLine() reads forward: each call looks at the lines after the last
// line an earlier call matched, so a test can expect a sequence of lines one
// after the other. A wait that times out reads nothing.
class RawIrcClient {
public:
    using LinePredicate = std::function<bool(const QByteArray& line)>;

    RawIrcClient();

    bool connectTo(quint16 port, int timeoutMs = 5000);
    // Sends NICK and USER and waits for the welcome (001). False when the
    // server refuses the nickname or does not welcome in time.
    bool registerAs(const QString& nick, int timeoutMs = 5000);
    // Sends JOIN and waits for the end of the channel's names reply (366).
    bool join(const QString& channel, int timeoutMs = 5000);
    // `line` without its CR LF; it is added.
    void sendLine(const QByteArray& line);

    // The first unread line for which `matches` holds, or nothing after
    // `timeoutMs` (or once the connection is gone). Lines up to the match
    // count as read.
    std::optional<QByteArray> waitForLine(const LinePredicate& matches, int timeoutMs = 5000);

    // The command word of an IRC line: "PRIVMSG" of ":a!b@c PRIVMSG #x :hi".
    static QByteArray commandOf(const QByteArray& line);

private:
    QTcpSocket m_socket;
    QByteArray m_partial;
    QList<QByteArray> m_lines;
    qsizetype m_nextUnread = 0;
};
