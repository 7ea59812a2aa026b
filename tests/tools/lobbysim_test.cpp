// lobbysim: its command line, and its simulated players in a real lobby.
#include "lobbysim.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <gtest/gtest.h>

namespace {

TEST(Lobbysim, CommandLineGivesOptionsOrSaysWhy)
{
    struct Case {
        QStringList words;
        const char* channelOrError; // a channel for good lines, part of the error for bad ones
        int players;
        Behaviours behaviours;
    };
    const Case cases[] = {
        {{}, "#ZentharaNET_0", 10, Behaviour::Chat | Behaviour::Huts},
        {{"-l", "8", "-n", "100"}, "#ZentharaNET_8", 100, Behaviour::Chat | Behaviour::Huts},
        {{"-b", "Vote, launch"}, "#ZentharaNET_0", 10, Behaviour::Vote | Behaviour::Launch},
        {{"-p", "70000"}, "port", 0, {}},
        {{"--names", "Bad_Name"}, "login", 0, {}},
        {{"--bots", "chain"}, "bots", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words.join(u' ').toStdString());
        const ParsedCommandLine parsed = parseCommandLine(QStringList{QStringLiteral("lobbysim")} + c.words);
        if (c.players == 0) {
            EXPECT_FALSE(parsed.options);
            EXPECT_TRUE(parsed.error.contains(QString::fromLatin1(c.channelOrError), Qt::CaseInsensitive))
                << parsed.error.toStdString();
            continue;
        }
        ASSERT_TRUE(parsed.options) << parsed.error.toStdString();
        EXPECT_EQ(parsed.options->target.channel, QString::fromLatin1(c.channelOrError));
        EXPECT_EQ(parsed.options->players, c.players);
        EXPECT_EQ(parsed.options->behaviours, c.behaviours);
    }
}

// Four players that do nothing by themselves on a real server: what the
// summary counts as delivered is each chat line shown once and each joiner
// started once.
TEST(Lobbysim, DeliveredCountsEachChatLineShownOnceAndEachJoinerStartedOnce)
{
    NgircdServer server;
    server.setFloodPenalties(false);
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    SimOptions options;
    options.target = {server.host(), server.port(), QStringLiteral("#ZentharaNET_1")};
    options.players = 4;
    options.behaviours = {};
    LobbySim sim(options);
    sim.start();
    ASSERT_TRUE(waitUntil([&] { return sim.allSeeAll(); }, 10000)) << sim.summary().toStdString();
    const auto settle = [&] {
        bool settled = false;
        sim.settle([&] { settled = true; });
        return waitUntil([&] { return settled; }, 10000);
    };
    SimPlayer& host = sim.player(1);
    SimPlayer& member = sim.player(2);
    host.client().Hut_Click(20);
    member.client().Hut_Click(21);
    ASSERT_TRUE(sim.chat(sim.player(0)));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(sim.launch(host));
    ASSERT_TRUE(settle());
    EXPECT_TRUE(sim.summary().contains("\n  delivered      chat 100.0% (3 of 3), launches 100.0% (1 of 1)\n"))
        << sim.summary().toStdString();

    // Shown twice is not delivered, and neither is a game started twice.
    SimPlayer& other = sim.player(3);
    other.view().appendChat(other.view().chat().section("\r\n", -2, -2) + "\r\n");
    member.shell().startProgram(member.shell().started().value(0));
    EXPECT_TRUE(sim.summary().contains("\n  delivered      chat 66.6% (2 of 3), launches 0.0% (0 of 1)\n"))
        << sim.summary().toStdString();
}

} // namespace
