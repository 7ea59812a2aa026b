#include "fakelobby.h"

#include <gtest/gtest.h>

namespace {

QString names(const QString& list, const QString& channel = QStringLiteral("#chan"))
{
    return ":irc.zen.test 353 MM_aaFFFBob = " + channel + " :" + list + "\r\n";
}
const QString End = QStringLiteral(":irc.zen.test 366 MM_aaFFFBob #chan :End of NAMES list\r\n");
const QString None = QStringLiteral("Getting User List...");

struct Lobby : ConnectedLobby {
    Lobby() : ConnectedLobby(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#chan")) {}
    QString lists() const { return view.chatList.join(u',') + '/' + view.playList.join(u','); }
    QString huts() const
    {
        QStringList cells;
        for (const auto& hut : d.HutTable)
            for (const QString& cell : hut)
                cells << cell;
        return cells.join(u',') + ' ' + QString::number(d.UserCount);
    }
};

TEST(NamesReply, IsGatheredFromItsLinesUntilItsEndAndOnlyForThisChannelAndNickname)
{
    // lists: chatting/playing
    const std::tuple<QStringList, QString, int> cases[] = {
        {{names("MM_aaFFFBob @MM_abFFFAnn Dan") + End}, "Bob,Dan/Ann", 3},
        {{names("MM_aaFFFBob") + End}, "Bob/", 1},
        {{names("A1 A2 ") + names("A3 A4") + End}, "A1,A2,A3,A4/", 4},
        {{names("B1 B2"), names("MM_abFFFB3 B4")}, "B1,B2,B4/B3", 4}, // an open reply
        {{names("B1 B2"), names("B3 B4"), names("B5") + End}, "B1,B2,B3,B4,B5/", 5},
        {{names("A1") + End, names("B1 B2")}, "B1,B2/", 2}, // a line after the end starts anew
        {{names("A1 A2"), End, names("B1") + End}, "B1/", 1},
        {{names("A1 A2"), End + ":MM_aaFFFCid!c@h JOIN :#chan\r\n", names("C1") + End}, "C1/", 1},
        {{names("X Y ", "#other")}, None + '/' + None, 0},
        {{names("X Y ", "#chan2")}, None + '/' + None, 0},
        {{":irc 353 MM_aaFFFBob @ #chan :Xa Yb\r\n"}, "Xa,Yb/", 2}, // a secret channel
        // Numerics come to us only; ours may have changed while the reply was on its way.
        {{":irc 353 MM_aa010Bob = #chan :Xa Yb\r\n"}, "Xa,Yb/", 2},
        {{names("A1 A2"), ":irc 366 MM_aa010Bob #chan :End of NAMES list\r\n", names("B1")}, "B1/", 1},
        {{chanMsg("Eve", "#chan", "353 x = #chan :MM_aa000Fake")}, None + '/' + None, 0},
        {{names("A1 ") + names("X Y ", "#other") + names("A2") + End}, "A1,A2/", 2},
    };
    for (const auto& [reads, lists, count] : cases) {
        Lobby lobby;
        for (const QString& read : reads)
            lobby.receive(read);
        EXPECT_EQ(lobby.lists(), lists) << reads.join(u'|').toStdString();
        EXPECT_EQ(lobby.d.UserCount, count) << reads.join(u'|').toStdString();
    }
}

TEST(RosterEntry, StatusDecidesListMarkAndHut)
{
    // hut, slot: the cell the entry fills, -1 for none
    const std::tuple<const char*, const char*, int, int> cases[] = {
        {"MM_adFFFAnn", "(BRB)Ann/", -1, -1},
        {"MM_ab021Ann", "/Ann", -1, -1},
        {"MM_ac021Ann", "(Away)Ann/", -1, -1},
        {"MM_aa021Ann", "Ann/", 2, 1},
        {"@MM_aa033Ann", "Ann/", 3, 3},
        {"MM_aa0A3Ann", "Ann/", 10, 3},
        {"MM_aa004Ann", "Ann/", 0, 4},
        {"MM_aa021", "/", 2, 1}, // no name behind the code
        {"MM_aaFE0Ann", "Ann/", 254, 0},
        {"MM_aa025Ann", "Ann/", -1, -1},
        {"MM_aaFF0Ann", "Ann/", -1, -1},
        {"MM_ae021Ann", "ae021Ann/", -1, -1},
        {"Dan", "Dan/", -1, -1},
        {"mm_aa021Ann", "mm_aa021Ann/", -1, -1},
        {"MM_za021Ann", "Ann/", 2, 1}, // the code letter is not looked at
        // A voice mark stays, so the fields are read one position off.
        {"+MM_aa001Cid", "1Cid/", 0, 0},
    };
    for (const auto& [entry, lists, hut, slot] : cases) {
        SCOPED_TRACE(entry);
        Lobby lobby;
        lobby.receive(names(QString::fromLatin1(entry) + ' ') + End);
        EXPECT_EQ(lobby.lists(), lists);
        EXPECT_EQ(lobby.d.UserCount, 1);
        for (int h = 0; h < Declares::HutRows; ++h)
            for (int s = 0; s < Declares::HutSlots; ++s)
                EXPECT_EQ(lobby.d.HutTable[h][s], (h == hut && s == slot)
                                                      ? QString::fromLatin1(entry).remove('@').remove("MM_")
                                                      : QString())
                    << " cell " << h << "," << s;
    }
}

TEST(NamesReply, EachReplyRefillsTheShownHutsLaterNamesWinAndTheDispatchGoesOn)
{
    Lobby lobby;
    auto& cell = lobby.d.HutTable;
    cell[5][0] = QStringLiteral("aa050Old");
    cell[1][4] = QStringLiteral("aa014Old");
    cell[4][3] = QStringLiteral("aa043Old");
    cell[0][0] = QStringLiteral("aa000Old");
    lobby.receive(names("MM_aa010Ann MM_aa010Cid MM_aa021Dan ") + End +
                  chanMsg("MM_aaFFFCid", "#chan", "[ZENLNK] http://zen.test|||"));
    EXPECT_EQ(cell[1][0] + cell[2][1] + cell[4][3] + cell[0][0], "aa010Cidaa021Dan");
    EXPECT_EQ(cell[5][0] + cell[1][4], "aa050Oldaa014Old");
    EXPECT_EQ(lobby.shell.questions.size(), 1u);

    lobby.receive(names("MM_aa010Ann MM_abFFFDan ") + End);
    EXPECT_EQ(cell[1][0] + cell[2][1], "aa010Ann");

    // Names of earlier lines of a reply keep their huts.
    lobby.receive(names("MM_aa000B2"));
    lobby.receive(names("MM_aa011B3"));
    EXPECT_EQ(cell[0][0] + cell[1][1], "aa000B2aa011B3");

    // A reconnect starts a fresh reply.
    lobby.transport.closeFromServer();
    lobby.client.ReConnect_Timer();
    lobby.transport.acceptConnection();
    lobby.receive(names("C1") + End);
    EXPECT_EQ(lobby.lists(), "C1/");
}

// The lines that change the members change the kept list; the lists, huts and
// count are then what a names reply listing them in the server's order gives.
TEST(Members, FollowTheMembershipLinesInTheServersOrder)
{
    // Dee and the voiced Gus both claim hut 0, slot 0: the later name wins.
    const QString start = QStringLiteral("MM_aa000Dee MM_aaFFFCid MM_aa010Bea MM_aaFFFBob +MM_aa001Gus");
    const auto by = [](const char* nick, const char* rest) {
        return ":" + QString(nick) + "!u@h " + rest + "\r\n";
    };
    // after: the server's names list after the read; asks: whether NAMES goes out
    const std::tuple<QString, QString, bool> cases[] = {
        {by("Eve", "JOIN :#chan"), "Eve " + start, false},
        {by("Eve", "JOIN :#chan") + by("Eve", "NICK :MM_aa020Eve"), "MM_aa020Eve " + start, false},
        {by("MM_aa010Ann", "JOIN :#chan"), "MM_aa010Ann " + start, false},
        {by("MM_aa052Fay", "JOIN :#chan"), "MM_aa052Fay " + start, false},
        {by("MM_aaFFFCid", "PART #chan :bye"), "MM_aa000Dee MM_aa010Bea MM_aaFFFBob +MM_aa001Gus", false},
        {by("MM_aaFFFBob", "KICK #chan mm_aafffcid :out"), "MM_aa000Dee MM_aa010Bea MM_aaFFFBob +MM_aa001Gus",
         false},
        {by("MM_aa000Dee", "QUIT :gone"), "MM_aaFFFCid MM_aa010Bea MM_aaFFFBob +MM_aa001Gus", false},
        {by("mm_aa001gus", "PART #chan"), "MM_aa000Dee MM_aaFFFCid MM_aa010Bea MM_aaFFFBob", false},
        {by("MM_aa001Gus", "NICK :MM_acFFFGus"),
         "MM_aa000Dee MM_aaFFFCid MM_aa010Bea MM_aaFFFBob +MM_acFFFGus", false},
        {by("MM_aa010Bea", "NICK :MM_aa000Bea"),
         "MM_aa000Dee MM_aaFFFCid MM_aa000Bea MM_aaFFFBob +MM_aa001Gus", false},
        {by("MM_aa000Dee", "NICK :MM_aa010Dee"),
         "MM_aa010Dee MM_aaFFFCid MM_aa010Bea MM_aaFFFBob +MM_aa001Gus", false},
        {by("MM_aaFFFBob", "NICK MM_ab011Bob"),
         "MM_aa000Dee MM_aaFFFCid MM_aa010Bea MM_ab011Bob +MM_aa001Gus", false},
        {by("MM_aaFFFCid", "PART #chan") + by("MM_aaFFFCid", "JOIN #chan"),
         "MM_aaFFFCid MM_aa000Dee MM_aa010Bea MM_aaFFFBob +MM_aa001Gus", false},
        {by("Eve", "JOIN :#other") + by("MM_aaFFFCid", "PART #other") + by("Eve", "KICK #other Cid"), start,
         false},
        // Lines the kept list cannot follow ask for the names, once a read.
        {by("Zed", "QUIT :x") + by("Zed", "NICK :Zod") + by("Zed", "PART #chan"), start, true},
        {by("MM_aa000Dee", "JOIN :#chan"), start, true},
        {":irc MODE #chan +v MM_aaFFFCid\r\n", start, true},
        {names("X1"), "X1", false},
        {names("X1 MM_aaFFFCid") + End + by("MM_aaFFFCid", "NICK :MM_aa030Cid"), "X1 MM_aa030Cid", false},
        {names("X1") + by("Eve", "JOIN :#chan"), "X1", true}, // a reply that never ended
    };
    for (const auto& [read, after, asks] : cases) {
        SCOPED_TRACE(read.toStdString());
        Lobby lobby, fresh;
        lobby.receive(names("@" + start) + End);
        // The lists the window holds are those of the members from now on.
        lobby.receive(by("Zed", "JOIN :#chan") + by("Zed", "PART #chan"));
        lobby.sent();
        lobby.receive(read);
        fresh.receive(names(after) + End);
        EXPECT_EQ(lobby.lists(), fresh.lists());
        EXPECT_EQ(lobby.huts(), fresh.huts());
        EXPECT_EQ(lobby.sent(), asks ? QStringList{"NAMES #chan"} : QStringList{});
    }
}

} // namespace
