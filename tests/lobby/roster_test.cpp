#include "fakelobby.h"

#include <gtest/gtest.h>

namespace {

QString names(const QString& list, const QString& channel = QStringLiteral("#chan"))
{
    return ":irc.zen.test 353 MM_aaFFFBob = " + channel + " :" + list + "\r\n";
}
const QString EndOfNames = QStringLiteral(":irc.zen.test 366 MM_aaFFFBob #chan :End of NAMES list\r\n");

// Bob in the lobby "#chan", connected.
struct Roster : ::testing::Test {
    ConnectedLobby lobby{QStringLiteral("MM_aaFFFBob"), QStringLiteral("#chan")};
    const QString& cell(int h, int s) { return lobby.d.HutTable[h][s]; }
    QStringList chat() const { return lobby.view.chatList; }
    QStringList play() const { return lobby.view.playList; }
};

TEST_F(Roster, DecodesEveryNameUpToTheLineEndAndTheDispatchGoesOn)
{
    lobby.receive(names("MM_aaFFFBob @MM_abFFFAnn MM_aa001Cid Dan") + EndOfNames +
                  chanMsg("MM_aaFFFCid", "#chan", "[ZENLNK] http://zen.test|||"));
    EXPECT_EQ(chat(), (QStringList{"Bob", "Cid", "Dan"}));
    EXPECT_EQ(play(), QStringList{"Ann"});
    EXPECT_EQ(cell(0, 1), "aa001Cid");
    EXPECT_EQ(lobby.d.UserCount, 4);
    EXPECT_EQ(lobby.shell.questions.size(), 1u);

    lobby.receive(names("MM_aaFFFBob") + EndOfNames);
    EXPECT_EQ(chat(), QStringList{"Bob"}) << "a player alone in the lobby sees himself";
    EXPECT_EQ(lobby.d.UserCount, 1);
}

TEST(RosterEntry, StatusDecidesListMarkAndHut)
{
    const struct {
        const char* entry;
        QStringList chat;
        QStringList play;
        int hut, slot; // the cell the entry fills, -1 for none
    } cases[] = {
        {"MM_acFFFAnn", {"(Away)Ann"}, {}, -1, -1},   {"MM_adFFFAnn", {"(BRB)Ann"}, {}, -1, -1},
        {"MM_ab021Ann", {}, {"Ann"}, -1, -1},         {"MM_ac021Ann", {"(Away)Ann"}, {}, -1, -1},
        {"MM_aa021Ann", {"Ann"}, {}, 2, 1},           {"@MM_aa033Ann", {"Ann"}, {}, 3, 3},
        {"MM_aa0A3Ann", {"Ann"}, {}, 10, 3},          {"MM_aa004Ann", {"Ann"}, {}, 0, 4},
        {"MM_aaFE0Ann", {"Ann"}, {}, 254, 0},         {"MM_aa025Ann", {"Ann"}, {}, -1, -1},
        {"MM_aa02EAnn", {"Ann"}, {}, -1, -1},         {"MM_aaFF0Ann", {"Ann"}, {}, -1, -1},
        {"MM_aa02FAnn", {"Ann"}, {}, -1, -1},         {"MM_ae021Ann", {"ae021Ann"}, {}, -1, -1},
        {"Dan", {"Dan"}, {}, -1, -1},                 {"mm_aa021Ann", {"mm_aa021Ann"}, {}, -1, -1},
        {"MM_za021Ann", {"Ann"}, {}, 2, 1}, // the code letter is not looked at
        // A voice mark stays, so the fields are read one position off.
        {"+MM_aa001Cid", {"1Cid"}, {}, 0, 0},         {"+MM_abFFFAnn", {"FAnn"}, {}, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        ConnectedLobby lobby(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#chan"));
        lobby.receive(names(QString::fromLatin1(c.entry) + ' ') + EndOfNames);
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

TEST_F(Roster, EachReplyRefillsTheShownHutsAndLaterNamesWin)
{
    lobby.d.HutTable[5][0] = QStringLiteral("aa050Old");
    lobby.d.HutTable[1][4] = QStringLiteral("aa014Old");
    lobby.d.HutTable[4][3] = QStringLiteral("aa043Old");
    lobby.receive(names("MM_aa010Ann MM_aa010Cid MM_aa021Dan ") + EndOfNames);
    EXPECT_EQ(cell(1, 0), "aa010Cid");
    EXPECT_EQ(cell(2, 1), "aa021Dan");
    EXPECT_TRUE(cell(4, 3).isEmpty());
    EXPECT_EQ(cell(5, 0), "aa050Old");
    EXPECT_EQ(cell(1, 4), "aa014Old");

    lobby.receive(names("MM_aa010Ann MM_abFFFDan ") + EndOfNames);
    EXPECT_EQ(cell(1, 0), "aa010Ann");
    EXPECT_TRUE(cell(2, 1).isEmpty());
    EXPECT_EQ(chat(), QStringList{"Ann"});
    EXPECT_EQ(play(), QStringList{"Dan"});
    EXPECT_EQ(lobby.d.UserCount, 2);
}

TEST_F(Roster, AReplyOfSeveralLinesIsGatheredUntilItsEnd)
{
    lobby.receive(names("A1 A2 ") + names("A3 A4") + EndOfNames);
    EXPECT_EQ(chat(), (QStringList{"A1", "A2", "A3", "A4"}));
    EXPECT_EQ(lobby.d.UserCount, 4);

    lobby.receive(names("B1 MM_aa000B2"));
    EXPECT_EQ(chat(), (QStringList{"B1", "B2"})) << "a 353 after the end starts a new reply";
    lobby.receive(names("MM_abFFFB3 B4"));
    EXPECT_EQ(chat(), (QStringList{"B1", "B2", "B4"}));
    EXPECT_EQ(play(), QStringList{"B3"});
    EXPECT_EQ(cell(0, 0), "aa000B2") << "names of earlier lines of the reply keep their huts";
    EXPECT_EQ(lobby.d.UserCount, 4);
    lobby.receive(names("B5") + EndOfNames);
    EXPECT_EQ(lobby.d.UserCount, 5);

    lobby.receive(names("C1") + EndOfNames);
    EXPECT_EQ(chat(), QStringList{"C1"});
    EXPECT_EQ(lobby.d.UserCount, 1);
}

TEST_F(Roster, AnEndOfNamesAloneOrBehindAJoinClosesTheReply)
{
    lobby.receive(names("A1 A2"));
    lobby.receive(EndOfNames);
    lobby.receive(names("B1") + EndOfNames);
    EXPECT_EQ(chat(), QStringList{"B1"});

    lobby.receive(names("C1 C2"));
    lobby.receive(EndOfNames + ":MM_aaFFFCid!c@h JOIN :#chan\r\n");
    EXPECT_EQ(lobby.sent(), QStringList{"NAMES #chan"});
    lobby.receive(names("C1 C2 MM_aaFFFCid") + EndOfNames);
    EXPECT_EQ(chat(), (QStringList{"C1", "C2", "Cid"}));
    EXPECT_EQ(lobby.d.UserCount, 3);
}

TEST_F(Roster, RepliesForAnotherChannelOrNicknameAreIgnored)
{
    const QString others[] = {
        names("X Y ", "#other"),
        names("X Y ", "#chan2"),
        ":irc 353 MM_aaFFFBob @ #chan :X Y \r\n",
        ":irc 353 MM_aaFFFAnn = #chan :X Y \r\n",
    };
    for (const QString& block : others) {
        lobby.receive(block);
        EXPECT_EQ(chat(), QStringList{"Getting User List..."}) << block.toStdString();
        EXPECT_EQ(lobby.d.UserCount, 0);
    }
    lobby.receive(names("A1 ") + names("X Y ", "#other") + names("A2") + EndOfNames);
    EXPECT_EQ(chat(), (QStringList{"A1", "A2"}));
}

TEST_F(Roster, ReconnectStartsAFreshReply)
{
    lobby.receive(names("A1 A2"));
    lobby.transport.closeFromServer();
    lobby.client.ReConnect_Timer();
    lobby.transport.acceptConnection();
    lobby.receive(names("B1") + EndOfNames);
    EXPECT_EQ(chat(), QStringList{"B1"});
}

} // namespace
