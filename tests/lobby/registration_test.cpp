// A nickname the server refuses when the client registers: the next suffix,
// or back to the login window.
#include "app/login.h"
#include "eventwait.h"
#include "fakelobby.h"

#include <gtest/gtest.h>

namespace {

QString refusal(const QString& numeric, const QString& nick)
{
    return ":irc.zen.test " + numeric + " * " + nick + " :Nickname refused\r\n";
}

TEST(Registration, ANameInUseTakesTheNextSuffixUntilNoneIsLeft)
{
    // Away when the reconnect registers: the status code stays.
    ConnectedLobby lobby(QStringLiteral("MM_acFFFBob"));
    lobby.client.setTimerIntervals(1000, 10);
    for (const char* suffix : {"_", "_2", "_3", "_4", "_5", "_6", "_7", "_8", "_9"}) {
        lobby.receive(refusal("433", lobby.d.MyNick));
        EXPECT_EQ(lobby.sent(), QStringList{QStringLiteral("NICK MM_acFFFBob") + suffix});
        EXPECT_EQ(lobby.d.NickSuffix, suffix);
    }
    EXPECT_TRUE(lobby.shell.messages.empty());

    lobby.receive(refusal("433", lobby.d.MyNick));
    EXPECT_TRUE(lobby.sent().isEmpty()) << "no QUIT";
    EXPECT_EQ(lobby.client.socketState(), SocketState::Closed);
    ASSERT_EQ(lobby.shell.messages.size(), 1u);
    EXPECT_EQ(lobby.shell.messages[0].text, "That UserName Is In Use, Please Choose Another");
    EXPECT_EQ(lobby.view.loginShown, 1);
    EXPECT_EQ(lobby.d.MyNick, "MM_acFFFBob_9");
    EXPECT_FALSE(waitUntil([&] { return lobby.transport.connectCount > 1; }, 100)) << "no reconnect";

    // Logged in again, the lobby picked: a new connection with the new name.
    QString box = QStringLiteral("Ann");
    ASSERT_TRUE(Login::logIn(lobby.d, box));
    lobby.client.lobbyChosen();
    lobby.transport.acceptConnection();
    EXPECT_EQ(lobby.sent().value(0), "NICK MM_aaFFFAnn");
    EXPECT_FALSE(lobby.client.hasEnded());
}

TEST(Registration, OnlyTheServersRefusalOfTheNicknameRegisteredCounts)
{
    const QString invalid = QStringLiteral("Please Use a Valid UserName");
    // message: none when the block is no refusal
    const std::pair<QString, QString> cases[] = {
        {":irc 432 * MM_aaFFFBob\r\n", invalid},
        {":irc NOTICE * :hello\r\n" + refusal("432", "mm_aafffbob"), invalid},
        // Welcomed under our nickname cut into its code, or under another one.
        {":irc 005 MM_aaFF CHANTYPES=# NICKLEN=7 :are supported\r\n:irc 001 MM_aaFF :Hi\r\n",
         "That UserName Is Too Long: This Server Takes Nicknames Of At Most 7 Characters, 0 For Your Name"},
        {":irc 001 MM_aaFFF :Hi\r\n",
         "That UserName Is Too Long For This Server, Please Choose A Shorter One"},
        {":irc 001 MM_aaFFFBox :Hi\r\n", invalid}, // renamed, not cut
        // A later nickname change, another nickname or reply, a chat line quoting a refusal.
        {":irc 433 MM_aaFFFBob MM_acFFFBob :Nickname already in use\r\n", ""},
        {refusal("433", "MM_aaFFFBo") + refusal("431", "MM_aaFFFBob"), ""},
        {chanMsg("MM_aaFFFAnn", "#ZentharaNET_3", refusal("433", "MM_aaFFFBob").trimmed()), ""},
    };
    for (const auto& [block, message] : cases) {
        SCOPED_TRACE(block.toStdString());
        ConnectedLobby lobby;
        lobby.receive(block);
        const bool refused = !message.isEmpty();
        EXPECT_EQ(lobby.d.MyNick, "MM_aaFFFBob");
        EXPECT_TRUE(lobby.sent().filter("NICK").isEmpty());
        EXPECT_EQ(lobby.client.socketState(), refused ? SocketState::Closed : SocketState::Connected);
        EXPECT_EQ(lobby.view.loginShown, refused ? 1 : 0);
        ASSERT_EQ(lobby.shell.messages.size(), refused ? 1u : 0u);
        if (refused)
            EXPECT_EQ(lobby.shell.messages[0].text, message);
    }
}

} // namespace
