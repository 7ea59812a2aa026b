#include "../lobby/fakelobby.h"

#include <gtest/gtest.h>

namespace {

const QString Chan = QStringLiteral("#ZentharaNET_3");
const QString Names = QStringLiteral("NAMES #ZentharaNET_3");

// Lines as ngIRCd relays them.
QString from(const QString& nick, const QString& rest)
{
    return ":" + nick + "!~" + nick.left(10) + "@127.0.0.1 " + rest + "\r\n";
}
QString said(const QString& nick, const QString& text)
{
    return from(nick, "PRIVMSG " + Chan + " :" + text);
}
QString ann(const QString& text)
{
    return said(QStringLiteral("MM_aaFFFAnn"), text);
}
const QString CidNick = from(QStringLiteral("MM_aaFFFCid"), QStringLiteral("NICK :MM_aa010Cid"));
const QString HostLaunch = said(QStringLiteral("MM_aa020Hal"), QStringLiteral("[ZENLAUNCH2] 10.0.0.2|||"));
const QString Joins = QStringLiteral("eaexec.exe zen3.exe /j tcp 10.0.0.2 /nBob /boundip 10.0.0.5");

TEST(Dispatcher, EveryLineOfAReadIsDispatchedByItselfWhileTheWireStaysAsForOneRead)
{
    const struct {
        const char* what;
        QString read;
        QString shown;
        QStringList sent;
        QStringList started;
    } cases[] = {
        {"NICK + chat", CidNick + ann("hi"), "Ann> hi\r\n", {Names}, {}},
        {"JOIN + chat", from("MM_aaFFFDee", "JOIN :" + Chan) + ann("hi"), "Ann> hi\r\n", {Names}, {}},
        {"QUIT + chat", from("MM_aaFFFDee", "QUIT :bye") + ann("hi"), "Ann> hi\r\n", {Names}, {}},
        {"notice + chat", ":irc.zen.test NOTICE MM_aa021Bob :x\r\n" + ann("hi"), "Ann> hi\r\n", {}, {}},
        {"two chats, each with its sender",
         ann("one") + said("Dan", "two"),
         "Ann> one\r\nDan> two\r\n",
         {},
         {}},
        {"two bot triggers",
         ann("gg") + said("MM_abFFFDee", "GG"),
         "Ann> gg\r\nBob> wp\r\nDee> GG\r\nBob> wp\r\n",
         {"PRIVMSG #ZentharaNET_3 :wp", "PRIVMSG #ZentharaNET_3 :wp"},
         {}},
        {"launch, then the host's NICK",
         HostLaunch + from("MM_aa020Hal", "NICK :MM_abFFFHal"),
         "",
         {Names},
         {Joins}},
        {"NICK, then a launch", CidNick + HostLaunch, "", {Names}, {Joins}},
        {"ten NICKs cost one names reply", CidNick.repeated(10), "", {Names}, {}},
        {"\"ping\" in three lines, one pong",
         "PING :irc.zen.test\r\n" + ann("shopping?") + ann("PINGU"),
         "Ann> shopping?\r\nAnn> PINGU\r\n",
         {"pong"},
         {}},
        {"a chat line that mentions NICK : asks for names and is not shown",
         ann("NICK :x") + ann("y"),
         "Ann> y\r\n",
         {Names},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConnectedLobby lobby(QStringLiteral("MM_aa021Bob"));
        lobby.d.BotTable[0] = {QStringLiteral("gg"), QStringLiteral("wp")};
        lobby.receive(c.read);
        EXPECT_EQ(lobby.view.chat.section(QStringLiteral("LAUNCHING"), 0, 0), c.shown);
        EXPECT_EQ(lobby.sent(), c.sent);
        EXPECT_EQ(lobby.shell.started, c.started);
    }
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
    const QStringList registers{"NICK MM_aaFFFBob",
                                R"(USER MM_aaFFFBob "zentharanet.net" "10.0.0.5" :ZenUser)"};
    const struct {
        QString read;
        QStringList sent;
        QString chat;
    } cases[] = {
        {":irc 001 MM_aaFFFBob :Welcome\r\n", joins, Welcome},
        {":irc 462 MM_aaFFFBob :Already registered\r\n", joins, Welcome},
        {":irc 001 mm_aafffbob :Welcome\r\n", joins, Welcome},
        // MM_aaFFFBob is a prefix of MM_aaFFFBobby2: the test is a substring test.
        {":irc 001 MM_aaFFFBobby2 :Welcome\r\n", joins, Welcome},
        {":irc 001 MM_aaFFFAnn :Welcome\r\n", {}, "connecting"},
        {":irc NOTICE AUTH :*** Looking up your hostname\r\n:irc NOTICE AUTH :*** Found\r\n"
         ":irc 001 MM_aaFFFBob :Welcome\r\n",
         registers + joins, Welcome},
    };
    for (const auto& c : cases) {
        ConnectedLobby lobby;
        lobby.view.chat = QStringLiteral("connecting");
        lobby.receive(c.read);
        EXPECT_EQ(lobby.sent(), c.sent) << c.read.toStdString();
        EXPECT_EQ(lobby.view.chat, c.chat) << c.read.toStdString();
    }
}

TEST(Dispatcher, ShowsAChannelMessageAsNameAndText)
{
    const struct {
        const char* what;
        QString read;
        QString shown;
    } cases[] = {
        {"lobby user", ann("hello there"), "Ann> hello there\r\n"},
        {"ordinary IRC user", said("Dan", "hi"), "Dan> hi\r\n"},
        {"marker in other case is no marker", said("mm_aaFFFAnn", "hi"), "mm_aaFFFAnn> hi\r\n"},
        {"channel found ignoring case", from("Dan", "PRIVMSG #zentharanet_3 :hi"), "Dan> hi\r\n"},
        {"line breaks", ann("one:endl:two:endl:"), "Ann> one\r\ntwo\r\n\r\n"},
        {"upper-case marker stays", ann("one:ENDL:two"), "Ann> one:ENDL:two\r\n"},
        {"kick tag shown first", ann("[ZENKICK] MM_aaFFFAnn>Cid|||"),
         "Ann> [ZENKICK] MM_aaFFFAnn>Cid|||\r\n"},
        {"launch tag hides it", ann("see [ZENLAUNCH9] there"), ""},
        {"launch tag in lower case hides it", ann("[zenlaunch0"), ""},
        {"private message", from("Ann", "PRIVMSG MM_aaFFFBob :psst"), ""},
        {"a channel named in the text only", from("Ann", "PRIVMSG MM_aaFFFBob :PRIVMSG #ZentharaNET_3 :x"),
         ""},
        {"other channel", from("Ann", "PRIVMSG #ZentharaNET_4 :hi"), ""},
        {"notice", from("Ann", "NOTICE #ZentharaNET_3 :hi"), ""},
        {"part", from("Cid", "PART #ZentharaNET_3 :gone"), ""},
    };
    for (const auto& c : cases) {
        ConnectedLobby lobby;
        lobby.receive(c.read);
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
    lobby.receive(from("Dan", "PRIVMSG #ZentharaNET_4 :hi"));
    lobby.receive(from("Dan", "PRIVMSG MM_aaFFFBob :hi"));
    EXPECT_TRUE(lobby.sent().isEmpty());
}

TEST(Dispatcher, ControlMessagesCountOnlyInTheLobbyAndFromTheSenderTheyConcern)
{
    const QString hal = QStringLiteral("MM_aa020Hal");
    const struct {
        const char* what;
        QString read;
    } nothing[] = {
        {"private-message launch", from(hal, "PRIVMSG MM_aa021Bob :[ZENLAUNCH2] 10.6.6.6|||")},
        {"notice launch", from(hal, "NOTICE #ZentharaNET_3 :[ZENLAUNCH2] 10.6.6.6|||")},
        {"launch from slot 1", said("MM_aa022Eve", "[ZENLAUNCH2] 10.6.6.6|||")},
        {"launch from the host of hut 1", said("MM_aa010Eve", "[ZENLAUNCH2] 10.6.6.6|||")},
        {"launch from an away player", said("MM_ac020Eve", "[ZENLAUNCH2] 10.6.6.6|||")},
        {"address with a blank", said(hal, "[ZENLAUNCH2] 10.0.0.2 /h evil|||")},
        {"address not IPv4", said(hal, "[ZENLAUNCH2] host.test|||")},
        {"address out of range", said(hal, "[ZENLAUNCH2] 10.0.0.256|||")},
        {"vote under another voter's name", said("MM_aaFFFEve", "[ZENKICK] MM_aaFFFAnn>Bob|||")},
        {"private-message vote", from("MM_aaFFFAnn", "PRIVMSG MM_aa021Bob :[ZENKICK] MM_aaFFFAnn>Bob|||")},
        {"private-message link", from("MM_aaFFFAnn", "PRIVMSG MM_aa021Bob :[ZENLNK] http://x.test|||")},
        {"link with a blank", ann("[ZENLNK] http://x.test /evil|||")},
        {"link with a control character", ann("[ZENLNK] http://x.test\x01|||")},
    };
    for (const auto& c : nothing) {
        SCOPED_TRACE(c.what);
        ConnectedLobby lobby(QStringLiteral("MM_aa021Bob"));
        lobby.d.UserCount = 1;
        lobby.receive(c.read);
        EXPECT_TRUE(lobby.shell.started.isEmpty());
        EXPECT_TRUE(lobby.shell.questions.empty());
        EXPECT_EQ(lobby.d.MyNick, "MM_aa021Bob");
        EXPECT_EQ(lobby.d.KickVotes, 0);
        EXPECT_EQ(lobby.shell.endCount, 0);
    }
}

} // namespace
