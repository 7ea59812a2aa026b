#pragma once

#include "eventwait.h"
#include "fakes.h"
#include "irc/tcptransport.h"
#include "lobby/lobbyclient.h"
#include "lobby/nickcode.h"

#include <memory>

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
    }

    QString name() const { return NickCode::userName(client.state().MyNick); }
    bool inChatList(const QString& shown) const { return view.chatList.contains(shown); }
    bool inPlayList(const QString& shown) const { return view.playList.contains(shown); }
    // Registered and joined: the welcome block has replaced the chat pane.
    bool welcomed() const { return view.chat.startsWith(QStringLiteral("<--WELCOME TO ZentharaNET")); }
};

// Every client's lists hold all of `names` as chatting users.
inline bool allSeeAll(const std::vector<std::unique_ptr<CoreClient>>& clients, const QStringList& names)
{
    for (const auto& c : clients) {
        for (const QString& n : names) {
            if (!c->inChatList(n))
                return false;
        }
    }
    return true;
}
