#pragma once

#include "app/login.h"
#include "eventwait.h"
#include "fakes.h"
#include "irc/tcptransport.h"
#include "lobby/lobbyclient.h"
#include "lobby/nickcode.h"

#include <algorithm>
#include <memory>
#include <vector>

constexpr int Wait = 20000;

// A player's lobby client built from the core on a real socket, with recording
// fakes for the desktop. It logs in as `name` and enters `channel`.
struct CoreClient {
    TcpTransport transport;
    FakeShell shell;
    FakeView view;
    LobbyClient client{transport, shell, view};

    CoreClient(QString name, const QString& channel, quint16 port)
    {
        Declares& d = client.state();
        d.ServerHost = QStringLiteral("127.0.0.1");
        d.ServerPort = qint16(port);
        d.CurrentChannel = channel;
        if (Login::logIn(d, name))
            client.Form_Load();
    }
    QString name() const { return NickCode::userName(client.state().MyNick); }
};

using CoreClients = std::vector<std::unique_ptr<CoreClient>>;

// Waits until `holds` for every client.
template <typename Holds> bool waitForAll(const CoreClients& clients, Holds holds)
{
    return waitUntil(
        [&] { return std::all_of(clients.begin(), clients.end(), [&](const auto& c) { return holds(*c); }); },
        Wait);
}

// Waits until every client lists all of `names` as chatting.
inline bool allSee(const CoreClients& clients, const QStringList& names)
{
    return waitForAll(clients, [&](const CoreClient& c) {
        return std::all_of(names.begin(), names.end(),
                           [&](const QString& n) { return c.view.chatList.contains(n); });
    });
}
