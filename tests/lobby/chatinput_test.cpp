#include "fakelobby.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString kickLine(const QString& voter, const QString& target)
{
    return "PRIVMSG #ZentharaNET_3 :[ZENKICK] " + voter + ">" + target + "|||";
}

TEST(ChatInput, CommandsAreKnownByTheirFirstCharactersInAnyCase)
{
    const QString chat = QStringLiteral("PRIVMSG #ZentharaNET_3 :");
    const QString bob = QStringLiteral("MM_aa021Bob"); // in hut 2, slot 1
    const QString away = "NICK :MM_acFFFBob", in = "NICK :MM_aaFFFBob";
    // What the wire cannot carry is a "?" in the echo too; the rest of 8 bits stays.
    const QString odd = QStringLiteral("\u0141\u00f3d\u017a! \U0001F600"), sent = "?\u00f3d?! ?";
    const struct {
        QStringList typed; // each means the same
        QString sent;      // the nickname afterwards is the one announced, if any
        QString chat;
    } cases[] = {{{"/away", "/AWAY", "/Away back at six"}, away, ""},
                 {{"/brb"}, "NICK :MM_adFFFBob", ""},
                 {{"/in", "/info", "/out", "/OUTside"}, in, ""},
                 {{"/selec"}, chat + "/selec", "Bob> /selec\r\n"},
                 {{" /away"}, chat + " /away", "Bob>  /away\r\n"},
                 {{""}, chat, "Bob> \r\n"},
                 {{odd}, chat + sent, "Bob> " + sent + "\r\n"},
                 // The target is whatever follows the sixth character, even one's own name.
                 {{"/KICK Ann "}, kickLine(bob, "Ann "), "You Have Voted To Kick Ann \r\n"},
                 {{"/kickBob"}, kickLine(bob, "ob"), "You Have Voted To Kick ob\r\n"},
                 {{"/kick "}, kickLine(bob, ""), "You Have Voted To Kick \r\n"},
                 {{"/kick"}, "", "Type /kick <USER> to vote a user to be kicked\r\n"},
                 {{"/botedit"}, "", ""}};
    for (const auto& c : cases) {
        for (const QString& typed : c.typed) {
            SCOPED_TRACE(typed.toStdString());
            ConnectedLobby lobby(bob);
            lobby.client.SEND_Click(typed);
            EXPECT_EQ(lobby.sent().join(u'|'), c.sent);
            EXPECT_EQ(lobby.d.MyNick, c.sent.startsWith("NICK :") ? c.sent.mid(6) : bob);
            EXPECT_EQ(lobby.view.chat, c.chat);
            EXPECT_EQ(lobby.view.botEditorShown, typed == "/botedit" ? 1 : 0);
            EXPECT_EQ(lobby.view.lobbySelectShown, 0);
            EXPECT_EQ(lobby.d.KickVotes, 0) << "a vote of one's own is not counted by the sender";
            EXPECT_EQ(lobby.shell.endCount, 0);
        }
    }
}

TEST(ChatInput, APlayerBackFromAGameChatsAgainFirst)
{
    const QString in = QStringLiteral("NICK :MM_aaFFFBob");
    const struct {
        QString typed;
        QStringList sent;
    } cases[] = {{"/brb", {in, "NICK :MM_adFFFBob"}},
                 {"/in", {in, in}},
                 {"gg", {in, "PRIVMSG #ZentharaNET_3 :gg"}},
                 {"/kick Ann", {in, kickLine("MM_aaFFFBob", "Ann")}},
                 {"/select", {in}}};
    for (const auto& c : cases) {
        ConnectedLobby lobby(QStringLiteral("MM_abFFFBob"));
        lobby.client.SEND_Click(c.typed);
        EXPECT_EQ(lobby.sent(), c.sent) << c.typed.toStdString();
    }

    // Focus on the chat input alone does it for a playing player only.
    for (const char* nick : {"MM_abFFFBob", "MM_ab020Bob", "MM_acFFFBob", "MM_aa021Bob"}) {
        const bool playing = nick == std::string("MM_abFFFBob");
        ConnectedLobby lobby{QString::fromLatin1(nick)};
        lobby.client.OUTCHAT_GotFocus();
        lobby.client.OUTCHAT_GotFocus();
        EXPECT_EQ(lobby.sent(), playing ? QStringList{in} : QStringList{}) << nick;
        EXPECT_EQ(lobby.d.MyNick, playing ? "MM_aaFFFBob" : nick);
    }
}

