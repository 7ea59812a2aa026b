// lobbysim: its simulated players in a real lobby, and what its summary counts.
#include "lobbysim.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <gtest/gtest.h>

namespace {

// Four players that do nothing by themselves on a real server: what the
// summary counts as delivered is each chat line shown once and each joiner
// started once.
TEST(Lobbysim, DeliveredCountsEachChatLineShownOnceAndEachJoinerStartedOnce)
{
    NgircdServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    SimOptions options;
    options.target = {server.host(), server.port(), QStringLiteral("#ZentharaNET_1")};
    options.players = 4;
    options.behaviours = {};
    LobbySim sim(options);
    sim.start();
    ASSERT_TRUE(waitUntil([&] { return sim.allSeeAll(); }, 10000)) << sim.summary().toStdString();
    SimPlayer& host = sim.player(1);
    SimPlayer& member = sim.player(2);
    host.client().Hut_Click(20);
    member.client().Hut_Click(21);
    ASSERT_TRUE(sim.chat(sim.player(0)));
    // Both seated in their own eyes: the server has taken both seats before the launch.
    ASSERT_TRUE(waitUntil([&] { return host.hut() == 2 && member.hut() == 2; }, 10000));
    ASSERT_TRUE(sim.launch(host));
    bool settled = false;
    sim.settle([&] { settled = true; });
    ASSERT_TRUE(waitUntil([&] { return settled; }, 10000));
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
