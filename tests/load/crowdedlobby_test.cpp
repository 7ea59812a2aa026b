// 200 players in one lobby on a server run from the configuration the project
// ships: after a burst of hut joins every roster converges to the same
// content, with ngIRCd's flood penalties on (its default) and off.
#include "lobbysim.h"
#include "rosterwatch.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

class CrowdedLobby : public ::testing::TestWithParam<bool> {};

TEST_P(CrowdedLobby, EveryRosterConvergesAfterABurstOfHutJoins)
{
    constexpr int Players = 200;
    constexpr int Wait = 120000; // with penalties on, a crowd of 200 takes seconds to settle
    QFile shipped(QStringLiteral(ZEN_SOURCE_DIR "/server/ngircd.conf"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    NgircdServer server;
    server.setBaseConfig(shipped.readAll());
    server.setFloodPenalties(GetParam());
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();

    SimOptions options;
    options.target = {server.host(), server.port(), QStringLiteral("#ZentharaNET_4")};
    options.players = Players;
    options.namePrefix = QStringLiteral("Crowd");
    options.behaviours = {};
    options.joinIntervalMs = 25; // one after another, as on a busy evening
    LobbySim sim(options);
    sim.createPlayers();
    std::vector<SimPlayer*> everyone;
    RosterSnapshot expected;
    for (const auto& p : sim.players()) {
        everyone.push_back(p.get());
        expected.chatting << p->name();
    }
    expected.chatting.sort();
    expected.userCount = Players;
    RosterWatch watch(everyone);
    watch.expect(expected);
    sim.start();
    ASSERT_TRUE(waitUntil([&] { return watch.allShow(); }, Wait)) << watch.differences().toStdString();

    // Sixteen players, spread over the crowd, take the sixteen slots at once.
    for (int i = 0; i < 16; ++i) {
        SimPlayer& p = *everyone[size_t(i * (Players / 16))];
        expected.huts[size_t(i)] = QStringLiteral("aa0%1%2").arg(i / 4).arg(i % 4) + p.name();
        p.client().Hut_Click(10 * (i / 4) + i % 4);
    }
    watch.expect(expected);
    ASSERT_TRUE(waitUntil([&] { return watch.allShow(); }, Wait)) << watch.differences().toStdString();
    for (SimPlayer* p : everyone)
        EXPECT_FALSE(p->ended()) << p->name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(FloodPenalties, CrowdedLobby, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

} // namespace
