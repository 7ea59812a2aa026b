#pragma once

#include "simoptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QTimer>

// Restarts one server of the crowd's network at a given moment, through
// scripts/network.sh (which must have started it, with the same
// ZEN_NETWORK_DIR). The players on it lose their connection, reconnect by
// themselves once it is back and rejoin the lobby.
class ServerRestart : public QObject {
    Q_OBJECT
public:
    ServerRestart(const SimServer& server, int number, QObject* parent = nullptr);

    // Restarts the server `atMs` from now.
    void schedule(int atMs);
    bool done() const { return m_backAfterMs >= 0 || !m_error.isEmpty(); }
    // "  restarted      server 3 (127.0.0.1:6666) at 60.0 s, back in 1.2 s"
    QString summaryLine() const;

private:
    void run();

    SimServer m_server;
    int m_number;
    QTimer m_timer;
    QProcess m_script;
    QElapsedTimer m_run;
    QElapsedTimer m_restart;
    qint64 m_atMs = -1;
    qint64 m_backAfterMs = -1;
    QString m_error;
};
