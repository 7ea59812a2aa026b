// What the client does when the lobby is out of reach, and what it tells the player.
#include "eventwait.h"
#include "fakelobby.h"

#include <gtest/gtest.h>

namespace {

const QString Refused = QStringLiteral("ERROR :Closing Link: 127.0.0.1 (Invalid username [MM_aaFFFBob])\r\n");

// Typed while the lobby channel is not joined: kept (the newest 20) until it is, then sent
// in order, one per tick, each echoed as it goes. A server that ends three connections in a
// row before the join is left, its words shown.
TEST(Outage, ChatWaitsForTheLobbyAndAServerThatRefusesUsThreeTimesIsLeft)
{
    ConnectedLobby lobby;
    lobby.client.setTimerIntervals(1000, 10);
    lobby.transport.closeFromServer(); // in the lobby before: does not count
    QStringList expected;
    for (int i = 1; i <= 22; ++i) {
        lobby.client.SEND_Click(QStringLiteral("line %1").arg(i));
        expected << QStringLiteral("PRIVMSG #ZentharaNET_3 :line %1").arg(i);
    }
    EXPECT_EQ(lobby.view.chat.count("-=NOTICE: Not In The Lobby, Sent When It Is Back: line "), 22);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lobby.view.loginShown, 0);
        lobby.client.ReConnect_Timer();
        lobby.transport.acceptConnection();
        lobby.receive(":srv 001 MM_aaFFFBob :Hi\r\n:MM_aaFFFAnn!a@h JOIN :#ZentharaNET_3\r\n" + Refused);
        lobby.client.keptChat().sendNext();
        lobby.transport.closeFromServer();
    }
    EXPECT_FALSE(lobby.view.chat.contains("Bob> ")) << "nothing sent";
    ASSERT_EQ(lobby.shell.messages.size(), 1u);
    EXPECT_EQ(lobby.shell.messages[0].text,
              "The Server Refused The Connection: Closing Link: 127.0.0.1 (Invalid username [MM_aaFFFBob])");
    EXPECT_EQ(lobby.view.loginShown, 1);
    EXPECT_FALSE(waitUntil([&] { return lobby.transport.connectCount > 4; }, 100)) << "no reconnect";

    lobby.client.lobbyChosen();
    lobby.transport.acceptConnection();
    lobby.receive(lobby.ownJoin());
    EXPECT_TRUE(lobby.view.chat.endsWith(
        "-=NOTICE: 2 Older Lines Typed Meanwhile Were Dropped=-\r\nBob> line 3\r\n"));
    lobby.client.SEND_Click(QStringLiteral("new"));    // waits behind the kept ones
    QStringList sent = lobby.sent().filter("PRIVMSG"); // one at the join, then one a tick
    for (int tick = 0; tick < 21; ++tick) {
        lobby.client.keptChat().sendNext();
        sent << lobby.sent().join(u'|');
    }
    EXPECT_EQ(sent, expected.mid(2) << "PRIVMSG #ZentharaNET_3 :new"
                                    << "");
    EXPECT_EQ(lobby.view.chat.count("Bob> "), 21);

    // The join began the count afresh.
    for (int i = 0; i < 3; ++i) {
        lobby.transport.closeFromServer();
        lobby.client.ReConnect_Timer();
        lobby.transport.acceptConnection();
    }
    EXPECT_EQ(lobby.shell.messages.size(), 1u);
}

TEST(Outage, WhatTheServerSaysAboutOurPlaceInTheLobbyIsShown)
{
    const QString to = QStringLiteral(" MM_aaFFFBob #ZentharaNET_3 :");
    const QString select = QStringLiteral(". Type /select To Pick Another Lobby=-");
    const std::pair<QString, QString> cases[] = {
        {":MM_acFFFOp!o@h KICK #ZentharaNET_3 MM_aaFFFBob :spam",
         "-=NOTICE: You Were Kicked From The Lobby By Op (spam). Type /select To Pick A Lobby=-"},
        {Refused.trimmed(),
         "-=NOTICE: The Server Says: Closing Link: 127.0.0.1 (Invalid username [MM_aaFFFBob])=-"},
        {":srv 404" + to + "Cannot send to channel",
         "-=NOTICE: A Line Of Yours Did Not Reach The Lobby: Cannot send to channel=-"},
        {":srv 471" + to + "x", "-=NOTICE: Could Not Join The Lobby, It Is Full" + select},
        {":srv 473" + to + "x", "-=NOTICE: Could Not Join The Lobby, It Is Invite Only" + select},
        {":srv 474" + to + "x", "-=NOTICE: Could Not Join The Lobby, You Are Banned From It" + select},
        {":srv 475" + to + "x", "-=NOTICE: Could Not Join The Lobby, It Needs A Key" + select},
        // Not about us here: another's kick, another channel, the words in a chat line.
        {":op KICK #ZentharaNET_3 MM_aaFFFAnn :spam", ""},
        {":srv 474 MM_aaFFFBob #ZentharaNET_4 :x", ""},
        {chanMsg("MM_aaFFFAnn", "#ZentharaNET_3", "KICK #ZentharaNET_3 MM_aaFFFBob :x").trimmed(),
         "Ann> KICK #ZentharaNET_3 MM_aaFFFBob :x"},
    };
    for (const auto& [line, shown] : cases) {
        SCOPED_TRACE(line.toStdString());
        ConnectedLobby lobby;
        lobby.receive(line + "\r\n");
        EXPECT_EQ(lobby.view.chat, shown.isEmpty() ? shown : shown + "\r\n");
        // Kicked: the lists empty, no rejoin, and chat waits for a lobby.
        const bool kicked = shown.contains("Kicked");
        EXPECT_EQ(lobby.view.chatList.isEmpty(), kicked);
        lobby.client.SEND_Click(QStringLiteral("hi"));
        lobby.client.ReConnect_Timer();
        const QStringList sent = lobby.sent(); // another's kick may ask for the names
        EXPECT_EQ(kicked ? sent : sent.filter("PRIVMSG"),
                  kicked ? QStringList() : QStringList{"PRIVMSG #ZentharaNET_3 :hi"});
    }
}

} // namespace
