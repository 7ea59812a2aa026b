#include "fakelobby.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ChatInput, CommandsAreKnownByTheirFirstCharactersInAnyCase)
{
    const QString chat = QStringLiteral("PRIVMSG #ZentharaNET_3 :");
    const struct {
        QString typed;
        QStringList sent;
        QString nick; // afterwards; the player starts in hut 2, slot 1
        QString chat;
    } cases[] = {
        {"/away", {"NICK :MM_acFFFBob"}, "MM_acFFFBob", ""},
        {"/AWAY", {"NICK :MM_acFFFBob"}, "MM_acFFFBob", ""},
        {"/Away back at six", {"NICK :MM_acFFFBob"}, "MM_acFFFBob", ""},
        {"/brb", {"NICK :MM_adFFFBob"}, "MM_adFFFBob", ""},
        {"/in", {"NICK :MM_aaFFFBob"}, "MM_aaFFFBob", ""},
        {"/info", {"NICK :MM_aaFFFBob"}, "MM_aaFFFBob", ""},
        {"/invite Ann", {"NICK :MM_aaFFFBob"}, "MM_aaFFFBob", ""},
        {"/out", {"NICK :MM_aaFFFBob"}, "MM_aaFFFBob", ""},
        {"/OUTside", {"NICK :MM_aaFFFBob"}, "MM_aaFFFBob", ""},
        {"/me waves", {chat + "/me waves"}, "MM_aa021Bob", "Bob> /me waves\r\n"},
        {"/bot", {chat + "/bot"}, "MM_aa021Bob", "Bob> /bot\r\n"},
        {"/selec", {chat + "/selec"}, "MM_aa021Bob", "Bob> /selec\r\n"},
        {" /away", {chat + " /away"}, "MM_aa021Bob", "Bob>  /away\r\n"},
        {"hello all", {chat + "hello all"}, "MM_aa021Bob", "Bob> hello all\r\n"},
        {"", {chat}, "MM_aa021Bob", "Bob> \r\n"},
        {"/kick Ann",
         {"PRIVMSG #ZentharaNET_3 :[ZENKICK] MM_aa021Bob>Ann|||"},
         "MM_aa021Bob",
         "You Have Voted To Kick Ann\r\n"},
        {"/KICK Ann ",
         {"PRIVMSG #ZentharaNET_3 :[ZENKICK] MM_aa021Bob>Ann |||"},
         "MM_aa021Bob",
         "You Have Voted To Kick Ann \r\n"},
        {"/kickBob",
         {"PRIVMSG #ZentharaNET_3 :[ZENKICK] MM_aa021Bob>ob|||"},
         "MM_aa021Bob",
         "You Have Voted To Kick ob\r\n"},
        {"/kick ",
         {"PRIVMSG #ZentharaNET_3 :[ZENKICK] MM_aa021Bob>|||"},
         "MM_aa021Bob",
         "You Have Voted To Kick \r\n"},
        {"/kick", {}, "MM_aa021Bob", "Type /kick <USER> to vote a user to be kicked\r\n"},
        {"/botedit", {}, "MM_aa021Bob", ""},
    };
    for (const auto& c : cases) {
        FakeLobby lobby(QStringLiteral("MM_aa021Bob"));
        lobby.connect();
        lobby.client.SEND_Click(c.typed);
        EXPECT_EQ(lobby.sent(), c.sent) << c.typed.toStdString();
        EXPECT_EQ(lobby.d.MyNick, c.nick) << c.typed.toStdString();
        EXPECT_EQ(lobby.view.chat, c.chat) << c.typed.toStdString();
        EXPECT_EQ(lobby.view.botEditorShown, c.typed == "/botedit" ? 1 : 0) << c.typed.toStdString();
        EXPECT_EQ(lobby.view.lobbySelectShown, 0) << c.typed.toStdString();
    }
}

TEST(ChatInput, APlayerBackFromAGameChatsAgainFirst)
{
    const struct {
        QString typed;
        QStringList sent;
    } cases[] = {
        {"/brb", {"NICK :MM_aaFFFBob", "NICK :MM_adFFFBob"}},
        {"/in", {"NICK :MM_aaFFFBob", "NICK :MM_aaFFFBob"}},
        {"gg", {"NICK :MM_aaFFFBob", "PRIVMSG #ZentharaNET_3 :gg"}},
        {"/kick Ann", {"NICK :MM_aaFFFBob", "PRIVMSG #ZentharaNET_3 :[ZENKICK] MM_aaFFFBob>Ann|||"}},
        {"/select", {"NICK :MM_aaFFFBob"}},
    };
    for (const auto& c : cases) {
        FakeLobby lobby(QStringLiteral("MM_abFFFBob"));
        lobby.connect();
        lobby.client.SEND_Click(c.typed);
        EXPECT_EQ(lobby.sent(), c.sent) << c.typed.toStdString();
    }

    FakeLobby focus(QStringLiteral("MM_abFFFBob"));
    focus.connect();
    focus.client.OUTCHAT_GotFocus();
    EXPECT_EQ(focus.sent(), QStringList{"NICK :MM_aaFFFBob"});
    focus.client.OUTCHAT_GotFocus();
    EXPECT_TRUE(focus.sent().isEmpty()) << "a chatting player is left alone";
    for (const char* nick : {"MM_ab020Bob", "MM_acFFFBob", "MM_aa021Bob"}) {
        FakeLobby other{QString::fromLatin1(nick)};
        other.connect();
        other.client.OUTCHAT_GotFocus();
        EXPECT_TRUE(other.sent().isEmpty()) << nick;
        EXPECT_EQ(other.d.MyNick, nick);
    }
}

