#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QProcess;

// ngIRCd run from the lobby server configuration the project ships
// (server/ngircd.conf), as it is except for three things: it listens on a
// free port of 127.0.0.1, writes no PID file, and its flood penalties are
// switched on (ngIRCd's default) or off as the test asks, whatever the file
// says. Stopped by its PID.
class ShippedServer {
public:
    enum class Penalties { On, Off };

    explicit ShippedServer(Penalties penalties);
    ~ShippedServer();
    ShippedServer(const ShippedServer&) = delete;
    ShippedServer& operator=(const ShippedServer&) = delete;

    // False, with errorString() set, when the shipped file cannot be read or
    // the server does not answer within the time.
    bool start(int timeoutMs = 10000);
    void stop();

    quint16 port() const { return m_port; }
    QString errorString() const { return m_error; }
    // The configuration the server was started with.
    QByteArray config() const { return m_config; }

    // The shipped file turned into a configuration for `port`.
    static QByteArray configFor(const QByteArray& shipped, quint16 port, Penalties penalties);

private:
    bool answers(int timeoutMs);

    Penalties m_penalties;
    quint16 m_port = 0;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QByteArray m_config;
    QString m_error;
};
