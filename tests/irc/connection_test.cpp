#include "../lobby/fakelobby.h"
#include "irc/connection.h"

#include <gtest/gtest.h>

namespace {

TEST(Connection, RegistersWithNickAndUserOnceConnected)
{
    FakeLobby lobby(QStringLiteral("MM_aaFFFbob"));
    lobby.transport.setLocalIP(QStringLiteral("10.1.2.3"));
    lobby.client.Form_Load();
    EXPECT_EQ(lobby.transport.connectCount, 1);
    EXPECT_EQ(lobby.transport.host, lobby.d.ServerHost);
    EXPECT_EQ(lobby.transport.port, 6664);
    EXPECT_EQ(lobby.client.socketState(), 6);
    EXPECT_TRUE(lobby.transport.sent().isEmpty()) << "nothing goes out before the connection is made";

    lobby.transport.acceptConnection();
    EXPECT_EQ(lobby.transport.sent(),
              "NICK MM_aaFFFbob\r\nUSER MM_aaFFFbob \"zentharanet.net\" \"10.1.2.3\" :ZenUser\r\n");
}

TEST(Connection, SendChatSendsToTheLobbyAndEchoesTheName)
{
    FakeLobby lobby(QStringLiteral("MM_aaFFFbob"));
    lobby.connect();
    lobby.client.connection().SendChat(QStringLiteral("hello"));
    EXPECT_EQ(lobby.transport.sent(), "PRIVMSG #ZentharaNET_3 :hello\r\n");
    EXPECT_EQ(lobby.view.chat, "bob> hello\r\n");
    lobby.transport.takeLines();

    lobby.client.connection().SendLine(QStringLiteral("NAMES #ZentharaNET_3"));
    EXPECT_EQ(lobby.transport.sent(), "NAMES #ZentharaNET_3\r\n");
    EXPECT_EQ(lobby.view.chat, "bob> hello\r\n") << "a raw line is not echoed";
}

TEST(Connection, NothingIsSentOrEchoedUnlessConnected)
{
    FakeLobby lobby;
    auto tryToSend = [&] {
        lobby.client.connection().SendLine(QStringLiteral("NAMES #x"));
        lobby.client.connection().SendChat(QStringLiteral("hello"));
        lobby.client.SEND_Click(QStringLiteral("hi all"));
    };
    tryToSend(); // closed
    lobby.client.Form_Load();
    tryToSend(); // connecting
    lobby.transport.acceptConnection();
    lobby.transport.takeLines();
    lobby.transport.closeFromServer();
    tryToSend(); // closed by the server
    EXPECT_TRUE(lobby.transport.sent().isEmpty());
    EXPECT_TRUE(lobby.view.chat.isEmpty());
}

struct Blocks {
    Declares d;
    FakeTransport transport;
    FakeView view;
    Connection connection{d, transport, view};
    QStringList blocks;
    Blocks()
    {
        QObject::connect(&connection, &Connection::blockReceived,
                         [this](const QString& b) { blocks.append(b); });
        connection.open();
        transport.acceptConnection();
    }
};

TEST(Connection, HandsOverWholeLinesOnly)
{
    Blocks b;
    b.transport.deliver("L1\r\nL2\r\nL3\r\nL4 sta");
    ASSERT_EQ(b.blocks, QStringList{"L1\r\nL2\r\nL3\r\n"});
    b.transport.deliver("rt\r\n");
    EXPECT_EQ(b.blocks.value(1), "L4 start\r\n");

    // The line end itself may be cut between CR and LF.
    b.transport.deliver("L5\r");
    EXPECT_EQ(b.blocks.size(), 2);
    b.transport.deliver("\nL6\r\n");
    EXPECT_EQ(b.blocks.value(2), "L5\r\nL6\r\n");

    // A piece without any line end waits, several deliveries long.
    b.transport.deliver("a");
    b.transport.deliver("b");
    EXPECT_EQ(b.blocks.size(), 3);
    b.transport.deliver("c\r\n");
    EXPECT_EQ(b.blocks.value(3), "abc\r\n");
    EXPECT_EQ(b.blocks.size(), 4);
}

TEST(Connection, AnOverlongTailWithoutLineEndIsHandedOver)
{
    Blocks b;
    b.transport.deliver(QByteArray(64 * 1024, 'x'));
    EXPECT_TRUE(b.blocks.isEmpty());
    b.transport.deliver("y");
    ASSERT_EQ(b.blocks.size(), 1);
    EXPECT_EQ(b.blocks[0].size(), 64 * 1024 + 1);
    EXPECT_TRUE(b.blocks[0].endsWith("xy"));
    b.transport.deliver("next\r\n");
    EXPECT_EQ(b.blocks.value(1), "next\r\n") << "nothing of the long tail is handed over twice";
}

TEST(Connection, ANewConnectionForgetsAHeldBackPiece)
{
    Blocks b;
    b.transport.deliver(":old!x@y PRIVMSG #c :half a li");
    b.connection.open();
    b.transport.acceptConnection();
    b.transport.deliver("PING :srv\r\n");
    EXPECT_EQ(b.blocks, QStringList{"PING :srv\r\n"});
}

TEST(Connection, EveryByteTravelsAsOneCharacter)
{
    FakeLobby lobby;
    lobby.connect();
    lobby.receive(QByteArray(":Ann!a@h PRIVMSG #ZentharaNET_3 :caf\xE9 \xA3\xFF\r\n"));
    EXPECT_EQ(lobby.view.chat,
              QStringLiteral("Ann> caf") + QChar(0xE9) + u' ' + QChar(0xA3) + QChar(0xFF) + "\r\n");
    lobby.client.SEND_Click(QStringLiteral("na") + QChar(0xEF) + QStringLiteral("ve"));
    EXPECT_EQ(lobby.transport.sent(), QByteArray("PRIVMSG #ZentharaNET_3 :na\xEFve\r\n"));
}

TEST(Connection, ServerCloseReconnectsWithTheSameNickname)
{
    FakeLobby lobby;
    lobby.connect();
    lobby.client.Hut_Click(21);
    lobby.transport.takeLines();
    lobby.transport.closeFromServer();
    EXPECT_EQ(lobby.client.socketState(), 8);
    EXPECT_TRUE(lobby.shell.messages.empty()) << "a server close is no socket error";
    EXPECT_EQ(lobby.shell.endCount, 0);

    lobby.client.ReConnect_Timer();
    EXPECT_EQ(lobby.transport.connectCount, 2);
    lobby.transport.acceptConnection();
    EXPECT_EQ(lobby.sent(),
              (QStringList{"NICK MM_aa021Bob", R"(USER MM_aa021Bob "zentharanet.net" "10.0.0.5" :ZenUser)"}));
}

TEST(Connection, ReconnectTimerActsOnlyWhenClosed)
{
    FakeLobby lobby;
    lobby.client.ReConnect_Timer(); // state 0
    EXPECT_EQ(lobby.transport.connectCount, 1);
    lobby.client.ReConnect_Timer(); // state 6
    EXPECT_EQ(lobby.transport.connectCount, 1);
    lobby.transport.acceptConnection();
    lobby.client.ReConnect_Timer(); // state 7
    EXPECT_EQ(lobby.transport.connectCount, 1);
    lobby.client.SEND_Click(QStringLiteral("/select")); // closes: state 0
    lobby.client.ReConnect_Timer();
    EXPECT_EQ(lobby.transport.connectCount, 2);
}

TEST(Connection, FailureWhileConnectingEndsWithCouldNotFindHost)
{
    FakeLobby lobby;
    lobby.client.Form_Load();
    lobby.transport.fail(10061, QStringLiteral("Connection refused"));
    ASSERT_EQ(lobby.shell.messages.size(), 1u);
    EXPECT_EQ(lobby.shell.messages[0].text, "Could Not Find Host");
    EXPECT_EQ(lobby.shell.messages[0].title, "ZenLobby");
    EXPECT_EQ(lobby.shell.endCount, 1);
    EXPECT_TRUE(lobby.client.hasEnded());
}

TEST(Connection, LaterSocketErrorShowsNumberAndDescriptionThenEnds)
{
    FakeLobby lobby;
    lobby.connect();
    lobby.transport.fail(10054, QStringLiteral("Connection reset by peer"));
    ASSERT_EQ(lobby.shell.messages.size(), 1u);
    EXPECT_EQ(lobby.shell.messages[0].text, "Error: 10054; \r\nConnection reset by peer");
    EXPECT_EQ(lobby.shell.messages[0].title, "Zenthara Razaz Aduda");
    EXPECT_EQ(lobby.shell.messages[0].icon, Shell::Icon::Critical);
    EXPECT_EQ(lobby.shell.endCount, 1);

    // An ended client does nothing more, whatever reaches it.
    lobby.receive(QByteArray("PING :x\r\n:Ann!a@h JOIN :#ZentharaNET_3\r\n"));
    lobby.client.SEND_Click(QStringLiteral("hello"));
    lobby.client.ReConnect_Timer();
    EXPECT_TRUE(lobby.transport.sent().isEmpty());
    EXPECT_EQ(lobby.transport.connectCount, 1);
    EXPECT_EQ(lobby.shell.endCount, 1);
}

TEST(Connection, LoadingTheLobbyEmptiesTheShownHutsAndLists)
{
    FakeLobby lobby;
    for (auto& hut : lobby.d.HutTable)
        for (auto& cell : hut)
            cell = QStringLiteral("aa000Old");
    lobby.view.chatList = QStringList{"Ann"};
    lobby.client.Form_Load();
    for (int h = 0; h < Declares::HutRows; ++h) {
        for (int s = 0; s < Declares::HutSlots; ++s)
            EXPECT_EQ(lobby.d.HutTable[h][s].isEmpty(), h <= 4 && s <= 3) << h << "," << s;
    }
    EXPECT_EQ(lobby.view.chatList, QStringList{"Getting User List..."});
    EXPECT_EQ(lobby.view.playList, QStringList{"Getting User List..."});

    // A reconnect does it again.
    lobby.transport.acceptConnection();
    lobby.d.HutTable[3][3] = QStringLiteral("aa033Cid");
    lobby.transport.closeFromServer();
    lobby.client.ReConnect_Timer();
    EXPECT_TRUE(lobby.d.HutTable[3][3].isEmpty());
}

} // namespace