TEST(ChatInput, SelectDropsTheConnectionAndShowsTheLobbyChoice)
{
    FakeLobby lobby(QStringLiteral("MM_ac021Bob"));
    lobby.connect();
    lobby.client.SEND_Click(QStringLiteral("/Select"));
    EXPECT_TRUE(lobby.sent().isEmpty()) << "no NICK, QUIT or PART";
    EXPECT_EQ(lobby.d.MyNick, "MM_aaFFFBob");
    EXPECT_EQ(lobby.client.socketState(), 0);
    EXPECT_EQ(lobby.view.chat, "Lobby Switch... Connecting...\r\n");
    EXPECT_EQ(lobby.view.lobbySelectShown, 1);

    // The next lobby is joined after the reconnect.
    lobby.d.CurrentChannel = QStringLiteral("#ZenNETCLAN_My Clan");
    lobby.client.ReConnect_Timer();
    lobby.transport.acceptConnection();
    lobby.receive(":irc 001 MM_aaFFFBob :Welcome\r\n");
    EXPECT_EQ(lobby.sent().mid(2), (QStringList{"JOIN #ZenNETCLAN_My Clan", "MODE #ZenNETCLAN_My Clan"}));
}

TEST(ChatInput, AKickVoteIsSentWhoeverAndHoweverOftenItNames)
{
    // The voter's own name, a name nobody has, the same name again: the
    // receiving clients decide, the sender checks nothing.
    FakeLobby lobby(QStringLiteral("MM_aa021Bob"));
    lobby.connect();
    for (const char* typed : {"/kick Bob", "/kick Nobody", "/kick Nobody"})
        lobby.client.SEND_Click(QString::fromLatin1(typed));
    EXPECT_EQ(lobby.sent(), (QStringList{"PRIVMSG #ZentharaNET_3 :[ZENKICK] MM_aa021Bob>Bob|||",
                                         "PRIVMSG #ZentharaNET_3 :[ZENKICK] MM_aa021Bob>Nobody|||",
                                         "PRIVMSG #ZentharaNET_3 :[ZENKICK] MM_aa021Bob>Nobody|||"}));
    EXPECT_EQ(lobby.view.chat, "You Have Voted To Kick Bob\r\nYou Have Voted To Kick Nobody\r\n"
                               "You Have Voted To Kick Nobody\r\n");
    EXPECT_EQ(lobby.d.MyNick, "MM_aa021Bob");
    EXPECT_EQ(lobby.d.KickVotes, 0) << "a vote of one's own is not counted by the sender";
    EXPECT_EQ(lobby.shell.endCount, 0);
}

TEST(ChatInput, StatusChangesWhileNotConnectedStayLocal)
{
    FakeLobby lobby(QStringLiteral("MM_aa021Bob"));
    lobby.client.SEND_Click(QStringLiteral("/away"));
    lobby.client.SEND_Click(QStringLiteral("/kick Ann"));
    EXPECT_TRUE(lobby.sent().isEmpty());
    EXPECT_EQ(lobby.d.MyNick, "MM_acFFFBob");
    EXPECT_EQ(lobby.view.chat, "You Have Voted To Kick Ann\r\n");
}

struct BotUpdate : ::testing::Test {
    QTemporaryDir dir;
    FakeLobby lobby;
    void SetUp() override
    {
        lobby.shell.folder = dir.path();
        lobby.connect();
    }
    void writeBotFile(const QByteArray& bytes)
    {
        QFile file(dir.filePath(QStringLiteral("bot.dat")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QStringList answersTo(const QString& text)
    {
        lobby.receive(chanMsg(QStringLiteral("MM_aaFFFAnn"), QStringLiteral("#ZentharaNET_3"), text));
        return lobby.sent();
    }
};

TEST_F(BotUpdate, ReloadsTheTableAndOldRowsAfterTheNewOnesStillAnswer)
{
    writeBotFile("a|1\r\nb|2\r\nc|3\r\nd|4\r\ne|5\r\n");
    lobby.client.SEND_Click(QStringLiteral("/botupdate"));
    EXPECT_EQ(lobby.view.chat, "-=NOTICE: You Have Updated Your Bot Respoces=-\r\n");
    EXPECT_TRUE(lobby.shell.messages.empty());
    EXPECT_TRUE(lobby.sent().isEmpty());

    writeBotFile("x|7\r\ny|8\r\nz|9\r\n");
    lobby.client.SEND_Click(QStringLiteral("/BOTUPDATE now"));
    EXPECT_EQ(answersTo("a"), QStringList{});
    EXPECT_EQ(answersTo("Y"), QStringList{"PRIVMSG #ZentharaNET_3 :8"});
    EXPECT_EQ(answersTo("e"), QStringList{"PRIVMSG #ZentharaNET_3 :5"});
}

TEST_F(BotUpdate, AFaultIsReportedAndTheRowsBeforeItStay)
{
    writeBotFile("x|7\r\nbroken\r\ny|8\r\n");
    lobby.client.SEND_Click(QStringLiteral("/botupdate"));
    ASSERT_EQ(lobby.shell.messages.size(), 1u);
    EXPECT_EQ(lobby.shell.messages[0].text, "Could Not Load Data Files");
    EXPECT_EQ(lobby.view.chat, "-=NOTICE: You Have Updated Your Bot Respoces=-\r\n");
    EXPECT_EQ(answersTo("x"), QStringList{"PRIVMSG #ZentharaNET_3 :7"});
    EXPECT_EQ(answersTo("y"), QStringList{});
    EXPECT_EQ(lobby.shell.endCount, 0);
}

} // namespace
