#include "fakelobby.h"
#include "lobby/nickcode.h"

#include <gtest/gtest.h>

namespace {

TEST(NickCode, HexToNumReadsTwoUpperCaseHexDigitsAndSetNickCodeReplacesStatusAndPlaceOnly)
{
    const std::pair<const char*, int> cases[] = {
        {"FF", 255}, {"0F", 15},  {"1A", 26},   {"F", 240}, {"ff", 0}, {"", 0},
        {"0A", 10},  {"A0", 160}, {"G1", 1},    {"00", 0},  {"09", 9}, {"90", 144},
        {"Fa", 240}, {"aF", 15},  {"EEX", 238}, {"02", 2},  {"-1", 1}, {" 3", 3},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(NickCode::HexToNum(QString::fromLatin1(text)), value) << '"' << text << '"';
    EXPECT_EQ(NickCode::SetNickCode("MM_ab021Bob", "a", "bFFF"), "MM_abFFFBob");
    // The code letter comes from the client state, not from the old nickname.
    EXPECT_EQ(NickCode::SetNickCode("MM_xaFFFBob_Mc", "a", "d021"), "MM_ad021Bob_Mc");
}

TEST(HutClick, TakesAFreeSlotWithTheOldCodeAndAnnouncesTheNewPlace)
{
    const std::tuple<int, const char*, int, int, const char*> cases[] = {
        {0, "MM_aaFFFBob", 0, 0, "MM_aa000Bob"},  {3, "MM_aaFFFBob", 0, 3, "MM_aa003Bob"},
        {13, "MM_aaFFFBob", 1, 3, "MM_aa013Bob"}, {21, "MM_aaFFFBob", 2, 1, "MM_aa021Bob"},
        {30, "MM_aaFFFBob", 3, 0, "MM_aa030Bob"}, {33, "MM_aaFFFBob", 3, 3, "MM_aa033Bob"},
        {30, "MM_abFFFBob", 3, 0, "MM_aa030Bob"}, {2, "MM_acFFFBob", 0, 2, "MM_aa002Bob"},
        {10, "MM_adFFFBob", 1, 0, "MM_aa010Bob"},
    };
    for (const auto& [index, from, hut, slot, nick] : cases) {
        ConnectedLobby lobby{QString::fromLatin1(from)};
        lobby.client.Hut_Click(index);
        EXPECT_EQ(lobby.d.MyNick, nick) << index;
        EXPECT_EQ(lobby.d.HutTable[hut][slot], QString::fromLatin1(from).mid(3)) << index;
        // Each line carries a line end of its own before the one SendLine adds.
        EXPECT_EQ(lobby.transport.sent(),
                  "NICK :" + QByteArray(nick) + "\r\n\r\nNAMES #ZentharaNET_3\r\n\r\n")
            << index;
    }
}

TEST(HutClick, AnOccupiedOrUnknownSlotDoesNothingAndTheOldSlotStaysTakenUntilTheNextNamesReply)
{
    ConnectedLobby lobby(QStringLiteral("MM_aa010Bob"));
    lobby.d.HutTable[1][0] = QStringLiteral("aa010Bob");
    lobby.d.HutTable[1][1] = QStringLiteral("aa011Ann");
    for (int index : {10, 11, 4, 40, -1})
        lobby.client.Hut_Click(index);
    EXPECT_TRUE(lobby.sent().isEmpty());
    EXPECT_EQ(lobby.d.MyNick, "MM_aa010Bob");
    EXPECT_EQ(lobby.d.HutTable[1][1], "aa011Ann");

    ConnectedLobby mover;
    mover.client.Hut_Click(12);
    mover.client.Hut_Click(31);
    EXPECT_EQ(mover.d.HutTable[1][2] + mover.d.HutTable[3][1], "aaFFFBobaa012Bob");
    EXPECT_EQ(mover.d.MyNick, "MM_aa031Bob");
    mover.receive(
        ":irc 353 MM_aa031Bob = #ZentharaNET_3 :MM_aa031Bob\r\n:irc 366 MM_aa031Bob #ZentharaNET_3 :E\r\n");
    EXPECT_EQ(mover.d.HutTable[1][2] + mover.d.HutTable[3][1], "aa031Bob");

    FakeLobby offline; // not connected, only the local state changes
    offline.client.Hut_Click(21);
    EXPECT_TRUE(offline.transport.sent().isEmpty());
    EXPECT_EQ(offline.d.MyNick + offline.d.HutTable[2][1], "MM_aa021BobaaFFFBob");
}

// The caption is left to the window's tests; here the slots.
TEST(Refresh, TimerShowsTheSixteenSlotsOfHutsZeroToThree)
{
    ConnectedLobby lobby;
    std::fill(std::begin(lobby.view.slotTaken), std::end(lobby.view.slotTaken), true);
    std::fill(std::begin(lobby.view.slotToolTip), std::end(lobby.view.slotToolTip), "stale");
    auto& cell = lobby.d.HutTable;
    cell[0][0] = "aa000Ann";
    cell[2][1] = "aaFFFBob";
    cell[3][3] = "ab";
    cell[1][4] = "aa014Cid"; // slot 4 and hut 4 are never shown
    cell[4][0] = "aa040Dan";
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
