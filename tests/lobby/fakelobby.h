#pragma once

#include "fakes.h"
#include "lobby/lobbyclient.h"
#include "qtprint.h"

#include <QByteArray>
#include <QString>

// One lobby client on fake ports, driven through the entry points the windows
// call. The player is Bob in lobby 3 unless a test says otherwise.
struct FakeLobby {
    FakeTransport transport;
    FakeShell shell;
    FakeView view;
    LobbyClient client{transport, shell, view};
    Declares& d = client.state();

    explicit FakeLobby(const QString& nick = QStringLiteral("MM_aaFFFBob"),
                       const QString& channel = QStringLiteral("#ZentharaNET_3"))
    {
        d.CodeLetter = QStringLiteral("a");
        d.MyNick = nick;
        d.CurrentChannel = channel;
    }

    // Loads the lobby window, lets the server accept and echo our JOIN (which
    // shows nothing); forgets what was sent so a test sees only what it caused.
    void connect()
    {
        client.Form_Load();
        transport.acceptConnection();
        view.chat.clear();
        receive(ownJoin());
        transport.takeLines();
    }
    void receive(const QByteArray& bytes) { transport.deliver(bytes); }
    void receive(const QString& text) { transport.deliver(text.toLatin1()); }
    void receive(const char* text) { transport.deliver(QByteArray(text)); }
    QStringList sent() { return transport.takeLines(); }
    QString ownJoin() const { return ":" + d.MyNick + "!~u@h.test JOIN :" + d.CurrentChannel + "\r\n"; }
};

// The same client, already connected.
struct ConnectedLobby : FakeLobby {
    template <class... Args> explicit ConnectedLobby(const Args&... args) : FakeLobby(args...) { connect(); }
};

// A channel message as the server relays it from nick.
inline QString chanMsg(const QString& nick, const QString& channel, const QString& text)
{
    return QStringLiteral(":") + nick + QStringLiteral("!user@host.test PRIVMSG ") + channel +
           QStringLiteral(" :") + text + QStringLiteral("\r\n");
}
