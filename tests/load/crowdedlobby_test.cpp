// 200 players in one lobby on one server run from the shipped lobby server
// configuration: after a burst of hut joins every roster converges to the same
// content, with ngIRCd's flood penalties on (its default) and off. The times
// are printed for the record; only the bounded waits limit them.
#include "lobbysim.h"
#include "rosterwatch.h"
#include "shippedserver.h"

#include "eventwait.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr int Players = 200;
constexpr int Huts = 4;
constexpr int Slots = 4;
// Generous bounds: with penalties on, a crowd of 200 takes seconds to settle.
constexpr int EnterWait = 120000;
constexpr int SettleWait = 120000;
constexpr int JoinIntervalMs = 25;

class CrowdedLobby : public ::testing::TestWithParam<ShippedServer::Penalties> {
protected:
    static const char* penaltyName(ShippedServer::Penalties p)
    {
        return p == ShippedServer::Penalties::On ? "on" : "off";
    }
};

TEST_P(CrowdedLobby, EveryRosterConvergesAfterABurstOfHutJoins)
{
    ShippedServer server(GetParam());
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();

    SimOptions options;
    options.target = {QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("#ZentharaNET_4")};
    options.players = Players;
    options.namePrefix = QStringLiteral("Crowd");
    options.behaviours = {};
    // Players arrive one after another, as on a busy evening, not all in the
    // same millisecond: a join storm of 200 takes a minute with penalties on.
    options.joinIntervalMs = JoinIntervalMs;
    LobbySim sim(options);
    sim.createPlayers();
    std::vector<SimPlayer*> everyone;
    for (const auto& p : sim.players())
        everyone.push_back(p.get());
    RosterWatch watch(everyone);

    RosterSnapshot lobby;
    for (SimPlayer* p : everyone)
        lobby.chatting << p->name();
    lobby.chatting.sort();
    lobby.userCount = Players;
    watch.expect(lobby);

    QElapsedTimer clock;
    clock.start();
    sim.start();
    ASSERT_TRUE(waitUntil([&] { return watch.allShow(); }, EnterWait)) << watch.differences().toStdString();
    const qint64 enteredMs = clock.elapsed();

    // Sixteen players, spread over the crowd, take the sixteen slots at once.
    RosterSnapshot huts = lobby;
    for (int i = 0; i < Huts * Slots; ++i) {
        const int hut = i / Slots, slot = i % Slots;
        SimPlayer& p = sim.player(i * (Players / (Huts * Slots)));
        huts.huts[size_t(i)] = QStringLiteral("aa0%1%2").arg(hut).arg(slot) + p.name();
    }
    watch.expect(huts);
    clock.restart();
    for (int i = 0; i < Huts * Slots; ++i)
        sim.player(i * (Players / (Huts * Slots))).client().Hut_Click(10 * (i / Slots) + i % Slots);
    ASSERT_TRUE(waitUntil([&] { return watch.allShow(); }, SettleWait)) << watch.differences().toStdString();
    const qint64 settledMs = clock.elapsed();

    for (SimPlayer* p : everyone)
        EXPECT_FALSE(p->ended()) << p->name().toStdString();
    std::printf("[ figures  ] flood penalties %s: %d players entered and listed each other in %lld ms; "
                "after 16 hut joins at once every roster agreed in %lld ms\n",
                penaltyName(GetParam()), Players, static_cast<long long>(enteredMs),
                static_cast<long long>(settledMs));
    RecordProperty("entered_ms", int(enteredMs));
    RecordProperty("settled_ms", int(settledMs));
}

INSTANTIATE_TEST_SUITE_P(FloodPenalties, CrowdedLobby,
                         ::testing::Values(ShippedServer::Penalties::On, ShippedServer::Penalties::Off),
                         [](const auto& info) {
                             return info.param == ShippedServer::Penalties::On ? "On" : "Off";
                         });

} // namespace
