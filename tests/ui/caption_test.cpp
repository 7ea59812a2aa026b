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

TEST(LobbyCaption, NamesTheSocketStateTheUserAndTheLobby)
{
    const struct {
        int state;
        const char* nick;
        const char* channel;
        const char* caption; // after "Zenthara Razaz Aduda Clone - "
    } cases[] = {
        {6, "MM_aaFFFBob", "#ZentharaNET_3", "Connecting"},
        {7, "MM_aaFFFBob", "#ZentharaNET_3", "Logged in As: Bob in Lobby: ZentharaNET_3"},
        {7, "MM_ac012Bob", "#ZenNETCLAN_My Clan", "Logged in As: Bob in Lobby: ZenNETCLAN_My Clan"},
        {9, "MM_aaFFFBob", "#ZentharaNET_3", "Dis-Connected"},
        {8, "MM_aaFFFBob", "#ZentharaNET_3", "Dis-Connected (Server has kicked you)"},
        {0, "MM_aaFFFBob", "#ZentharaNET_3", "Not Connected"},
        {5, "MM_aaFFFBob", "#ZentharaNET_3", "Not Connected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Pictures pictures;
        LobbyWindow window(pictures);
        StateTransport transport;
        FakeShell shell;
        LobbyClient client(transport, shell, window);
        window.setClient(&client);
        client.state().MyNick = QString::fromLatin1(c.nick);
        client.state().CurrentChannel = QString::fromLatin1(c.channel);
        client.setTimerIntervals(20, 100000);
        client.Form_Load();
        transport.forced = c.state;
        // Until the first tick the window keeps its design-time caption.
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Zenthara Razaz Aduda Clone"));
        const QString caption =
            QStringLiteral("Zenthara Razaz Aduda Clone - ") + QString::fromLatin1(c.caption);
        EXPECT_TRUE(waitUntil([&] { return window.windowTitle() == caption; }, 5000))
            << window.windowTitle().toStdString();
    }
}

} // namespace
