// What the crowd's ledger counts as delivered, and to whom a line or a launch is owed.
#include "deliveryledger.h"

#include <gtest/gtest.h>

namespace {

// Three players; player 0 sends and launches. Sessions: -1 out of the lobby.
struct Crowd : DeliveryLedger::Crowd {
    std::vector<int> sessions{1, 1, 1};
    std::vector<QStringList> lines{3};
    int size() const override { return 3; }
    int sessionInLobby(int player) const override { return sessions[size_t(player)]; }
    const QStringList& started(int player) const override { return lines[size_t(player)]; }
};

struct ChatCase {
    const char* what;
    std::vector<int> atSend, atEnd;
    std::vector<int> timesShown; // by players 1 and 2
    qint64 shown, due;
};

TEST(DeliveryLedger, ChatIsOwedToWhoeverStayedFromSendingToTheEnd)
{
    const ChatCase cases[] = {
        {"shown once to each", {1, 1, 1}, {1, 1, 1}, {1, 1}, 2, 2},
        {"twice or never is lost", {1, 1, 1}, {1, 1, 1}, {2, 0}, 0, 2},
        {"came later, left before the end", {1, -1, 1}, {1, 1, -1}, {1, 1}, 0, 0},
        {"reconnected in between", {1, 1, 1}, {1, 2, 1}, {0, 1}, 1, 1},
        {"the sender reconnected", {1, 1, 1}, {2, 1, 1}, {1, 1}, 0, 0},
    };
    for (const ChatCase& c : cases) {
        SCOPED_TRACE(c.what);
        Crowd crowd;
        DeliveryLedger ledger(crowd);
        crowd.sessions = c.atSend;
        ledger.chatSent(0, QStringLiteral("Ann> hello (1)"));
        crowd.sessions = c.atEnd;
        for (int player : {1, 2}) {
            ledger.lineShown(player, u"Bob> hello (1)"); // nobody in the crowd sent this
            for (int n = 0; n < c.timesShown[size_t(player - 1)]; ++n)
                ledger.lineShown(player, u"Ann> hello (1)");
        }
        EXPECT_EQ(ledger.figures().chatShown, c.shown);
        EXPECT_EQ(ledger.figures().chatDue, c.due);
    }
}

struct LaunchCase {
    const char* what;
    QStringList afterFirst, afterSecond; // what player 1 starts after each launch
    int sessionAtEnd, hostSessionAtEnd;
    qint64 started, due;
};

TEST(DeliveryLedger, EachLaunchOwesItsMemberOneJoinerStart)
{
    const LaunchCase cases[] = {
        {"each once, in turn", {"join 1"}, {"join 2"}, 1, 1, 2, 2},
        {"the first started twice", {"join 1", "join 1"}, {"join 2"}, 1, 1, 1, 2},
        {"the first never, the second late", {}, {"join 1", "join 2"}, 1, 1, 1, 2},
        {"reconnected before the end", {"join 1"}, {"join 2"}, 2, 1, 0, 0},
        {"the host reconnected", {"join 1"}, {"join 2"}, 1, 2, 0, 0},
    };
    for (const LaunchCase& c : cases) {
        SCOPED_TRACE(c.what);
        Crowd crowd;
        DeliveryLedger ledger(crowd);
        ledger.launchDue(0, 1, QStringLiteral("join 1"));
        crowd.lines[1] << c.afterFirst;
        ledger.launchDue(0, 1, QStringLiteral("join 2"));
        crowd.lines[1] << c.afterSecond;
        crowd.sessions[1] = c.sessionAtEnd;
        crowd.sessions[0] = c.hostSessionAtEnd;
        EXPECT_EQ(ledger.figures().launchesStarted, c.started);
        EXPECT_EQ(ledger.figures().launchesDue, c.due);
    }
}

} // namespace
