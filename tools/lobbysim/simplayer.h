#pragma once

#include "simshell.h"
#include "simview.h"

#include "irc/tcptransport.h"
#include "lobby/lobbyclient.h"

#include <QObject>

// Where a crowd of simulated players goes.
struct SimTarget {
    QString host = QStringLiteral("127.0.0.1");
    quint16 port = 6664;
    QString channel = QStringLiteral("#ZentharaNET_0");
};

// One simulated player: a whole lobby client built from the core, on a real
// socket, with a desktop that shows nothing (SimShell, SimView).
class SimPlayer : public QObject {
    Q_OBJECT
public:
    // name is what the player types at the login; the login rules make the
    // nickname from it. It must be a name the login accepts.
    SimPlayer(const QString& name, const SimTarget& target, QObject* parent = nullptr);

    // The lobby window loads: connect, register, join.
    void enter();

    LobbyClient& client() { return m_client; }
    const LobbyClient& client() const { return m_client; }
    const Declares& state() const { return m_client.state(); }
    const SimView& view() const { return m_view; }
    SimView& view() { return m_view; }
    const SimShell& shell() const { return m_shell; }
    SimShell& shell() { return m_shell; }

    // The user name every list shows.
    QString name() const;
    // The client ended itself (kicked, lost its server at connect, socket error).
    bool ended() const { return m_client.hasEnded(); }
    // Connected, welcomed into the lobby and holding a names reply.
    bool inLobby() const;
    // Status letter of the own nickname: a chatting, b playing, c away, d be right back.
    QChar status() const;
    // Hut and slot of the own nickname; -1 when in no hut.
    int hut() const;
    int slot() const;
    // Received blocks the client has dispatched.
    qint64 blocksHandled() const { return m_blocks; }
    // Bytes received from the server, all connections together.
    qint64 bytesReceived() const { return m_bytes; }
    // Connections this player has registered on; a new one starts afresh.
    int session() const { return m_session; }

    // Sends a PING the server answers after everything this player sent
    // before it; syncsAnswered() catches up with syncsAsked() once its PONG
    // has been dispatched. Does nothing while not connected.
    void askForSync();
    qint64 syncsAsked() const { return m_syncsAsked; }
    qint64 syncsAnswered() const { return m_syncsAnswered; }

signals:
    void blockHandled();
    void synced();

private:
    void countPongs(const QString& block);

    SimShell m_shell;
    SimView m_view;
    TcpTransport m_transport;
    LobbyClient m_client{m_transport, m_shell, m_view};
    qint64 m_blocks = 0;
    qint64 m_bytes = 0;
    int m_session = 0;
    qint64 m_syncsAsked = 0;
    qint64 m_syncsAnswered = 0;
};
