// lobbysim: the command line, and what its simulated players do in a real lobby.
#include "lobbysim.h"
#include "rostersnapshot.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QStringList args(std::initializer_list<const char*> words)
{
    QStringList list{QStringLiteral("lobbysim")};
    for (const char* w : words)
        list << QString::fromLatin1(w);
    return list;
}

TEST(LobbysimCommandLine, GoodCommandLinesGiveTheirOptions)
{
    struct Case {
        std::initializer_list<const char*> words;
        const char* channel;
        int players;
        Behaviours behaviours;
        const char* lastName;
    };
    const Case cases[] = {
        {{}, "#ZentharaNET_0", 10, Behaviour::Chat | Behaviour::Huts, "Sim10"},
        {{"-l", "8", "-n", "100"}, "#ZentharaNET_8", 100, Behaviour::Chat | Behaviour::Huts, "Sim100"},
        {{"--channel", "#ZenNETCLAN_Foo", "-n", "99"},
         "#ZenNETCLAN_Foo",
         99,
         Behaviour::Chat | Behaviour::Huts,
         "Sim99"},
        {{"-b", "all", "-n", "1"},
         "#ZentharaNET_0",
         1,
         Behaviour::Chat | Behaviour::Huts | Behaviour::Launch | Behaviour::Away | Behaviour::Vote,
         "Sim01"},
        {{"-b", "Vote, launch", "--names", "Bot"},
         "#ZentharaNET_0",
         10,
         Behaviour::Vote | Behaviour::Launch,
         "Bot10"},
        {{"-b", "none", "-n", "1000"}, "#ZentharaNET_0", 1000, Behaviours(), "Sim1000"},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = parseCommandLine(args(c.words));
        ASSERT_TRUE(parsed.options) << parsed.error.toStdString();
        const SimOptions& o = *parsed.options;
        EXPECT_EQ(o.target.channel, QString::fromLatin1(c.channel));
        EXPECT_EQ(o.players, c.players);
        EXPECT_EQ(o.behaviours, c.behaviours);
        EXPECT_EQ(o.playerName(o.players - 1), QString::fromLatin1(c.lastName));
        EXPECT_EQ(o.playerName(0).size(), o.playerName(o.players - 1).size()) << "names of one width";
    }
}

TEST(LobbysimCommandLine, BadCommandLinesSayWhy)
{
    struct Case {
        std::initializer_list<const char*> words;
        const char* errorPart;
    };
    const Case cases[] = {
        {{"-p", "0"}, "port"},
        {{"-p", "70000"}, "port"},
        {{"-l", "9"}, "lobby"},
        {{"-n", "0"}, "players"},
        {{"-n", "many"}, "players"},
        {{"-b", "chat,dance"}, "dance"},
        {{"-i", "-5"}, "whole numbers"},
        {{"--names", "Bad_Name"}, "login"},
        {{"--names", "AVeryLongPrefixOfNames"}, "login"},
        {{"--channel", "nohash"}, "#"},
        {{"--random", "x"}, "--random"},
        {{"surplus"}, "surplus"},
        {{"--unknown"}, "unknown"},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = parseCommandLine(args(c.words));
        EXPECT_FALSE(parsed.options) << c.errorPart;
        EXPECT_TRUE(parsed.error.contains(QString::fromLatin1(c.errorPart), Qt::CaseInsensitive))
            << parsed.error.toStdString();
    }
}

class LobbysimCrowd : public ::testing::Test {
protected:
    static constexpr int Wait = 10000;

    void SetUp() override
    {
        server.setFloodPenalties(false);
        ASSERT_TRUE(server.start()) << server.errorString().toStdString();
        SimOptions options;
        options.target = {server.host(), server.port(), QStringLiteral("#ZentharaNET_1")};
        options.players = 6;
        options.behaviours = {};
        sim = std::make_unique<LobbySim>(options);
        sim->start();
        ASSERT_TRUE(waitUntil([&] { return sim->allSeeAll(); }, Wait)) << sim->summary().toStdString();
    }

    // Every player but `except` satisfies `pred`.
    bool othersAll(const SimPlayer& except, const std::function<bool(const SimPlayer&)>& pred)
    {
        for (const auto& p : sim->players()) {
            if (p.get() != &except && !pred(*p))
                return false;
        }
        return true;
    }

    NgircdServer server;
    std::unique_ptr<LobbySim> sim;
};

TEST_F(LobbysimCrowd, ChatHutsAndStatusReachTheOthers)
{
    SimPlayer& talker = sim->player(0);
    ASSERT_TRUE(sim->chat(talker));
    EXPECT_TRUE(waitUntil(
        [&] {
            return othersAll(
                talker, [&](const SimPlayer& p) { return p.view().chat().contains(talker.name() + "> "); });
        },
        Wait));

    SimPlayer& seated = sim->player(1);
    ASSERT_TRUE(sim->takeSlot(seated));
    ASSERT_GE(seated.hut(), 0);
    const QString cell = seated.state().MyNick.mid(3);
    EXPECT_TRUE(waitUntil(
        [&] {
            return othersAll(seated, [&](const SimPlayer& p) {
                return p.state().HutTable[seated.hut()][seated.slot()] == cell;
            });
        },
        Wait));

    SimPlayer& away = sim->player(2);
    ASSERT_TRUE(sim->changeStatus(away));
    ASSERT_TRUE(away.status() == u'c' || away.status() == u'd');
    const QString marked =
        (away.status() == u'c' ? QStringLiteral("(Away)") : QStringLiteral("(BRB)")) + away.name();
    EXPECT_TRUE(waitUntil(
        [&] {
            return othersAll(away, [&](const SimPlayer& p) { return p.view().chatList().contains(marked); });
        },
        Wait));
    ASSERT_TRUE(sim->changeStatus(away));
    EXPECT_EQ(away.status(), u'a');
    EXPECT_TRUE(waitUntil([&] { return sim->rostersAgree(); }, Wait)) << sim->summary().toStdString();
}

