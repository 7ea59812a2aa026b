// Names on a real ngIRCd: three players called Bob, a lobby picked after the
// reconnect, a name longer than the server takes.
#include "app/login.h"
#include "coreclient.h"
#include "ngircdserver.h"
#include "rawircclient.h"

#include <gtest/gtest.h>

namespace {

constexpr int Wait = 10000;

TEST(NamesOnServer, ThreePlayersCalledBobGetSuffixesAndMeetInOneLobby)
{
    NgircdServer server;
    server.setFloodPenalties(false);
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    CoreClients bobs;
    for (int i = 0; i < 3; ++i) {
        bobs.push_back(std::make_unique<CoreClient>(QStringLiteral("Bob"), "#ZentharaNET_0", server.port()));
        bobs.back()->client.Form_Load();
        // One after the other: the server's order decides who gets which suffix.
        ASSERT_TRUE(waitUntil([&] { return bobs.back()->welcomed(); }, Wait));
    }
    const QStringList shown{"Bob", "Bob_", "Bob_2"};
    ASSERT_TRUE(waitUntil([&] { return allSeeAll(bobs, shown); }, Wait));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bobs[i]->client.state().MyNick, "MM_aaFFF" + shown[i]);
        bobs[i]->client.Timer1_Timer();
        EXPECT_EQ(bobs[i]->view.title,
                  "Zenthara Razaz Aduda Clone - Logged in As: Bob in Lobby: ZentharaNET_0");
    }

    // The others see the second one as Bob_: in his hut slot, his chat, a vote against him.
    CoreClient& second = *bobs[1];
    second.client.Hut_Click(21);
    for (const int other : {0, 2}) {
        CoreClient& c = *bobs[other];
        ASSERT_TRUE(waitUntil([&] { return c.client.state().HutTable[2][1] == "aa021Bob_"; }, Wait));
        c.client.Timer1_Timer();
        EXPECT_EQ(c.view.slotToolTip[21], "Bob_");
    }
    ASSERT_TRUE(settle(bobs, Wait));
    second.client.SEND_Click(QStringLiteral("hello"));
    EXPECT_TRUE(waitUntil(
        [&] {
            return std::all_of(bobs.begin(), bobs.end(),
                               [](auto& c) { return c->view.chat.endsWith("Bob_> hello\r\n"); });
        },
        Wait));
    bobs[0]->client.SEND_Click(QStringLiteral("/kick Bob_"));
    EXPECT_TRUE(waitUntil([&] { return second.view.chat.endsWith("Bob Has Voted To Kick You\r\n"); }, Wait));
}

TEST(NamesOnServer, ALobbyPickedAfterTheReconnectIsTheOneThePlayerIsIn)
{
    NgircdServer server;
    server.setFloodPenalties(false);
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    CoreClient bob(QStringLiteral("Bob"), QStringLiteral("#ZentharaNET_2"), server.port());
    bob.client.setTimerIntervals(1000, 200);
    bob.client.Form_Load();
    ASSERT_TRUE(waitUntil([&] { return bob.inChatList("Bob"); }, Wait));

    bob.client.SEND_Click(QStringLiteral("/select"));
    bob.view.chat.clear();
    // The player looks longer than the reconnect interval: it rejoins the lobby left.
    ASSERT_TRUE(waitUntil([&] { return bob.welcomed() && bob.inChatList("Bob"); }, Wait));
    bob.client.state().CurrentChannel = QStringLiteral("#ZentharaNET_0");
    bob.client.lobbyChosen();
    ASSERT_TRUE(waitUntil([&] { return bob.inChatList("Bob"); }, Wait));
    EXPECT_EQ(bob.client.state().MyNick, "MM_aaFFFBob") << "the old connection is gone";

    RawIrcClient watcher;
    ASSERT_TRUE(watcher.connectTo(server.port()) && watcher.registerAs(QStringLiteral("watcher")));
    const auto names = [&watcher](const QByteArray& channel) {
        watcher.sendLine("NAMES " + channel);
        QByteArray listed;
        while (const auto line = watcher.waitForLine([](const QByteArray& l) {
            return RawIrcClient::commandOf(l) == "353" || RawIrcClient::commandOf(l) == "366";
        })) {
            if (RawIrcClient::commandOf(*line) == "366")
                break;
            listed += *line;
        }
        return listed;
    };
    EXPECT_TRUE(names("#ZentharaNET_0").contains("MM_aaFFFBob"));
    EXPECT_FALSE(names("#ZentharaNET_2").contains("MM_aaFFFBob"));
}

// The window's part (hiding the lobby, the login window with the name) is
// the window tests'; here the real server's refusal and a second login.
TEST(NamesOnServer, ANameLongerThanTheServerTakesEndsAtTheLoginAndAShorterOneGetsIn)
{
    NgircdServer server;
    server.setFloodPenalties(false);
    server.setMaxNickLength(20);
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    CoreClient player(QStringLiteral("abcdefghijklmnopqrst"), QStringLiteral("#ZentharaNET_0"),
                      server.port());
    player.client.Form_Load();
    ASSERT_TRUE(waitUntil([&] { return player.view.loginShown == 1; }, Wait));
    ASSERT_EQ(player.shell.messages.size(), 1u);
    EXPECT_EQ(player.shell.messages[0].text, "Please Use a Valid UserName");
    EXPECT_EQ(player.client.socketState(), SocketState::Closed);

    QString box = QStringLiteral("Bob");
    ASSERT_TRUE(Login::logIn(player.client.state(), box));
    player.client.lobbyChosen();
    EXPECT_TRUE(waitUntil([&] { return player.inChatList("Bob"); }, Wait));
    EXPECT_FALSE(player.client.hasEnded());
}

} // namespace
