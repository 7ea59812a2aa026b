// Names on a real ngIRCd: three players called Bob, a lobby picked after the
// reconnect, a name longer than the server takes.
#include "app/login.h"
#include "coreclient.h"
#include "ngircdserver.h"
#include "rawircclient.h"

#include <gtest/gtest.h>

namespace {

class NamesOnServer : public ::testing::Test {
protected:
    void SetUp() override { server.setFloodPenalties(false); }

    NgircdServer server;
};

TEST_F(NamesOnServer, ThreePlayersCalledBobGetSuffixesAndMeetInOneLobby)
{
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    CoreClients bobs;
    for (int i = 0; i < 3; ++i) {
        bobs.push_back(std::make_unique<CoreClient>(QStringLiteral("Bob"), "#ZentharaNET_0", server.port()));
        bobs.back()->client.Form_Load();
        // One after the other: the server's order decides who gets which suffix.
        ASSERT_TRUE(waitUntil([&] { return bobs.back()->welcomed(); }, Wait));
    }
    const QStringList shown{"Bob", "Bob_", "Bob_2"};
    ASSERT_TRUE(allSeeAll(bobs, shown));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bobs[i]->client.state().MyNick, "MM_aaFFF" + shown[i]);
        bobs[i]->client.Timer1_Timer();
        EXPECT_EQ(bobs[i]->view.title,
                  "Zenthara Razaz Aduda Clone - Logged in As: Bob in Lobby: ZentharaNET_0");
    }

    // The others see the second one as Bob_: in his hut slot, his chat, a vote against him.
    CoreClient& second = *bobs[1];
    second.client.Hut_Click(21);
    ASSERT_TRUE(
        waitForAll(bobs, [](const CoreClient& c) { return c.client.state().HutTable[2][1] == "aa021Bob_"; }));
    bobs[0]->client.Timer1_Timer();
    EXPECT_EQ(bobs[0]->view.slotToolTip[21], "Bob_");
    ASSERT_TRUE(settle(bobs));
    second.client.SEND_Click(QStringLiteral("hello"));
    EXPECT_TRUE(
        waitForAll(bobs, [](const CoreClient& c) { return c.view.chat.endsWith("Bob_> hello\r\n"); }));
    bobs[0]->client.SEND_Click(QStringLiteral("/kick Bob_"));
    EXPECT_TRUE(waitUntil([&] { return second.view.chat.endsWith("Bob Has Voted To Kick You\r\n"); }, Wait));
}

TEST_F(NamesOnServer, ALobbyPickedAfterTheReconnectIsTheOneThePlayerIsIn)
{
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

    // The server's names replies: Bob is in lobby 0 only.
    RawIrcClient watcher;
    ASSERT_TRUE(watcher.connectTo(server.port()) && watcher.registerAs(QStringLiteral("watcher")));
    for (const auto& [lobby, there] : {std::pair{"#ZentharaNET_0", true}, {"#ZentharaNET_2", false}}) {
        watcher.sendLine(QByteArray("NAMES ") + lobby);
        const auto names = watcher.waitForLine([&](const QByteArray& l) {
            return (l.contains(" 353 ") || l.contains(" 366 ")) && l.contains(lobby);
        });
        ASSERT_TRUE(names);
        EXPECT_EQ(names->contains(" 353 ") && names->contains("MM_aaFFFBob"), there) << lobby;
    }
}

// The window's part is the window tests'; here the real server's refusal and a second login.
TEST_F(NamesOnServer, ANameLongerThanTheServerTakesEndsAtTheLoginAndAShorterOneGetsIn)
{
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
