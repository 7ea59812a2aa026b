#pragma once

#include "eventwait.h"
#include "fakes.h"
#include "irc/tcptransport.h"
#include "lobby/lobbyclient.h"
#include "lobby/nickcode.h"

#include <algorithm>
#include <memory>
#include <vector>

// One lobby client built from the core, on a real socket, with recording
// fakes for the desktop: what a player's machine does without its windows.
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
            m_pongs +=
                int(m_tail.count(SyncToken)) - int(m_tail.left(m_tail.size() - data.size()).count(SyncToken));
        });
    }

    // Asks the server for a PONG and counts on it: the server answers a
    // client's lines in order, so once the PONG is in, every reply to what the
    // client sent before it has been read too.
    void askForSync()
    {
        ++m_pings;
        transport.send(QByteArrayLiteral("PING :") + SyncToken + QByteArrayLiteral("\r\n"));
    }
    bool synced() const { return m_pongs >= m_pings; }

    QString name() const { return NickCode::userName(client.state().MyNick); }
    bool inChatList(const QString& shown) const { return view.chatList.contains(shown); }
    bool inPlayList(const QString& shown) const { return view.playList.contains(shown); }
    // Registered and joined: the welcome block has replaced the chat pane.
    bool welcomed() const { return view.chat.startsWith(QStringLiteral("<--WELCOME TO ZentharaNET")); }

private:
    static constexpr const char* SyncToken = "zensync";
    QByteArray m_tail;
    int m_pings = 0;
    int m_pongs = 0;
};

using CoreClients = std::vector<std::unique_ptr<CoreClient>>;

// Lets every client's outstanding replies arrive: once it holds, what a test
// sees next was caused by what it does next.
inline bool settle(const CoreClients& clients, int timeoutMs)
{
    for (const auto& c : clients)
        c->askForSync();
    return waitUntil(
        [&] { return std::all_of(clients.begin(), clients.end(), [](auto& c) { return c->synced(); }); },
        timeoutMs);
}

// Every client's lists hold all of `names` as chatting users.
inline bool allSeeAll(const CoreClients& clients, const QStringList& names)
{
    return std::all_of(clients.begin(), clients.end(), [&](const auto& c) {
        return std::all_of(names.begin(), names.end(), [&](const QString& n) { return c->inChatList(n); });
    });
}
