#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QTcpSocket;

// A bare IRC client for tests, playing "another user" against a real server.
// It keeps every byte received and the lines they form, answers the server's
// PING, and waits for lines with the event loop running.
//
// waitForLine() reads forward: each call looks at the lines after the last
// line an earlier call matched (or skipped with skipReceived()), so a test can
// expect a sequence of lines one after the other. A wait that times out reads
// nothing.
class RawIrcClient : public QObject {
    Q_OBJECT
public:
    using LinePredicate = std::function<bool(const QByteArray& line)>;

    explicit RawIrcClient(QObject* parent = nullptr);
    ~RawIrcClient() override;

    bool connectTo(const QString& host, quint16 port, int timeoutMs = 5000);
    bool connectTo(quint16 port, int timeoutMs = 5000)
    {
        return connectTo(QStringLiteral("127.0.0.1"), port, timeoutMs);
    }
    bool isConnected() const;

    // Sends NICK and USER and waits for the welcome (001). False when the
    // server refuses the nickname or does not welcome in time.
    bool registerAs(const QString& nick, int timeoutMs = 5000);
    // Sends JOIN and waits for the end of the channel's names reply (366).
    bool join(const QString& channel, int timeoutMs = 5000);
    // Sends QUIT and waits until the server has closed the connection.
    bool quit(const QByteArray& message = QByteArray(), int timeoutMs = 5000);
    // Drops the connection without a word.
    void abort();

    // `line` without its CR LF; it is added.
    void sendLine(const QByteArray& line);
    // Bytes exactly as given.
    void sendRaw(const QByteArray& bytes);

    // The first unread line for which `matches` holds, or nothing after
    // `timeoutMs` (or once the connection is gone). Lines up to the match
    // count as read.
    std::optional<QByteArray> waitForLine(const LinePredicate& matches, int timeoutMs = 5000);
    std::optional<QByteArray> waitForLineContaining(const QByteArray& part, int timeoutMs = 5000);
    // The first unread line whose command (or numeric) is `command`.
    std::optional<QByteArray> waitForCommand(const QByteArray& command, int timeoutMs = 5000);
    bool waitForDisconnected(int timeoutMs = 5000);
    // Marks every line received so far as read.
    void skipReceived();

    QString nick() const { return m_nick; }
    // Every byte received since connecting, CR LF and all.
    QByteArray received() const { return m_received; }
    // Complete lines received (without CR LF), read or not.
    QList<QByteArray> lines() const { return m_lines; }

    // The command word of an IRC line: "PRIVMSG" of ":a!b@c PRIVMSG #x :hi".
    static QByteArray commandOf(const QByteArray& line);

signals:
    void lineReceived(const QByteArray& line);

private:
    void onReadyRead();

    QTcpSocket* m_socket = nullptr;
    QString m_nick;
    QByteArray m_received;
    QByteArray m_partial;
    QList<QByteArray> m_lines;
    qsizetype m_nextUnread = 0;
};
