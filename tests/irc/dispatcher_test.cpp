#include "../lobby/fakelobby.h"

#include <gtest/gtest.h>

namespace {

const QString Chan = QStringLiteral("#ZentharaNET_3");
const QString Names = QStringLiteral("NAMES #ZentharaNET_3");
const QString Wp = QStringLiteral("PRIVMSG #ZentharaNET_3 :wp");

// Lines as ngIRCd relays them.
QString from(const QString& nick, const QString& rest)
{
    return ":" + nick + "!~" + nick.left(10) + "@127.0.0.1 " + rest + "\r\n";
}
QString said(const QString& nick, const QString& text)
{
    return chanMsg(nick, Chan, text);
}
QString ann(const QString& text)
{
    return said(QStringLiteral("MM_aaFFFAnn"), text);
}
const QString CidNick = from(QStringLiteral("MM_aaFFFCid"), QStringLiteral("NICK :MM_aa010Cid"));
const QString HostLaunch = said(QStringLiteral("MM_aa020Hal"), QStringLiteral("[ZENLAUNCH2] 10.0.0.2|||"));

TEST(Dispatcher, EveryLineOfAReadIsDispatchedByItselfWhileTheWireStaysAsForOneRead)
{
    const QString hi = QStringLiteral("Ann> hi\r\n");
    const struct {
        QString read;
        QString shown;
        QStringList sent;
        bool launches = false;
    } cases[] = {
        {CidNick + ann("hi"), hi, {Names}},
        {from("MM_aaFFFDee", "JOIN :" + Chan) + ann("hi"), hi, {Names}},
        {from("MM_aaFFFDee", "QUIT :bye") + ann("hi"), hi, {Names}},
        {":irc.zen.test NOTICE MM_aa021Bob :x\r\n" + ann("hi"), hi, {}},
        {"\r\n" + ann("one") + said("Dan", "two"), "Ann> one\r\nDan> two\r\n", {}},
        {ann("gg") + said("MM_abFFFDee", "GG"), "Ann> gg\r\nBob> wp\r\nDee> GG\r\nBob> wp\r\n", {Wp, Wp}},
        {HostLaunch + from("MM_aa020Hal", "NICK :MM_abFFFHal"), "", {Names}, true},
        {CidNick + HostLaunch, "", {Names}, true},
        {CidNick.repeated(10), "", {Names}},
        {"PING :irc.zen.test\r\nPING x\r\n" + ann("ping?") + ann("PING :y"),
         "Ann> ping?\r\nAnn> PING :y\r\n",
         {"PONG :irc.zen.test"}},
        {"PING :a\nNICK :evil\r\n", "", {"PONG :a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.read.toStdString());
        ConnectedLobby lobby(QStringLiteral("MM_aa021Bob"));
        lobby.d.BotTable[0] = {QStringLiteral("gg"), QStringLiteral("wp")};
        lobby.receive(c.read);
        EXPECT_EQ(lobby.view.chat.section(QStringLiteral("LAUNCHING"), 0, 0), c.shown);
        EXPECT_EQ(lobby.sent(), c.sent);
        EXPECT_EQ(lobby.shell.started,
                  c.launches ? QStringList{"eaexec.exe zen3.exe /j tcp 10.0.0.2 /nBob /boundip 10.0.0.5"}
                             : QStringList{});
    }
}

TEST(Dispatcher, TheWelcomeJoinsTheLobbyAndReplacesTheChatAndNoticeAuthRegistersAgain)
{
    const QString welcome =
        QStringLiteral("<--WELCOME TO ZentharaNET hosted by " ZEN_SERVER_HOST
                       ", Report Any Bugs To NightShade-->\r\n-Command List-\r\n"
                       "Type /select to get back to lobby selection\r\n"
                       "Type /away to set mode to AWAY\r\nType /brb to set mode to BRB\r\n"
                       "Type /kick <USER> to vote a user to be kicked\r\n"
                       "Type /in to set mode to chatting\r\nType /out to exit a hut\r\n"
                       "Type /botupdate to update bot data\r\n"
                       "Type /botedit to change the bots responces\r\n"
                       "Type /ignore <USER> to stop hearing a user\r\n"
                       "Type /unignore <USER> to hear a user again\r\n"
                       "Type /ignore to list the users you ignore\r\n"
                       "Type /alerts off or /alerts on to stop or allow alerts\r\n");
    const QStringList joins{"JOIN #ZentharaNET_3", "MODE #ZentharaNET_3"};
    const QStringList registers{"NICK MM_aaFFFBob",
                                R"(USER MM_aaFFFBob "zentharanet.net" "10.0.0.5" :ZenUser)"};
    // shortened: the chat pane's last line when the server cut the nickname
    const std::tuple<QString, QStringList, QString> cases[] = {
        {":irc 001 MM_aaFFFBob :Welcome\r\n", joins, ""},
        {":irc 462 MM_aaFFFBob :Already registered\r\n", joins, ""},
        {":irc 001 mm_aafffbob :Welcome\r\n", joins, ""},
        {":irc 001 MM_aaFFFBo :Welcome\r\n", joins, "The server shortened your name to Bo\r\n"},
        {":irc 462 MM_aaFFFBo :Already registered\r\n", {}, ""},
        {":irc NOTICE AUTH :*** Looking\r\n:irc NOTICE AUTH :*** Found\r\n:irc 001 MM_aaFFFBob :W\r\n",
         registers + joins, ""},
        {":irc NOTICE MM_aaFFFBob :AUTH\r\n:irc 002 MM_aaFFFBob :001 MM_aaFFFBob\r\n", {}, ""},
    };
    for (const auto& [read, sent, shortened] : cases) {
        ConnectedLobby lobby;
        lobby.view.chat = QStringLiteral("connecting");
        lobby.receive(read);
        EXPECT_EQ(lobby.sent(), sent) << read.toStdString();
        EXPECT_EQ(lobby.view.chat, sent.isEmpty() ? "connecting" : welcome + shortened) << read.toStdString();
        EXPECT_EQ(lobby.d.MyNick, shortened.isEmpty() ? "MM_aaFFFBob" : "MM_aaFFFBo");
    }
}

TEST(Dispatcher, ShowsAChannelMessageAsNameAndText)
{
    const std::pair<QString, QString> cases[] = {
        {ann("hello there"), "Ann> hello there\r\n"},
        {said("mm_aaFFFAnn", "hi"), "mm_aaFFFAnn> hi\r\n"}, // marker in other case is no marker
        {from("Dan", "PRIVMSG #zentharanet_3 :hi"), "Dan> hi\r\n"},
        {ann("one:endl:two:endl:"), "Ann> one\r\ntwo\r\n\r\n"},
        {ann("one:ENDL:two"), "Ann> one:ENDL:two\r\n"},
        {ann("[ZENKICK] MM_aaFFFAnn>Cid|||"), "Ann> [ZENKICK] MM_aaFFFAnn>Cid|||\r\n"},
        {ann("see [ZENLAUNCH9] there"), ""},
        {ann("[zenlaunch0"), ""},
        {from("Ann", "PRIVMSG MM_aaFFFBob :psst"), ""},
        {from("Ann", "PRIVMSG MM_aaFFFBob :PRIVMSG #ZentharaNET_3 :x"), ""},
        {from("Ann", "PRIVMSG #ZentharaNET_4 :hi"), ""},
        {from("Ann", "NOTICE #ZentharaNET_3 :hi"), ""},
        {ann("to rename type /NICK :newname"), "Ann> to rename type /NICK :newname\r\n"},
        {ann("i QUIT :( bye JOIN :#x"), "Ann> i QUIT :( bye JOIN :#x\r\n"},
        {ann("PING :me"), "Ann> PING :me\r\n"},
    };
    for (const auto& [read, shown] : cases) {
        ConnectedLobby lobby;
        lobby.receive(read);
        EXPECT_EQ(lobby.view.chat, shown) << read.toStdString();
        EXPECT_EQ(lobby.view.refreshCount, shown.isEmpty() ? 0 : 1) << read.toStdString();
        EXPECT_TRUE(lobby.sent().isEmpty()) << read.toStdString();
    }
    for (const QString clan : {"#ZenNETCLAN_Quit", "#ZenNETCLAN_Join", "#ZenNETCLAN_Nick"}) {
        ConnectedLobby lobby(QStringLiteral("MM_aaFFFBob"), clan);
        lobby.receive(chanMsg("MM_aaFFFAnn", clan, "hi"));
        EXPECT_EQ(lobby.view.chat, "Ann> hi\r\n");
        EXPECT_TRUE(lobby.sent().isEmpty()) << clan.toStdString();
    }
}

TEST(Dispatcher, ControlMessagesCountOnlyInTheLobbyAndFromTheSenderTheyConcern)
{
    const QString hal = QStringLiteral("MM_aa020Hal");
    const QString vote = QStringLiteral("[ZENKICK] MM_aaFFFAnn>Bob|||");
    const QString nothing[] = {
        from(hal, "PRIVMSG MM_aa021Bob :[ZENLAUNCH2] 10.6.6.6|||"),
        from(hal, "NOTICE #ZentharaNET_3 :[ZENLAUNCH2] 10.6.6.6|||"),
        said("MM_aa022Eve", "[ZENLAUNCH2] 10.6.6.6|||"), // not slot 0
        said("MM_aa010Eve", "[ZENLAUNCH2] 10.6.6.6|||"), // host of another hut
        said("MM_ac020Eve", "[ZENLAUNCH2] 10.6.6.6|||"), // away
        said("XX_aa020Eve", "[ZENLAUNCH2] 10.6.6.6|||"), // no lobby nickname
        said(hal, "[ZENLAUNCH2] 10.0.0.2 /h evil|||"),
        said("MM_aaFFFEve", vote), // under another voter's name
        from("MM_aaFFFAnn", "PRIVMSG MM_aa021Bob :" + vote),
        from("MM_aaFFFAnn", "PRIVMSG MM_aa021Bob :[ZENLNK] http://x.test|||"),
        ann("[ZENLNK] http://x.test /evil|||"),
        ann("[ZENKICK] MM_aaFFFAnn>Cid [ZENLNK] http://zen.test|||"), // a vote about another stops its line
    };
    for (const QString& read : nothing) {
        SCOPED_TRACE(read.toStdString());
        ConnectedLobby lobby(QStringLiteral("MM_aa021Bob"));
        lobby.d.UserCount = 1;
        lobby.receive(read);
        EXPECT_TRUE(lobby.shell.started.isEmpty());
        EXPECT_TRUE(lobby.shell.questions.empty());
        EXPECT_EQ(lobby.d.MyNick, "MM_aa021Bob");
        EXPECT_EQ(lobby.d.KickVotes, 0);
        EXPECT_EQ(lobby.shell.endCount, 0);
    }
}

} // namespace
