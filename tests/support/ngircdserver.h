#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A real ngIRCd for tests: listens on 127.0.0.1 only, on a free port chosen
// when the object is made (so linked servers can name each other before
// either starts), configured in a private temporary folder, run in the
// foreground as a child process, never as root, and stopped by its PID.
class NgircdServer {
public:
    NgircdServer() : m_port(freePort()) {}
    ~NgircdServer() { stop(); }

    // Takes effect at the next start.
    void setMaxNickLength(int length) { m_maxNickLength = length; }
    // Flood penalties are on, as shipped, unless a benchmark turns them off.
    void setPenalties(bool on) { m_penalties = on; }
    // This server dials `peer`. Only one side may dial: ngIRCd 26.1 crashes
    // when both dial each other.
    void linkTo(NgircdServer& peer);
    // At most this many open files, so a few less connections. A linked
    // server that takes more than about a hundred connections needs one:
    // ngIRCd 26.1 breaks a compressed link for good when its connection table
    // grows (the table moves in memory), so such a server starts without its
    // links, has its table filled to this size, and links only then.
    void setFileLimit(int files) { m_fileLimit = files; }

    // Starts the server and waits until it listens. False (with errorString()
    // set) when it exits or does not listen in time.
    bool start(int timeoutMs = 10000);
    // Terminates the server by its PID and waits for it to exit. Idempotent.
    void stop();
    // A signal to its PID: SIGSTOP makes a server that hangs, closing nothing.
    void signal(int number) const;

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    // The server's IRC name: the prefix of its numerics.
    QString name() const { return QStringLiteral("irc%1.zen.test").arg(m_port); }
    QString errorString() const { return m_error; }

    // A port on 127.0.0.1 that nothing listened on a moment ago.
    static quint16 freePort();

private:
    bool isRunning() const { return m_process && m_process->state() != QProcess::NotRunning; }
    // The shipped configuration with this object's name, address, port, settings and links.
    QByteArray config(const QByteArray& base, bool withLinks) const;
    bool writeConfig(bool withLinks);
    bool waitForOutput(const QByteArray& text, int timeoutMs);
    // Holds connections until every file the server may open is in use.
    bool fillTable(int timeoutMs);

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QByteArray m_servers; // the [Server] sections of the links
    QString m_error;
    quint16 m_port = 0;
    int m_maxNickLength = 28;
    int m_fileLimit = 0; // 0: as inherited, and no filling
    bool m_penalties = true;
};
