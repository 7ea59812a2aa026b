#include "../lobby/fakelobby.h"
#include "irc/connection.h"

#include <gtest/gtest.h>

namespace {

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

// The blocks the connection hands to the dispatcher.
struct Blocks : ConnectedLobby {
    QStringList blocks;
    Blocks()
    {
        QObject::connect(&client.connection(), &Connection::blockReceived, [this](auto b) { blocks << b; });
    }
};

TEST(Connection, HandsOverWholeLinesOnly)
{
    const QByteArray longTail(64 * 1024, 'x');
    const struct {
        const char* what;
        QList<QByteArray> reads;
        QStringList blocks;
    } cases[] = {
        {"the rest after the last line end waits",
         {"L1\r\nL2\r\nL3\r\nL4 sta", "rt\r\n"},
         {"L1\r\nL2\r\nL3\r\n", "L4 start\r\n"}},
        {"a line end cut between CR and LF", {"L5\r", "\nL6\r\n"}, {"L5\r\nL6\r\n"}},
        {"pieces without line end, several reads long", {"a", "b", "c\r\n"}, {"abc\r\n"}},
        // A tail of 64 KiB is held back; one byte more and it goes on as it is.
        {"an overlong tail", {longTail, "y", "next\r\n"}, {QString::fromLatin1(longTail + "y"), "next\r\n"}},
        // Its line end cut between CR and LF: the CR waits for its LF.
        {"an overlong tail ending in CR",
         {longTail + "y\r", "\nnext\r\n"},
         {QString::fromLatin1(longTail + "y"), "\r\nnext\r\n"}},
    };
    for (const auto& c : cases) {
        Blocks b;
        for (const QByteArray& read : c.reads)
            b.receive(read);
        EXPECT_EQ(b.blocks, c.blocks) << c.what;
    }
}

TEST(Connection, ANewConnectionForgetsAHeldBackPiece)
{
    Blocks b;
    b.receive(":old!x@y PRIVMSG #c :half a li");
    b.client.connection().open();
    b.transport.acceptConnection();
    b.receive("PING :srv\r\n");
    EXPECT_EQ(b.blocks, QStringList{"PING :srv\r\n"});
}

TEST(Connection, EveryByteTravelsAsOneCharacter)
{
    ConnectedLobby lobby;
    lobby.receive(QByteArray(":Ann!a@h PRIVMSG #ZentharaNET_3 :caf\xE9 \xA3\xFF\r\n"));
    EXPECT_EQ(lobby.view.chat,
              QStringLiteral("Ann> caf") + QChar(0xE9) + u' ' + QChar(0xA3) + QChar(0xFF) + "\r\n");
    lobby.client.SEND_Click(QStringLiteral("na") + QChar(0xEF) + QStringLiteral("ve"));
    EXPECT_EQ(lobby.transport.sent(), QByteArray("PRIVMSG #ZentharaNET_3 :na\xEFve\r\n"));
}

TEST(Connection, RegistersOnceConnectedAndTheReconnectTimerReopensOnlyAClosedConnection)
{
    FakeLobby lobby;
    lobby.transport.setLocalIP(QStringLiteral("10.1.2.3"));
    lobby.client.ReConnect_Timer(); // closed: opens
    EXPECT_EQ(lobby.transport.host, lobby.d.ServerHost);
    EXPECT_EQ(lobby.transport.port, 6664);
    EXPECT_EQ(lobby.client.socketState(), 6);
    lobby.client.ReConnect_Timer(); // connecting
    EXPECT_TRUE(lobby.sent().isEmpty()) << "nothing goes out before the connection is made";
    lobby.transport.acceptConnection();
    EXPECT_EQ(lobby.sent(),
              (QStringList{"NICK MM_aaFFFBob", R"(USER MM_aaFFFBob "zentharanet.net" "10.1.2.3" :ZenUser)"}));
    lobby.client.ReConnect_Timer(); // connected
    EXPECT_EQ(lobby.transport.connectCount, 1);

    lobby.client.Hut_Click(21);
    lobby.sent();
    lobby.transport.closeFromServer();
    EXPECT_EQ(lobby.client.socketState(), 8);
    EXPECT_TRUE(lobby.shell.messages.empty()) << "a server close is no socket error";
    lobby.client.ReConnect_Timer();
    EXPECT_EQ(lobby.transport.connectCount, 2);
    lobby.transport.acceptConnection();
    EXPECT_EQ(lobby.sent(),
              (QStringList{"NICK MM_aa021Bob", R"(USER MM_aa021Bob "zentharanet.net" "10.1.2.3" :ZenUser)"}));

    lobby.client.SEND_Click(QStringLiteral("/select")); // closed by the client
    lobby.client.ReConnect_Timer();
    EXPECT_EQ(lobby.transport.connectCount, 3);
    EXPECT_EQ(lobby.shell.endCount, 0);
}

TEST(Connection, ASocketErrorEndsTheClientWithAMessage)
{
    const struct {
        bool connected;
        const char* text;
        const char* title;
        Shell::Icon icon;
    } cases[] = {
        // While connecting any failure means the host was not found.
        {false, "Could Not Find Host", "ZenLobby", Shell::Icon::None},
        {true, "Error: 10054; \r\nConnection reset by peer", "Zenthara Razaz Aduda", Shell::Icon::Critical},
    };
    for (const auto& c : cases) {
        FakeLobby lobby;
        if (c.connected)
            lobby.connect();
        else
            lobby.client.Form_Load();
        lobby.transport.fail(10054, QStringLiteral("Connection reset by peer"));
        ASSERT_EQ(lobby.shell.messages.size(), 1u);
        EXPECT_EQ(lobby.shell.messages[0].text, c.text);
        EXPECT_EQ(lobby.shell.messages[0].title, c.title);
        EXPECT_EQ(lobby.shell.messages[0].icon, c.icon);
        EXPECT_EQ(lobby.shell.endCount, 1);
        EXPECT_TRUE(lobby.client.hasEnded());

        // An ended client does nothing more, whatever reaches it.
        lobby.receive(QByteArray("PING :x\r\n:Ann!a@h JOIN :#ZentharaNET_3\r\n"));
        lobby.client.SEND_Click(QStringLiteral("hello"));
        lobby.client.ReConnect_Timer();
        EXPECT_TRUE(lobby.transport.sent().isEmpty());
        EXPECT_EQ(lobby.transport.connectCount, 1);
        EXPECT_EQ(lobby.shell.endCount, 1);
    }
}

TEST(Connection, LoadingTheLobbyEmptiesTheShownHutsAndLists)
{
    FakeLobby lobby;
    for (auto& hut : lobby.d.HutTable)
        hut.fill(QStringLiteral("aa000Old"));
    lobby.view.chatList = QStringList{"Ann"};
    lobby.client.Form_Load();
    for (int h = 0; h < Declares::HutRows; ++h) {
        for (int s = 0; s < Declares::HutSlots; ++s)
            EXPECT_EQ(lobby.d.HutTable[h][s].isEmpty(), h <= 4 && s <= 3) << h << "," << s;
    }
    EXPECT_EQ(lobby.view.chatList, QStringList{"Getting User List..."});
    EXPECT_EQ(lobby.view.playList, QStringList{"Getting User List..."});
}

} // namespace
