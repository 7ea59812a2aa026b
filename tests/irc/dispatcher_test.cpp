#include "../lobby/fakelobby.h"

#include <gtest/gtest.h>

namespace {

const QString Chan = QStringLiteral("#ZentharaNET_3");

QString ann(const QString& text)
{
    return chanMsg(QStringLiteral("MM_aaFFFAnn"), Chan, text);
}

TEST(Dispatcher, AnswersPingAnywhereWithABarePong)
{
    const struct {
        QString block;
        bool pong;
    } cases[] = {
        {"PING :irc.zen.test\r\n", true},           {"ping\r\n", true}, {ann("I went ShoPPing"), true},
        {"PING :a\r\n:srv NOTICE x :y\r\n", true}, {ann("pin g"), false},
    };
    for (const auto& c : cases) {
        ConnectedLobby lobby;
        lobby.receive(c.block);
        EXPECT_EQ(lobby.sent(), c.pong ? QStringList{"pong"} : QStringList{}) << c.block.toStdString();
    }
}

TEST(Dispatcher, MembershipAndNickChangesAskForNamesAndStop)
{
    // Everything after the first line would be acted on if the dispatch went on.
    const QString later = ann("hello") + ":irc 353 MM_aa021Bob = #ZentharaNET_3 :Zed \r\n" +
                          ann("[ZENLNK] http://x|||") +
                          ":h!h@h PRIVMSG #ZentharaNET_3 :[ZENLAUNCH2] 1.2.3.4|||\r\n";
    const QString first[] = {
        ":MM_aaFFFCid!c@h NICK :MM_aa010Cid\r\n",
        ":MM_aaFFFCid!c@h JOIN :#ZentharaNET_3\r\n",
        ":MM_aaFFFCid!c@h QUIT :Quit: bye\r\n",
        ":MM_aaFFFCid!c@h join :#ZentharaNET_3\r\n",
    };
    for (const QString& line : first) {
        SCOPED_TRACE(line.toStdString());
        ConnectedLobby lobby(QStringLiteral("MM_aa021Bob"));
        lobby.receive(line + later);
        EXPECT_EQ(lobby.sent(), QStringList{"NAMES #ZentharaNET_3"});
        EXPECT_TRUE(lobby.view.chat.isEmpty());
        EXPECT_EQ(lobby.view.chatList, QStringList{"Getting User List..."});
        EXPECT_TRUE(lobby.shell.questions.empty());
        EXPECT_TRUE(lobby.shell.started.isEmpty());
    }

    ConnectedLobby both;
    both.receive("PING :x\r\n:MM_aaFFFCid!c@h NICK :MM_acFFFCid\r\n");
    EXPECT_EQ(both.sent(), (QStringList{"pong", "NAMES #ZentharaNET_3"}));
}

const QString Welcome = QStringLiteral("<--WELCOME TO ZentharaNET hosted by " ZEN_SERVER_HOST
                                       ", Report Any Bugs To NightShade-->\r\n"
                                       "-Command List-\r\n"
                                       "Type /select to get back to lobby selection\r\n"
                                       "Type /away to set mode to AWAY\r\n"
                                       "Type /brb to set mode to BRB\r\n"
                                       "Type /kick <USER> to vote a user to be kicked\r\n"
                                       "Type /in to set mode to chatting\r\n"
                                       "Type /out to exit a hut\r\n"
                                       "Type /botupdate to update bot data\r\n"
                                       "Type /botedit to change the bots responces\r\n");

TEST(Dispatcher, TheWelcomeJoinsTheLobbyAndReplacesTheChatAndNoticeAuthRegistersAgain)
{
    const QStringList joins{"JOIN #ZentharaNET_3", "MODE #ZentharaNET_3"};
    const struct {
        QString block;
        QStringList sent;
        QString chat;
    } cases[] = {
        {":irc 001 MM_aaFFFBob :Welcome\r\n", joins, Welcome},
        {":irc 462 MM_aaFFFBob :Already registered\r\n", joins, Welcome},
        {":irc 001 mm_aafffbob :Welcome\r\n", joins, Welcome},
        // MM_aaFFFBob is a prefix of MM_aaFFFBobby2: the test is a substring test.
        {":irc 001 MM_aaFFFBobby2 :Welcome\r\n:irc 001 MM_aaFFFAnn :Welcome\r\n", joins, Welcome},
        {":irc 001 MM_aaFFFAnn :Welcome\r\n", {}, "connecting"},
        {":irc NOTICE AUTH :*** Looking up your hostname\r\n:irc 001 MM_aaFFFBob :Welcome\r\n",
         {"NICK MM_aaFFFBob", R"(USER MM_aaFFFBob "zentharanet.net" "10.0.0.5" :ZenUser)"}, "connecting"},
    };
    for (const auto& c : cases) {
        ConnectedLobby lobby;
        lobby.view.chat = QStringLiteral("connecting");
        lobby.receive(c.block);
        EXPECT_EQ(lobby.sent(), c.sent) << c.block.toStdString();
        EXPECT_EQ(lobby.view.chat, c.chat) << c.block.toStdString();
    }
}

TEST(Dispatcher, ShowsAChannelMessageAsNameAndText)
{
    const struct {
        const char* what;
        QString block;
        QString shown;
    } cases[] = {
        {"lobby user", ann("hello there"), "Ann> hello there\r\n"},
        {"ordinary IRC user", chanMsg("Dan", Chan, "hi"), "Dan> hi\r\n"},
        {"marker in other case is no marker", chanMsg("mm_aaFFFAnn", Chan, "hi"), "mm_aaFFFAnn> hi\r\n"},
        {"channel found ignoring case", chanMsg("Dan", "#zentharanet_3", "hi"), "Dan> hi\r\n"},
        {"line breaks", ann("one:endl:two:endl:"), "Ann> one\r\ntwo\r\n\r\n"},
        {"upper-case marker stays", ann("one:ENDL:two"), "Ann> one:ENDL:two\r\n"},
        {"first message of the block only", ann("one") + ann("two"), "Ann> one\r\n"},
        {"earlier line is part of the sender", ":irc NOTICE Bob :x\r\n" + ann("hi"),
         "irc NOTICE Bob :x\r\n:MM_aaFFFAnn> hi\r\n"},
        {"kick tag shown first", ann("[ZENKICK] MM_aaFFFAnn>Cid|||"),
         "Ann> [ZENKICK] MM_aaFFFAnn>Cid|||\r\n"},
        {"launch tag hides it", ann("see [ZENLAUNCH9] there"), ""},
        {"launch tag in lower case hides it", ann("[zenlaunch0"), ""},
        {"private message", chanMsg("MM_aaFFFAnn", "MM_aaFFFBob", "psst"), ""},
        {"other channel", chanMsg("MM_aaFFFAnn", "#ZentharaNET_4", "hi"), ""},
        {"notice", ":MM_aaFFFAnn!a@h NOTICE #ZentharaNET_3 :hi\r\n", ""},
        {"part", ":MM_aaFFFCid!c@h PART #ZentharaNET_3 :gone\r\n", ""},
    };
    for (const auto& c : cases) {
        ConnectedLobby lobby;
        lobby.receive(c.block);
        EXPECT_EQ(lobby.view.chat, c.shown) << c.what;
        EXPECT_EQ(lobby.view.refreshCount, c.shown.isEmpty() ? 0 : 1) << c.what;
        EXPECT_TRUE(lobby.sent().isEmpty()) << c.what;
    }
}

TEST(Dispatcher, ChatShownInTheLobbyIsOfferedToTheBotAfterwards)
{
    ConnectedLobby lobby;
    lobby.d.BotTable[0] = {QStringLiteral("hi"), QStringLiteral("hello:endl:there")};
    lobby.receive(ann("HI"));
    EXPECT_EQ(lobby.sent(), QStringList{"PRIVMSG #ZentharaNET_3 :hello:endl:there"});
    EXPECT_EQ(lobby.view.chat, "Ann> HI\r\nBob> hello:endl:there\r\n");

    lobby.receive(ann("hi:endl:")); // the bot sees the text with the line break made
    lobby.receive(chanMsg("Dan", "#ZentharaNET_4", "hi"));
    lobby.receive(chanMsg("Dan", "MM_aaFFFBob", "hi"));
    EXPECT_TRUE(lobby.sent().isEmpty());
}

TEST(Dispatcher, TagsInAPrivateMessageAreStillActedOn)
{
    ConnectedLobby lobby;
    lobby.receive(chanMsg("MM_aaFFFAnn", "MM_aaFFFBob", "[ZENLNK] http://zen.test|||"));
    EXPECT_TRUE(lobby.view.chat.isEmpty());
    ASSERT_EQ(lobby.shell.questions.size(), 1u);
    EXPECT_EQ(lobby.shell.started, QStringList{"eaexec.exe iexplore.exe http://zen.test"});
}

} // namespace