TEST(ChatInput, SelectDropsTheConnectionAndAPickedLobbyIsJoinedAtOnceUnlessTheConnectionIsThere)
{
    ConnectedLobby lobby(QStringLiteral("MM_ac021Bob"));
    lobby.client.SEND_Click(QStringLiteral("/Select"));
    EXPECT_TRUE(lobby.sent().isEmpty()) << "no NICK, QUIT or PART";
    EXPECT_EQ(lobby.d.MyNick, "MM_aaFFFBob");
    EXPECT_EQ(lobby.client.socketState(), 0);
    EXPECT_EQ(lobby.view.chat, "Lobby Switch... Connecting...\r\n");
    EXPECT_EQ(lobby.view.lobbySelectShown, 1);

    const struct {
        bool reconnectFirst; // the reconnect rejoined the lobby left before the pick
        QString picked;
    } cases[] = {{false, "#ZentharaNET_0"}, {true, "#ZentharaNET_0"}, {true, "#ZentharaNET_3"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picked.toStdString() + (c.reconnectFirst ? " after a reconnect" : ""));
        ConnectedLobby lobby;
        lobby.client.SEND_Click(QStringLiteral("/select"));
        if (c.reconnectFirst) {
            lobby.client.ReConnect_Timer();
            lobby.transport.acceptConnection();
        }
        lobby.sent();
        const int connects = lobby.transport.connectCount;
        lobby.d.CurrentChannel = c.picked;
        lobby.client.lobbyChosen();
        if (c.reconnectFirst && c.picked.endsWith('3')) {
            EXPECT_EQ(lobby.transport.connectCount, connects);
            EXPECT_EQ(lobby.client.socketState(), SocketState::Connected);
            EXPECT_TRUE(lobby.sent().isEmpty());
            continue;
        }
        EXPECT_EQ(lobby.transport.connectCount, connects + 1);
        lobby.transport.acceptConnection();
        lobby.receive(":irc 001 MM_aaFFFBob :Welcome\r\n");
        const QStringList sent = lobby.sent();
        EXPECT_EQ(sent.value(0), "NICK MM_aaFFFBob");
        EXPECT_EQ(sent.mid(2), (QStringList{"JOIN " + c.picked, "MODE " + c.picked}));
    }
}

TEST(ChatInput, NotConnectedStatusAndVotesStayLocalAndEachVoteTypedGoesOut)
{
    FakeLobby lobby(QStringLiteral("MM_aa021Bob"));
    lobby.client.SEND_Click(QStringLiteral("/away"));
    lobby.client.SEND_Click(QStringLiteral("/kick Ann"));
    EXPECT_TRUE(lobby.sent().isEmpty());
    EXPECT_EQ(lobby.d.MyNick, "MM_acFFFBob");
    EXPECT_EQ(lobby.view.chat, "You Have Voted To Kick Ann\r\n");
    lobby.connect();
    lobby.client.SEND_Click(QStringLiteral("/kick Nobody"));
    lobby.client.SEND_Click(QStringLiteral("/kick Nobody"));
    EXPECT_EQ(lobby.sent(), QStringList(2, kickLine("MM_acFFFBob", "Nobody")));
}

// A good reload is left to the window's test; here a file with a fault.
TEST(ChatInput, BotUpdateReportsAFaultKeepsTheRowsBeforeItAndGoesOn)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("bot.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x|7\r\nbroken\r\ny|8\r\n");
    file.close();
    FakeLobby lobby;
    lobby.shell.folder = dir.path();
    lobby.connect();
    lobby.client.SEND_Click(QStringLiteral("/BOTUPDATE now"));
    ASSERT_EQ(lobby.shell.messages.size(), 1u);
    EXPECT_EQ(lobby.shell.messages[0].text, "Could Not Load Data Files");
    EXPECT_EQ(lobby.view.chat, "-=NOTICE: You Have Updated Your Bot Respoces=-\r\n");
    lobby.receive(":Ann!a@h PRIVMSG #ZentharaNET_3 :X\r\n");
    EXPECT_EQ(lobby.sent(), QStringList{"PRIVMSG #ZentharaNET_3 :7"});
    EXPECT_EQ(lobby.shell.endCount, 0);
}

} // namespace
