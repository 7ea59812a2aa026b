#include "fakelobby.h"

#include <gtest/gtest.h>

namespace {

QString names(const QString& list, const QString& channel = QStringLiteral("#chan"))
{
    return ":irc.zen.test 353 MM_aaFFFBob = " + channel + " :" + list + "\r\n";
}
const QString End = QStringLiteral(":irc.zen.test 366 MM_aaFFFBob #chan :End of NAMES list\r\n");
const QString Join = QStringLiteral(":MM_aaFFFCid!c@h JOIN :#chan\r\n");

TEST(NamesReply, IsGatheredFromItsLinesUntilItsEndAndOnlyForThisChannelAndNickname)
{
    const QStringList none{"Getting User List..."};
    const struct {
        const char* what;
        QStringList reads;
        QStringList chat, play;
        int count;
    } cases[] = {
        {"no operator mark, no blank at the end",
         {names("MM_aaFFFBob @MM_abFFFAnn Dan") + End},
         {"Bob", "Dan"},
         {"Ann"},
         3},
        {"a player alone in the lobby sees himself", {names("MM_aaFFFBob") + End}, {"Bob"}, {}, 1},
        {"several lines", {names("A1 A2 ") + names("A3 A4") + End}, {"A1", "A2", "A3", "A4"}, {}, 4},
        {"open reply", {names("B1 B2"), names("MM_abFFFB3 B4")}, {"B1", "B2", "B4"}, {"B3"}, 4},
        {"up to the end",
         {names("B1 B2"), names("B3 B4"), names("B5") + End},
         {"B1", "B2", "B3", "B4", "B5"},
         {},
         5},
        {"a line after the end starts anew", {names("A1") + End, names("B1 B2")}, {"B1", "B2"}, {}, 2},
        {"an end read alone", {names("A1 A2"), End, names("B1") + End}, {"B1"}, {}, 1},
        {"an end behind a JOIN", {names("A1 A2"), End + Join, names("C1") + End}, {"C1"}, {}, 1},
        {"another channel", {names("X Y ", "#other")}, none, none, 0},
        {"a channel that starts alike", {names("X Y ", "#chan2")}, none, none, 0},
        {"a secret channel", {":irc 353 MM_aaFFFBob @ #chan :Xa Yb\r\n"}, {"Xa", "Yb"}, {}, 2},
        // Numerics come to us only; ours may have changed while the reply was on its way.
        {"another nickname", {":irc 353 MM_aa010Bob = #chan :Xa Yb\r\n"}, {"Xa", "Yb"}, {}, 2},
        {"an end to a newer nickname closes the reply",
         {names("A1 A2"), ":irc 366 MM_aa010Bob #chan :End of NAMES list\r\n", names("B1")},
         {"B1"},
         {},
         1},
        {"names in a chat line are no reply",
         {chanMsg("Eve", "#chan", "353 x = #chan :MM_aa000Fake")},
         none,
         none,
         0},
        {"another channel's line inside",
         {names("A1 ") + names("X Y ", "#other") + names("A2") + End},
         {"A1", "A2"},
         {},
         2},
    };
    for (const auto& c : cases) {
        ConnectedLobby lobby(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#chan"));
        for (const QString& read : c.reads)
            lobby.receive(read);
        EXPECT_EQ(lobby.view.chatList, c.chat) << c.what;
        EXPECT_EQ(lobby.view.playList, c.play) << c.what;
        EXPECT_EQ(lobby.d.UserCount, c.count) << c.what;
    }
}

TEST(RosterEntry, StatusDecidesListMarkAndHut)
{
    const struct {
        const char* entry;
        QStringList chat;
        QStringList play;
        int hut, slot; // the cell the entry fills, -1 for none
    } cases[] = {
        {"MM_acFFFAnn", {"(Away)Ann"}, {}, -1, -1},
        {"MM_adFFFAnn", {"(BRB)Ann"}, {}, -1, -1},
        {"MM_ab021Ann", {}, {"Ann"}, -1, -1},
        {"MM_ac021Ann", {"(Away)Ann"}, {}, -1, -1},
        {"MM_aa021Ann", {"Ann"}, {}, 2, 1},
        {"@MM_aa033Ann", {"Ann"}, {}, 3, 3},
        {"MM_aa0A3Ann", {"Ann"}, {}, 10, 3},
        {"MM_aa004Ann", {"Ann"}, {}, 0, 4},
        {"MM_aaFE0Ann", {"Ann"}, {}, 254, 0},
        {"MM_aa025Ann", {"Ann"}, {}, -1, -1},
        {"MM_aa02EAnn", {"Ann"}, {}, -1, -1},
        {"MM_aaFF0Ann", {"Ann"}, {}, -1, -1},
        {"MM_aa02FAnn", {"Ann"}, {}, -1, -1},
        {"MM_ae021Ann", {"ae021Ann"}, {}, -1, -1},
        {"Dan", {"Dan"}, {}, -1, -1},
        {"mm_aa021Ann", {"mm_aa021Ann"}, {}, -1, -1},
        {"MM_za021Ann", {"Ann"}, {}, 2, 1}, // the code letter is not looked at
        // A voice mark stays, so the fields are read one position off.
        {"+MM_aa001Cid", {"1Cid"}, {}, 0, 0},
        {"+MM_abFFFAnn", {"FAnn"}, {}, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        ConnectedLobby lobby(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#chan"));
        lobby.receive(names(QString::fromLatin1(c.entry) + ' ') + End);
        EXPECT_EQ(lobby.view.chatList, c.chat);
        EXPECT_EQ(lobby.view.playList, c.play);
        EXPECT_EQ(lobby.d.UserCount, 1);
        for (int h = 0; h < Declares::HutRows; ++h) {
            for (int s = 0; s < Declares::HutSlots; ++s) {
                const QString expected = (h == c.hut && s == c.slot)
                                             ? QString::fromLatin1(c.entry).remove('@').remove("MM_")
                                             : QString();
                EXPECT_EQ(lobby.d.HutTable[h][s], expected) << " cell " << h << "," << s;
            }
        }
    }
}

TEST(NamesReply, EachReplyRefillsTheShownHutsLaterNamesWinAndTheDispatchGoesOn)
{
    ConnectedLobby lobby(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#chan"));
    auto& cell = lobby.d.HutTable;
    cell[5][0] = QStringLiteral("aa050Old");
    cell[1][4] = QStringLiteral("aa014Old");
    cell[4][3] = QStringLiteral("aa043Old");
    lobby.receive(names("MM_aa010Ann MM_aa010Cid MM_aa021Dan ") + End +
                  chanMsg("MM_aaFFFCid", "#chan", "[ZENLNK] http://zen.test|||"));
    EXPECT_EQ(cell[1][0], "aa010Cid");
    EXPECT_EQ(cell[2][1], "aa021Dan");
    EXPECT_TRUE(cell[4][3].isEmpty());
    EXPECT_EQ(cell[5][0], "aa050Old");
    EXPECT_EQ(cell[1][4], "aa014Old");
    EXPECT_EQ(lobby.shell.questions.size(), 1u);

    lobby.receive(names("MM_aa010Ann MM_abFFFDan ") + End);
    EXPECT_EQ(cell[1][0], "aa010Ann");
    EXPECT_TRUE(cell[2][1].isEmpty());

    // Names of earlier lines of a reply keep their huts.
    lobby.receive(names("MM_aa000B2"));
    lobby.receive(names("MM_aa011B3"));
    EXPECT_EQ(cell[0][0], "aa000B2");
    EXPECT_EQ(cell[1][1], "aa011B3");
}

TEST(NamesReply, AReconnectStartsAFreshReply)
{
    ConnectedLobby lobby(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#chan"));
    lobby.receive(names("A1 A2"));
    lobby.transport.closeFromServer();
    lobby.client.ReConnect_Timer();
    lobby.transport.acceptConnection();
    lobby.receive(names("B1") + End);
    EXPECT_EQ(lobby.view.chatList, QStringList{"B1"});
}

} // namespace
