#include "fakelobby.h"

#include <gtest/gtest.h>

namespace {

TEST(HutClick, TakesAFreeSlotWithTheOldCodeAndAnnouncesTheNewPlace)
{
    const struct {
        int index;
        const char* from;
        int hut, slot;
        const char* nick;
    } cases[] = {
        {0, "MM_aaFFFBob", 0, 0, "MM_aa000Bob"},  {3, "MM_aaFFFBob", 0, 3, "MM_aa003Bob"},
        {13, "MM_aaFFFBob", 1, 3, "MM_aa013Bob"}, {21, "MM_aaFFFBob", 2, 1, "MM_aa021Bob"},
        {30, "MM_aaFFFBob", 3, 0, "MM_aa030Bob"}, {33, "MM_aaFFFBob", 3, 3, "MM_aa033Bob"},
        {30, "MM_abFFFBob", 3, 0, "MM_aa030Bob"}, {2, "MM_acFFFBob", 0, 2, "MM_aa002Bob"},
        {10, "MM_adFFFBob", 1, 0, "MM_aa010Bob"},
    };
    for (const auto& c : cases) {
        ConnectedLobby lobby{QString::fromLatin1(c.from)};
        lobby.client.Hut_Click(c.index);
        EXPECT_EQ(lobby.d.MyNick, c.nick) << c.index;
        EXPECT_EQ(lobby.d.HutTable[c.hut][c.slot], QString::fromLatin1(c.from).mid(3)) << c.index;
        // Each line carries a line end of its own before the one SendLine adds.
        EXPECT_EQ(lobby.transport.sent(),
                  "NICK :" + QByteArray(c.nick) + "\r\n\r\nNAMES #ZentharaNET_3\r\n\r\n")
            << c.index;
    }

    // Not connected, only the local state changes.
    FakeLobby offline;
    offline.client.Hut_Click(21);
    EXPECT_TRUE(offline.transport.sent().isEmpty());
    EXPECT_EQ(offline.d.MyNick, "MM_aa021Bob");
    EXPECT_EQ(offline.d.HutTable[2][1], "aaFFFBob");
}

TEST(HutClick, AnOccupiedOrUnknownSlotDoesNothing)
{
    ConnectedLobby lobby(QStringLiteral("MM_aa010Bob"));
    lobby.d.HutTable[1][0] = QStringLiteral("aa010Bob");
    lobby.d.HutTable[1][1] = QStringLiteral("aa011Ann");
    for (int index : {10, 11, 4, 40, -1})
        lobby.client.Hut_Click(index);
    EXPECT_TRUE(lobby.sent().isEmpty());
    EXPECT_EQ(lobby.d.MyNick, "MM_aa010Bob");
    EXPECT_EQ(lobby.d.HutTable[1][1], "aa011Ann");
}

TEST(HutClick, TheOldSlotStaysTakenUntilTheNextNamesReply)
{
    ConnectedLobby lobby;
    lobby.client.Hut_Click(12);
    lobby.client.Hut_Click(31);
    EXPECT_EQ(lobby.d.HutTable[1][2], "aaFFFBob");
    EXPECT_EQ(lobby.d.HutTable[3][1], "aa012Bob");
    EXPECT_EQ(lobby.d.MyNick, "MM_aa031Bob");
    lobby.receive(
        ":irc 353 MM_aa031Bob = #ZentharaNET_3 :MM_aa031Bob\r\n:irc 366 MM_aa031Bob #ZentharaNET_3 :End\r\n");
    EXPECT_TRUE(lobby.d.HutTable[1][2].isEmpty());
    EXPECT_EQ(lobby.d.HutTable[3][1], "aa031Bob");
}

// The caption is left to the window's tests; here the slots.
TEST(Refresh, TimerShowsTheSixteenSlotsOfHutsZeroToThree)
{
    ConnectedLobby lobby;
    for (int i = 0; i < 34; ++i) {
        lobby.view.slotTaken[i] = true;
        lobby.view.slotToolTip[i] = QStringLiteral("stale");
    }
    lobby.d.HutTable[0][0] = QStringLiteral("aa000Ann");
    lobby.d.HutTable[2][1] = QStringLiteral("aaFFFBob");
    lobby.d.HutTable[3][3] = QStringLiteral("ab");
    lobby.d.HutTable[1][4] = QStringLiteral("aa014Cid");
    lobby.d.HutTable[4][0] = QStringLiteral("aa040Dan");
    lobby.client.Timer1_Timer();
    for (int h = 0; h < 4; ++h) {
        for (int s = 0; s < 4; ++s) {
            const int i = 10 * h + s;
            EXPECT_EQ(lobby.view.slotTaken[i], i == 0 || i == 21 || i == 33) << i;
            EXPECT_EQ(lobby.view.slotToolTip[i], i == 0 ? "Ann" : i == 21 ? "Bob" : "") << i;
        }
    }
    EXPECT_EQ(lobby.view.slotToolTip[4], "stale") << "slot 4 is never shown";
}

} // namespace
