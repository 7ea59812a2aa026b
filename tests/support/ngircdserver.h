#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A real ngIRCd for tests: listens on 127.0.0.1 only, on a free port chosen
// when the object is made (so linked servers can name each other before
// either starts), runs in the foreground as a child, never as root after it
// has read its configuration, and is stopped by its PID.
class NgircdServer {
public:
    NgircdServer() : m_port(freePort()) {}
    ~NgircdServer() { stop(); }
    NgircdServer(const NgircdServer&) = delete;
    NgircdServer& operator=(const NgircdServer&) = delete;

    // Off, the server handles every line as it arrives. From the next start on.
    void setFloodPenalties(bool on) { m_penalties = on; }
    // Longer nicknames get 432. From the next start on.
    void setMaxNickLength(int length) { m_maxNickLength = length; }
    // The text of a configuration file to run from instead of the tests' own;
    // the name, port, PID file, user and penalties stay this object's.
    void setBaseConfig(const QByteArray& config) { m_base = config; }
    // This server dials `peer`; call before starting either. Only one side
    // may dial: ngIRCd 26.1 crashes when both dial each other.
    void linkTo(NgircdServer& peer);

    // Starts the server and waits until it is ready; false with errorString().
    // A new, unlinked server whose port was taken meanwhile moves to another.
    bool start(int timeoutMs = 10000);
    // Terminates the server by its PID and waits for it to exit.
    void stop();
    // Waits until both servers, as they run now, have synchronised their link.
    bool waitForLink(const NgircdServer& peer, int timeoutMs = 20000) const;

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    // The server's IRC name, the prefix of its numerics.
    QString name() const { return QStringLiteral("irc%1.zen.test").arg(m_port); }
    QString errorString() const { return m_error; }

    // A port on 127.0.0.1 that nothing listened on a moment ago; never the same twice.
    static quint16 freePort();

private:
    bool launch(int timeoutMs);

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QByteArray m_log;
    QByteArray m_base;
    QByteArray m_servers; // the [Server] sections of the links
    QString m_error;
    quint16 m_port = 0;
    bool m_penalties = true;
    int m_maxNickLength = 28;
    bool m_started = false;
};