TEST_F(LobbysimCrowd, OnlyAHostLaunchesAndAVoteReachesItsTarget)
{
    SimPlayer& host = sim->player(0);
    SimPlayer& guest = sim->player(1);
    host.client().Hut_Click(20);
    guest.client().Hut_Click(21);
    ASSERT_TRUE(waitUntil(
        [&] { return sim->rostersAgree() && !sim->player(5).state().HutTable[2][1].isEmpty(); }, Wait));

    EXPECT_FALSE(sim->launch(guest));
    EXPECT_TRUE(guest.shell().started().isEmpty());
    ASSERT_TRUE(sim->launch(host));
    ASSERT_EQ(host.shell().started().size(), 1);
    EXPECT_TRUE(
        host.shell().started()[0].startsWith(QStringLiteral("eaexec.exe zen3.exe /h tcp /n") + host.name()));
    EXPECT_EQ(host.status(), u'b');
    EXPECT_TRUE(waitUntil(
        [&] {
            return othersAll(host,
                             [&](const SimPlayer& p) { return p.view().playList().contains(host.name()); });
        },
        Wait));
    // Back from the game: chatting again.
    ASSERT_TRUE(sim->changeStatus(host));
    EXPECT_EQ(host.status(), u'a');
    // A vote that reaches a player in one block with a NICK line is not read
    // (the dispatch stops at the NICK): let the status change settle first.
    ASSERT_TRUE(waitUntil(
        [&] {
            return othersAll(host,
                             [&](const SimPlayer& p) { return p.view().chatList().contains(host.name()); });
        },
        Wait));

    SimPlayer& voter = sim->player(3);
    ASSERT_TRUE(sim->vote(voter));
    EXPECT_TRUE(waitUntil(
        [&] {
            for (const auto& p : sim->players()) {
                if (p->view().chat().contains(voter.name() + QStringLiteral(" Has Voted To Kick You")))
                    return true;
            }
            return false;
        },
        Wait));
    EXPECT_EQ(sim->livePlayers(), 6) << "one vote of six kicks nobody";
}

TEST_F(LobbysimCrowd, RandomActionsAreCountedAndTheCrowdSettles)
{
    // Without behaviours nobody acts.
    EXPECT_FALSE(sim->act());

    SimOptions busy = sim->options();
    busy.behaviours = Behaviour::Chat | Behaviour::Huts | Behaviour::Away;
    busy.namePrefix = QStringLiteral("Busy");
    LobbySim active(busy);
    active.start();
    ASSERT_TRUE(waitUntil([&] { return active.allSeeAll(); }, Wait));
    constexpr int Actions = 60;
    int done = 0;
    for (int i = 0; i < Actions; ++i)
        done += active.act() ? 1 : 0;

    const LobbySim::Counts& c = active.counts();
    EXPECT_EQ(done, Actions);
    EXPECT_EQ(c.chat + c.hutClicks + c.statusChanges, Actions);
    EXPECT_GT(c.chat, 0);
    EXPECT_GT(c.hutClicks, 0);
    EXPECT_GT(c.statusChanges, 0);
    EXPECT_EQ(c.launches + c.votes, 0);
    // Both crowds share the channel: all twelve settle on one picture, whose
    // lists are what the twelve nicknames say.
    std::vector<SimPlayer*> twelve;
    for (const LobbySim* crowd : {sim.get(), &active}) {
        for (const auto& p : crowd->players())
            twelve.push_back(p.get());
    }
    QStringList chatting, playing;
    const auto settled = [&] {
        chatting.clear();
        playing.clear();
        for (const SimPlayer* p : twelve) {
            const QChar status = p->status();
            if (status == u'b')
                playing << p->name();
            else
                chatting << (status == u'c'   ? QStringLiteral("(Away)")
                             : status == u'd' ? QStringLiteral("(BRB)")
                                              : QString()) +
                                p->name();
        }
        chatting.sort();
        playing.sort();
        const RosterSnapshot first = RosterSnapshot::of(*twelve.front());
        if (first.chatting != chatting || first.playing != playing || first.userCount != 12)
            return false;
        return std::all_of(twelve.begin(), twelve.end(),
                           [&](const SimPlayer* p) { return RosterSnapshot::of(*p) == first; });
    };
    EXPECT_TRUE(waitUntil(settled, Wait)) << active.summary().toStdString() << sim->summary().toStdString()
                                          << chatting.join(u',').toStdString();
    EXPECT_TRUE(active.summary().contains(QStringLiteral("in the lobby   6 of 6")))
        << active.summary().toStdString();
}

} // namespace
