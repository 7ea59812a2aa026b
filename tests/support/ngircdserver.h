#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QProcess;

// A real ngIRCd for tests: listens on 127.0.0.1 only, on a free port chosen
// when the object is made (so linked servers can name each other before
// either starts), configured in a private temporary folder, run in the
// foreground as a child process, never as root, and stopped by its PID.
class NgircdServer {
public:
    NgircdServer();
    ~NgircdServer();
    NgircdServer(const NgircdServer&) = delete;
    NgircdServer& operator=(const NgircdServer&) = delete;

    // Flood penalties are ngIRCd's default. Off ("MaxPenaltyTime = 0") the server
    // handles every line as soon as it arrives. Takes effect at the next start.
    void setFloodPenalties(bool on) { m_penalties = on; }
    // A nickname limit other than the tests' own 28 ("MaxNickLength"); longer
    // nicknames get 432. Takes effect at the next start.
    void setMaxNickLength(int length) { m_maxNickLength = length; }
    // Runs from the text of a configuration file instead of the tests' own:
    // it stays as it is but for the name, the address, the port, the PID file,
    // the user and the flood penalties, which are this object's.
    void setBaseConfig(const QByteArray& config) { m_base = config; }
    // This server dials `peer`, which waits for it; call before starting
    // either, then waitForLink(). Only one side may dial: ngIRCd 26.1 crashes
    // when both dial each other.
    void linkTo(NgircdServer& peer);

    // Starts the server and waits until it answers on its port. False (with
    // errorString() set) when it exits or does not answer within the time.
    // If something else took the port of a server that never ran and has no
    // links, it moves to another free port: read port() after start().
    bool start(int timeoutMs = 10000);
    // Terminates the server by its PID and waits for it to exit. Idempotent.
    void stop();
    bool isRunning() const;
    // Waits until a client here sees a client on the running `peer` join a
    // channel both joined: the servers are linked.
    bool waitForLink(const NgircdServer& peer, int timeoutMs = 20000) const;

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    // The server's IRC name, "irc<port>.zen.test": the prefix of its numerics.
    QString name() const { return QStringLiteral("irc%1.zen.test").arg(m_port); }
    qint64 pid() const;
    QString errorString() const { return m_error; }

    // A port on 127.0.0.1 that nothing listened on a moment ago; never the same
    // one twice in this process.
    static quint16 freePort();

private:
    QByteArray config() const;
    bool launch(int timeoutMs);
    bool answersOnPort(int timeoutMs);

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QByteArray m_base;
    QByteArray m_servers; // the [Server] sections of the links
    QString m_error;
    quint16 m_port = 0;
    bool m_penalties = true;
    int m_maxNickLength = 0;
    bool m_started = false;
};
