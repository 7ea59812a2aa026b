// The lobby window's caption follows the socket state once a second.
#include "uitest.h"

#include "eventwait.h"
#include "lobby/lobbyclient.h"

#include <gtest/gtest.h>

namespace {

// A transport whose state the test sets without any connection events.
class StateTransport : public FakeTransport {
public:
    int state() const override { return forced; }
    int forced = SocketState::Closed;
};

struct CaptionCase {
    int state;
    QString nick;
    QString channel;
    QString caption;
};

TEST(LobbyCaption, NamesTheSocketStateTheUserAndTheLobby)
{
    const QString prefix = QStringLiteral("Zenthara Razaz Aduda Clone - ");
    const CaptionCase cases[] = {
        {6, QStringLiteral("MM_aaFFFBob"), QStringLiteral("#ZentharaNET_3"),
         prefix + QStringLiteral("Connecting")},
        {7, QStringLiteral("MM_aaFFFBob"), QStringLiteral("#ZentharaNET_3"),
         prefix + QStringLiteral("Logged in As: Bob in Lobby: ZentharaNET_3")},
        {7, QStringLiteral("MM_ac012Bob"), QStringLiteral("#ZenNETCLAN_My Clan"),
         prefix + QStringLiteral("Logged in As: Bob in Lobby: ZenNETCLAN_My Clan")},
        {9, QStringLiteral("MM_aaFFFBob"), QStringLiteral("#ZentharaNET_3"),
         prefix + QStringLiteral("Dis-Connected")},
        {8, QStringLiteral("MM_aaFFFBob"), QStringLiteral("#ZentharaNET_3"),
         prefix + QStringLiteral("Dis-Connected (Server has kicked you)")},
        {0, QStringLiteral("MM_aaFFFBob"), QStringLiteral("#ZentharaNET_3"),
         prefix + QStringLiteral("Not Connected")},
        {5, QStringLiteral("MM_aaFFFBob"), QStringLiteral("#ZentharaNET_3"),
         prefix + QStringLiteral("Not Connected")},
    };
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        Pictures pictures;
        LobbyWindow window(pictures);
        StateTransport transport;
        FakeShell shell;
        LobbyClient client(transport, shell, window);
        window.setClient(&client);
        client.state().MyNick = c.nick;
        client.state().CurrentChannel = c.channel;
        client.setTimerIntervals(20, 100000);
        client.Form_Load();
        transport.forced = c.state;
        // Until the first tick the window keeps its design-time caption.
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Zenthara Razaz Aduda Clone"));
        EXPECT_TRUE(waitUntil([&] { return window.windowTitle() == c.caption; }, 5000))
            << window.windowTitle().toStdString();
    }
}

} // namespace
