// Crowds of simulated players on real ngIRCd servers: 200 in one lobby, and a
// lobby across two linked servers through a netsplit and a relink.
#include "lobbysim.h"
#include "rosterwatch.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

constexpr int Wait = 120000; // with penalties on, a crowd of 200 takes seconds to settle

// `players` who do nothing by themselves, named `prefix` and a number, made but not entered.
std::unique_ptr<LobbySim> crowdOn(const NgircdServer& server, const QString& prefix, int players,
                                  int reconnectMs = LobbyClient::ReconnectIntervalMs)
{
    SimOptions options;
    options.target = {server.host(), server.port(), QStringLiteral("#ZentharaNET_2")};
    options.players = players;
    options.namePrefix = prefix;
    options.behaviours = {};
    options.joinIntervalMs = 25; // one after another, as on a busy evening
    options.reconnectMs = reconnectMs;
    auto sim = std::make_unique<LobbySim>(options);
    sim->createPlayers();
    return sim;
}

std::vector<SimPlayer*> playersOf(std::initializer_list<const LobbySim*> crowds)
{
    std::vector<SimPlayer*> all;
    for (const LobbySim* crowd : crowds) {
        for (const auto& p : crowd->players())
            all.push_back(p.get());
    }
    return all;
}

// The lobby of `players`, with the hut cells of those of them `seated`.
RosterSnapshot lobbyOf(const std::vector<SimPlayer*>& players, const std::vector<SimPlayer*>& seated)
{
    RosterSnapshot s;
    for (const SimPlayer* p : players)
        s.chatting << p->name();
    s.chatting.sort();
    s.userCount = int(players.size());
    for (const SimPlayer* p : seated) {
        if (std::find(players.begin(), players.end(), p) != players.end())
            s.huts[size_t(4 * p->hut() + p->slot())] = p->state().MyNick.mid(3);
    }
    return s;
}

// A server run from the configuration the project ships, with ngIRCd's flood
// penalties on (its default) and off.
class CrowdedLobby : public ::testing::TestWithParam<bool> {};

TEST_P(CrowdedLobby, EveryRosterConvergesAfterABurstOfHutJoins)
{
    QFile shipped(QStringLiteral(ZEN_SOURCE_DIR "/server/ngircd.conf"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    NgircdServer server;
    server.setBaseConfig(shipped.readAll());
    server.setFloodPenalties(GetParam());
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    auto crowd = crowdOn(server, QStringLiteral("Crowd"), 200);
    const std::vector<SimPlayer*> everyone = playersOf({crowd.get()});
    RosterWatch watch(everyone);
    watch.expect(lobbyOf(everyone, {}));
    crowd->start();
    ASSERT_TRUE(waitUntil([&] { return watch.allShow(); }, Wait)) << watch.differences().toStdString();

    // Sixteen players, spread over the crowd, take the sixteen slots at once.
    std::vector<SimPlayer*> seated;
    for (int i = 0; i < 16; ++i) {
        seated.push_back(everyone[size_t(i * 12)]);
        seated.back()->client().Hut_Click(10 * (i / 4) + i % 4);
    }
    watch.expect(lobbyOf(everyone, seated));
    ASSERT_TRUE(waitUntil([&] { return watch.allShow(); }, Wait)) << watch.differences().toStdString();
    for (SimPlayer* p : everyone)
        EXPECT_FALSE(p->ended()) << p->name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(FloodPenalties, CrowdedLobby, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

TEST(LinkedServers, OneLobbyAcrossTwoServersThroughANetsplitAndRelink)
{
    NgircdServer east;
    NgircdServer west;
    east.setFloodPenalties(false);
    west.setFloodPenalties(false);
    // West is stopped later, and dials: a server dials right after it starts,
    // but only every ConnectRetry seconds after losing a link it had dialed.
    west.linkTo(east);
    ASSERT_TRUE(east.start()) << east.errorString().toStdString();
    ASSERT_TRUE(west.start()) << west.errorString().toStdString();

    // Only the link lets the two crowds see each other. The west players'
    // reconnect tick never fires by itself: the test gives it.
    auto eastCrowd = crowdOn(east, QStringLiteral("East"), 25);
    auto westCrowd = crowdOn(west, QStringLiteral("West"), 25, 600000);
    const std::vector<SimPlayer*> eastSide = playersOf({eastCrowd.get()});
    const std::vector<SimPlayer*> everyone = playersOf({eastCrowd.get(), westCrowd.get()});
    RosterWatch all(everyone);
    RosterWatch eastWatch(eastSide);
    all.expect(lobbyOf(everyone, {}));
    eastCrowd->start();
    westCrowd->start();
    ASSERT_TRUE(waitUntil([&] { return all.allShow(); }, Wait)) << all.differences().toStdString();

    // Four players of each side take a hut slot; everybody shows the same huts.
    std::vector<SimPlayer*> seated;
    for (int i = 0; i < 8; ++i) {
        SimPlayer& p = (i % 2 ? *westCrowd : *eastCrowd).player(3 * i);
        p.client().Hut_Click(10 * (i / 2) + (i % 4));
        seated.push_back(&p);
    }
    const RosterSnapshot full = lobbyOf(everyone, seated);
    all.expect(full);
    ASSERT_TRUE(waitUntil([&] { return all.allShow(); }, Wait)) << all.differences().toStdString();

    // Netsplit: the east side loses every west player from lists and huts;
    // the west players are disconnected, not ended.
    eastWatch.expect(lobbyOf(eastSide, seated));
    west.stop();
    ASSERT_TRUE(waitUntil([&] { return eastWatch.allShow(); }, Wait))
        << eastWatch.differences().toStdString();
    for (const auto& p : westCrowd->players()) {
        EXPECT_EQ(p->client().socketState(), SocketState::Closing) << p->name().toStdString();
        EXPECT_FALSE(p->ended()) << p->name().toStdString();
    }

    // West comes back and relinks, and its players reconnect: all 50 show the
    // lobby they had before the split, nicknames and huts unchanged.
    ASSERT_TRUE(west.start()) << west.errorString().toStdString();
    all.expect(full);
    for (const auto& p : westCrowd->players())
        p->client().ReConnect_Timer();
    ASSERT_TRUE(waitUntil([&] { return all.allShow(); }, Wait)) << all.differences().toStdString();
    for (SimPlayer* p : everyone) {
        EXPECT_FALSE(p->ended()) << p->name().toStdString();
        EXPECT_TRUE(p->shell().messages().isEmpty()) << p->name().toStdString();
    }
}

} // namespace
