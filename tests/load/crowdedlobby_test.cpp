// 200 players in one lobby on one server run from the lobby server
// configuration the project ships: after a burst of hut joins every roster
// converges to the same content, with ngIRCd's flood penalties on (its
// default) and off. The times are reported; only the bounded waits limit them.
#include "lobbysim.h"
#include "rosterwatch.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr int Players = 200;
constexpr int Seats = 16;
// Generous: with penalties on, a crowd of 200 takes seconds to settle.
constexpr int Wait = 120000;

class CrowdedLobby : public ::testing::TestWithParam<bool> {};

TEST_P(CrowdedLobby, EveryRosterConvergesAfterABurstOfHutJoins)
{
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
    // Players arrive one after another, as on a busy evening: a join storm of
    // 200 in the same millisecond takes a minute with penalties on.
    options.joinIntervalMs = 25;
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

    QElapsedTimer clock;
    clock.start();
    sim.start();
    ASSERT_TRUE(waitUntil([&] { return watch.allShow(); }, Wait)) << watch.differences().toStdString();
    const qint64 enteredMs = clock.restart();

    // Sixteen players, spread over the crowd, take the sixteen slots at once.
    for (int i = 0; i < Seats; ++i) {
        SimPlayer& p = sim.player(i * (Players / Seats));
        expected.huts[size_t(i)] = QStringLiteral("aa0%1%2").arg(i / 4).arg(i % 4) + p.name();
        p.client().Hut_Click(10 * (i / 4) + i % 4);
    }
    watch.expect(expected);
    ASSERT_TRUE(waitUntil([&] { return watch.allShow(); }, Wait)) << watch.differences().toStdString();
    const qint64 settledMs = clock.elapsed();

    for (SimPlayer* p : everyone)
        EXPECT_FALSE(p->ended()) << p->name().toStdString();
    std::printf(
        "[ figures  ] flood penalties %s: %d players listed each other in %lld ms; after %d hut joins "
        "every roster agreed in %lld ms\n",
        GetParam() ? "on" : "off", Players, qint64(enteredMs), Seats, qint64(settledMs));
    RecordProperty("entered_ms", int(enteredMs));
    RecordProperty("settled_ms", int(settledMs));
}

INSTANTIATE_TEST_SUITE_P(FloodPenalties, CrowdedLobby, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

} // namespace
