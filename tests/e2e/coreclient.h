#pragma once

#include "eventwait.h"
#include "fakes.h"
#include "irc/tcptransport.h"
#include "lobby/lobbyclient.h"
#include "lobby/nickcode.h"

#include <algorithm>
#include <memory>
#include <vector>

constexpr int Wait = 10000;

// A lobby client built from the core on a real socket, with recording fakes
// for the desktop: a player's machine without its windows. Form_Load() logs in.
struct CoreClient {
    TcpTransport transport;
    FakeShell shell;
    FakeView view;
    LobbyClient client{transport, shell, view};

    CoreClient(const QString& name, const QString& channel, quint16 port)
    {
        Declares& d = client.state();
        d.ServerHost = QStringLiteral("127.0.0.1");
        d.ServerPort = qint16(port);
        d.CodeLetter = QStringLiteral("a");
        d.NickPrefix = QStringLiteral("MM_aaFFF");
        d.MyNick = d.NickPrefix + name;
        d.CurrentChannel = channel;
        QObject::connect(&transport, &Transport::received, [this](const QByteArray& data) {
            // Keep a short tail so a PONG cut across two reads is still seen.
            m_tail = m_tail.right(64) + data;
            m_pongs += int(m_tail.count(Token)) - int(m_tail.left(m_tail.size() - data.size()).count(Token));
        });
    }

    // The server answers a client's lines in order: once the PONG to this PING
    // is in, every reply to what the client sent before has been read too.
    void askForSync()
    {
        ++m_pings;
        transport.send(QByteArray("PING :") + Token + "\r\n");
    }
    bool synced() const { return m_pongs >= m_pings; }

    QString name() const { return NickCode::userName(client.state().MyNick); }
    bool inChatList(const QString& shown) const { return view.chatList.contains(shown); }
    // Registered and joined: the welcome block has replaced the chat pane.
    bool welcomed() const { return view.chat.startsWith(QStringLiteral("<--WELCOME TO ZentharaNET")); }

private:
    static constexpr const char* Token = "zensync";
    QByteArray m_tail;
    int m_pings = 0;
    int m_pongs = 0;
};

using CoreClients = std::vector<std::unique_ptr<CoreClient>>;

// Waits until `holds` for every client.
template <typename Holds> bool waitForAll(const CoreClients& clients, Holds holds)
{
    return waitUntil(
        [&] { return std::all_of(clients.begin(), clients.end(), [&](auto& c) { return holds(*c); }); },
        Wait);
}

// Lets every client's outstanding replies arrive.
inline bool settle(const CoreClients& clients)
{
    for (const auto& c : clients)
        c->askForSync();
    return waitForAll(clients, [](const CoreClient& c) { return c.synced(); });
}

// Waits until every client lists all of `names` as chatting.
inline bool allSeeAll(const CoreClients& clients, const QStringList& names)
{
    return waitForAll(clients, [&](const CoreClient& c) {
        return std::all_of(names.begin(), names.end(), [&](const QString& n) { return c.inChatList(n); });
    });
}
