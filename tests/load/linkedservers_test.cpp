// Two ngIRCd servers linked on loopback, 25 players on each: one lobby across
// both, through a netsplit and a relink.
#include "lobbysim.h"
#include "rosterwatch.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <gtest/gtest.h>

namespace {

constexpr int Wait = 30000;

std::unique_ptr<LobbySim> crowdOn(const NgircdServer& server, const QString& names, int reconnectMs)
{
    SimOptions options;
    options.target = {server.host(), server.port(), QStringLiteral("#ZentharaNET_2")};
    options.players = 25;
    options.namePrefix = names;
    options.behaviours = {};
    options.reconnectMs = reconnectMs;
    auto sim = std::make_unique<LobbySim>(options);
    sim->createPlayers();
    return sim;
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
    auto eastCrowd = crowdOn(east, QStringLiteral("East"), LobbyClient::ReconnectIntervalMs);
    auto westCrowd = crowdOn(west, QStringLiteral("West"), 600000);
    std::vector<SimPlayer*> eastSide, everyone;
    for (const auto* crowd : {eastCrowd.get(), westCrowd.get()}) {
        for (const auto& p : crowd->players())
            everyone.push_back(p.get());
    }
    eastSide.assign(everyone.begin(), everyone.begin() + 25);
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
