#include "../lobby/fakelobby.h"
#include "eventwait.h"
#include "irc/connection.h"

#include <gtest/gtest.h>

namespace {

TEST(Connection, HandsOverWholeLinesOnlyAndANewConnectionForgetsAHeldBackPiece)
{
    const QByteArray tail(64 * 1024, 'x'); // held back; one byte more and it goes on as it is
    const QString longTail = QString::fromLatin1(tail + "y");
    // reads: an empty read stands for a new connection
    const std::pair<QList<QByteArray>, QStringList> cases[] = {
        {{"L1\r\nL2\r\nL3 sta", "rt\r\n"}, {"L1\r\nL2\r\n", "L3 start\r\n"}},
        {{"L5\r", "\nL6\r\n"}, {"L5\r\nL6\r\n"}},
        {{"a", "b", "c\r\n"}, {"abc\r\n"}},
        {{tail, "y", "next\r\n"}, {longTail, "next\r\n"}},
        {{tail + "y\r", "\nnext\r\n"}, {longTail, "\r\nnext\r\n"}}, // the CR waits for its LF
        {{":o!x@y PRIVMSG #c :half", "", "PING :srv\r\n"}, {"PING :srv\r\n"}},
    };
    for (const auto& [reads, handedOver] : cases) {
        ConnectedLobby lobby;
        QStringList blocks;
        QObject::connect(&lobby.client.connection(), &Connection::blockReceived,
                         [&](auto b) { blocks << b; });
        for (const QByteArray& read : reads) {
            if (read.isEmpty()) {
                lobby.client.connection().open();
                lobby.transport.acceptConnection();
            }
            lobby.receive(read);
        }
        EXPECT_EQ(blocks, handedOver) << reads.first().left(20).toStdString();
    }
}

// Every byte is one character; the echo drops the first nickname suffix from
// the text but the wire keeps it.
TEST(Connection, EveryByteTravelsAsOneCharacterAndTheEchoDropsTheFirstSuffix)
{
    ConnectedLobby lobby(QStringLiteral("MM_aaFFFBob_"));
    lobby.d.NickSuffix = QStringLiteral("_");
    lobby.receive(QByteArray(":Ann!a@h PRIVMSG #ZentharaNET_3 :caf\xE9 \xFF\r\n"));
    lobby.client.SEND_Click(QStringLiteral("_na") + QChar(0xEF) + QStringLiteral("_ve"));
    EXPECT_EQ(lobby.transport.sent(), QByteArray("PRIVMSG #ZentharaNET_3 :_na\xEF_ve\r\n"));
    EXPECT_EQ(lobby.view.chat, QStringLiteral("Ann> caf\u00E9 \u00FF\r\nBob_> na\u00EF_ve\r\n"));
}

// Nothing is sent or echoed unless connected.
TEST(Connection, RegistersOnceConnectedAndTheReconnectTimerReopensOnlyAClosedConnection)
{
    FakeLobby lobby;
    lobby.transport.setLocalIP(QStringLiteral("10.1.2.3"));
    auto registers = [](const char* nick) {
        return QStringList{QStringLiteral("NICK ") + nick,
                           QStringLiteral("USER %1 \"zentharanet.net\" \"10.1.2.3\" :ZenUser").arg(nick)};
    };
    auto tryToSend = [&] {
        lobby.client.connection().SendLine(QStringLiteral("NAMES #x"));
        lobby.client.SEND_Click(QStringLiteral("hi all"));
    };
    tryToSend();
    lobby.client.ReConnect_Timer(); // closed: opens
    EXPECT_EQ(lobby.transport.host + ':' + QString::number(lobby.transport.port),
              lobby.d.ServerHost + ":6664");
    EXPECT_EQ(lobby.client.socketState(), 6);
    lobby.client.ReConnect_Timer(); // connecting
    tryToSend();
    EXPECT_TRUE(lobby.sent().isEmpty());
    lobby.transport.acceptConnection();
    EXPECT_EQ(lobby.sent(), registers("MM_aaFFFBob"));
    lobby.client.ReConnect_Timer(); // connected
    EXPECT_EQ(lobby.transport.connectCount, 1);

    lobby.client.Hut_Click(21);
    lobby.sent();
    lobby.transport.closeFromServer();
    tryToSend();
    EXPECT_EQ(lobby.client.socketState(), 8);
    EXPECT_TRUE(lobby.shell.messages.empty()) << "a server close is no socket error";
    EXPECT_TRUE(lobby.view.chat.contains(", Closed By The Server. Reconnecting...") &&
                !lobby.view.chat.contains("Bob> "));
    lobby.client.ReConnect_Timer();
    lobby.transport.acceptConnection();
    EXPECT_EQ(lobby.sent(), registers("MM_aa021Bob"));

    lobby.client.SEND_Click(QStringLiteral("/select")); // closed by the client
    lobby.client.ReConnect_Timer();
    EXPECT_EQ(lobby.transport.connectCount, 3);
    EXPECT_EQ(lobby.shell.endCount, 0);
}

TEST(Connection, ASocketErrorEndsTheClientWithAMessageAndAnEndedClientDoesNothingMore)
{
    const std::tuple<bool, const char*, const char*, Shell::Icon> cases[] = {
        // While connecting any failure means the host was not found.
        {false, "Could Not Find Host", "ZenLobby", Shell::Icon::None},
        {true, "Error: 10054; \r\nConnection reset by peer", "Zenthara Razaz Aduda", Shell::Icon::Critical},
    };
    for (const auto& [connected, text, title, icon] : cases) {
        FakeLobby lobby;
        if (connected)
            lobby.connect();
        else
            lobby.client.Form_Load();
        lobby.transport.fail(10054, QStringLiteral("Connection reset by peer"));
        ASSERT_EQ(lobby.shell.messages.size(), 1u);
        const auto& shown = lobby.shell.messages[0];
        EXPECT_EQ(shown.title + '|' + shown.text, QString(title) + '|' + text);
        EXPECT_EQ(shown.icon, icon);
        EXPECT_TRUE(lobby.client.hasEnded());
        lobby.receive("PING :x\r\n:Ann!a@h JOIN :#ZentharaNET_3\r\n");
        lobby.client.SEND_Click(QStringLiteral("hello"));
        lobby.client.ReConnect_Timer();
        EXPECT_TRUE(lobby.transport.sent().isEmpty());
        EXPECT_EQ(lobby.transport.connectCount, 1);
        EXPECT_EQ(lobby.shell.endCount, 1);
    }
}

TEST(Connection, LoadingTheLobbyEmptiesTheShownHutsAndListsAndNeitherTimerRacesAhead)
{
    FakeLobby lobby;
    lobby.connect();
    lobby.transport.closeFromServer();
    const int refreshes = lobby.view.refreshCount;
    EXPECT_FALSE(waitUntil([&] { return lobby.transport.connectCount > 1; }, 100));
    EXPECT_EQ(lobby.view.refreshCount, refreshes);
    for (auto& hut : lobby.d.HutTable)
        hut.fill(QStringLiteral("aa000Old"));
    lobby.client.Form_Load();
    for (int h = 0; h < Declares::HutRows; ++h)
        for (int s = 0; s < Declares::HutSlots; ++s)
            EXPECT_EQ(lobby.d.HutTable[h][s].isEmpty(), h <= 4 && s <= 3) << h << "," << s;
    EXPECT_EQ(lobby.view.chatList + lobby.view.playList, QStringList(2, "Getting User List..."));
}

TEST(Connection, ASilentServerIsAskedOnceThenTakenForGoneAndAnyLineIsLife)
{
    // Steps: ms since connecting, what the server sends then, what the client sends, its state.
    const char* ping = "PING :ZenLobby";
    const std::vector<std::vector<std::tuple<qint64, const char*, const char*, int>>> cases = {
        {{59999, "", "", 7}, {60000, "", ping, 7}, {89999, "", "", 7}, {90000, "", "", 8}},
        {{50000, "PING :srv", "PONG :srv", 7}, {100000, "PING :srv", "PONG :srv", 7}, {159999, "", "", 7}},
        {{60000, "", ping, 7},
         {89999, ":srv PONG srv :ZenLobby", "", 7},
         {149998, "", "", 7},
         {149999, "", ping, 7}},
    };
    for (const auto& steps : cases) {
        FakeLobby lobby;
        qint64 now = 0;
        lobby.client.setClock([&] { return now; });
        lobby.connect();
        for (const auto& [at, line, sent, state] : steps) {
            now = at;
            if (*line)
                lobby.receive(QByteArray(line) + "\r\n");
            lobby.client.connection().checkLiveness();
            EXPECT_EQ(lobby.sent().join(u'|'), sent) << at;
            EXPECT_EQ(lobby.client.socketState(), state) << at;
        }
        EXPECT_EQ(lobby.view.chat.contains("The Server Stopped Answering"), lobby.client.socketState() == 8);
    }
}

} // namespace
