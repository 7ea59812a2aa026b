// Crowds of simulated players on real ngIRCd servers: 200 in one lobby, and a
// lobby across two linked servers through a netsplit and a relink.
#include "lobbysim.h"
#include "rosterwatch.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <gtest/gtest.h>

namespace {

constexpr int Wait = 120000; // a crowd of 200 takes seconds to settle

// `count` players who do nothing by themselves, named `prefix` and a number,
// entering one after another as on a busy evening; added to `all`.
std::unique_ptr<LobbySim> crowdOn(const NgircdServer& server, const QString& prefix, int count,
                                  std::vector<SimPlayer*>& all,
                                  int reconnectMs = LobbyClient::ReconnectIntervalMs)
{
    SimOptions options;
    options.target = {server.host(), server.port(), QStringLiteral("#ZentharaNET_2")};
    options.players = count;
    options.namePrefix = prefix;
    options.behaviours = {};
    options.joinIntervalMs = 25;
    options.reconnectMs = reconnectMs;
    auto crowd = std::make_unique<LobbySim>(options);
    crowd->start();
    for (const auto& p : crowd->players())
        all.push_back(p.get());
    return crowd;
}

// The lobby of `players`, with the hut cells of those `seated`.
RosterSnapshot lobbyOf(const std::vector<SimPlayer*>& players, const std::vector<SimPlayer*>& seated)
{
    RosterSnapshot s;
    for (const SimPlayer* p : players)
        s.chatting << p->name();
    s.chatting.sort();
    s.userCount = int(players.size());
    for (const SimPlayer* p : seated)
        s.huts[size_t(4 * p->hut() + p->slot())] = p->state().MyNick.mid(3);
    return s;
}

// Whether every player `watch` follows comes to show `lobby`.
::testing::AssertionResult comeToShow(RosterWatch& watch, const RosterSnapshot& lobby)
{
    watch.expect(lobby);
    if (waitUntil([&] { return watch.allShow(); }, Wait))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << watch.differences().toStdString();
}

// On the server as the project ships it, flood penalties on.
TEST(CrowdedLobby, EveryRosterConvergesAfterABurstOfHutJoins)
{
    NgircdServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    std::vector<SimPlayer*> everyone;
    auto crowd = crowdOn(server, QStringLiteral("Crowd"), 200, everyone);
    RosterWatch watch(everyone);
    ASSERT_TRUE(comeToShow(watch, lobbyOf(everyone, {})));

    // Sixteen players, spread over the crowd, take the sixteen slots at once.
    std::vector<SimPlayer*> seated;
    for (int i = 0; i < 16; ++i) {
        seated.push_back(everyone[size_t(i * 12)]);
        seated.back()->client().Hut_Click(10 * (i / 4) + i % 4);
    }
    EXPECT_TRUE(comeToShow(watch, lobbyOf(everyone, seated)));
}

TEST(LinkedServers, OneLobbyAcrossTwoServersThroughANetsplitAndRelink)
{
    NgircdServer east;
    NgircdServer west;
    // West is stopped later, and dials: a server dials right after it starts,
    // but only every ConnectRetry seconds after losing a link it had dialed.
    west.linkTo(east);
    ASSERT_TRUE(east.start()) << east.errorString().toStdString();
    ASSERT_TRUE(west.start()) << west.errorString().toStdString();

    // Only the link lets the two crowds see each other. The west players'
    // reconnect tick never fires by itself: the test gives it.
    std::vector<SimPlayer*> everyone;
    auto eastCrowd = crowdOn(east, QStringLiteral("East"), 25, everyone);
    const std::vector<SimPlayer*> eastSide = everyone;
    auto westCrowd = crowdOn(west, QStringLiteral("West"), 25, everyone, 600000);
    RosterWatch all(everyone);
    RosterWatch eastWatch(eastSide);
    ASSERT_TRUE(comeToShow(all, lobbyOf(everyone, {})));

    // Four players of each side take a hut slot; everybody shows the same huts.
    std::vector<SimPlayer*> seated;
    for (int i = 0; i < 8; ++i) {
        seated.push_back(&(i % 2 ? *westCrowd : *eastCrowd).player(3 * i));
        seated.back()->client().Hut_Click(10 * (i / 2) + (i % 4));
    }
    const RosterSnapshot full = lobbyOf(everyone, seated);
    ASSERT_TRUE(comeToShow(all, full));

    // Netsplit: the east side loses every west player from lists and huts.
    west.stop();
    ASSERT_TRUE(comeToShow(eastWatch, lobbyOf(eastSide, {seated[0], seated[2], seated[4], seated[6]})));

    // West comes back and relinks, and its players reconnect: all 50 show the
    // lobby they had before the split, nicknames and huts unchanged.
    ASSERT_TRUE(west.start()) << west.errorString().toStdString();
    for (const auto& p : westCrowd->players())
        p->client().ReConnect_Timer();
    EXPECT_TRUE(comeToShow(all, full));
}

} // namespace
