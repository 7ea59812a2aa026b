// How fast a hut slot taken by one player shows at everybody else in a lobby
// of 50 on a local ngIRCd, and at everybody on the other servers in a lobby
// of 300 spread over three linked ones, against the protocol floor: the same
// exchange done by bare sockets on the same servers: one changes its nickname
// and asks for the names, every other one reads the NICK line.
#include "figures.h"
#include "floorclient.h"

#include "lobbysim.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// Clicks measured, and as many floor exchanges: ZEN_BENCH_CLICKS, at least 30.
int rounds()
{
    return qMax(30, qEnvironmentVariableIntValue("ZEN_BENCH_CLICKS") > 0
                        ? qEnvironmentVariableIntValue("ZEN_BENCH_CLICKS")
                        : 100);
}
constexpr int Wait = 20000;
constexpr int SetUpWait = 180000; // hundreds of players entering
// Every measured exchange starts from quiet connections, as a click in a real
// lobby does. Linux may hold back an ACK for up to 40 ms, and until it comes
// ngIRCd's next small line waits (Nagle): an exchange started sooner after the
// last one measures that wait, not the lobby.
constexpr qint64 QuietNs = 100'000'000;
const QString LobbyChannel = QStringLiteral("#ZentharaNET_0");
// Another channel of a name as long, so names replies are as long too.
const QByteArray FloorChannel = "#ZentharaNET_8";

// Nicknames as long on both sides: "MM_aa" + place + "Lobby01" / "Floor01".
QByteArray floorNick(int index, int hut, int slot)
{
    const QByteArray place =
        hut < 0 ? QByteArray("FFF") : "0" + QByteArray::number(hut) + QByteArray::number(slot);
    return "MM_aa" + place + "Floor" + QByteArray::number(index + 1).rightJustified(2, '0');
}

double percentile(std::vector<double> samples, double p)
{
    std::sort(samples.begin(), samples.end());
    // Nearest rank: with fewer than 100 samples, p99 is the largest.
    const size_t rank = size_t(std::ceil(p / 100.0 * double(samples.size())));
    return samples[std::max<size_t>(rank, 1) - 1];
}

struct Network {
    // Players and floor clients go to the servers in turn; the leaves link to the first.
    Network(int players, int servers) : players(players)
    {
        for (int s = 0; s < servers; ++s)
            this->servers.push_back(std::make_unique<NgircdServer>());
        for (int s = 1; s < servers; ++s)
            this->servers[size_t(s)]->linkTo(*this->servers.front());
    }

    // Whether `other` counts when `clicker` clicks: with several servers,
    // only the ones on other servers do.
    bool measured(int clicker, int other) const
    {
        const int n = int(servers.size());
        return other != clicker && (n == 1 || other % n != clicker % n);
    }

    const int players;
    std::vector<std::unique_ptr<NgircdServer>> servers;
    QElapsedTimer clock;
    std::unique_ptr<LobbySim> lobby;
    std::vector<std::unique_ptr<FloorClient>> floor;
    qint64 lobbyActivity = 0;
    QString error;

    // Runs the event loop until nothing has arrived anywhere for QuietNs.
    void quiet()
    {
        for (;;) {
            qint64 last = lobbyActivity;
            for (const auto& f : floor)
                last = std::max(last, f->lastActivity());
            const qint64 left = QuietNs - (clock.nsecsElapsed() - last);
            if (left <= 0)
                return;
            waitUntil([] { return false; }, int(left / 1'000'000) + 1);
        }
    }

    bool setUp()
    {
        SimOptions options;
        for (const auto& server : servers) {
            // What is timed is the clients, not the server's flood budget: with
            // penalties a player's own earlier lines can hold its NICK back by a second.
            server->setPenalties(false);
            // Two connections per player on its server (player and floor client).
            server->setFileLimit(servers.size() > 1 ? 2 * players / int(servers.size()) + 64 : 0);
            if (!server->start()) {
                error = server->errorString();
                return false;
            }
            options.servers.push_back({server->host(), server->port()});
        }
        clock.start();
        options.target.channel = LobbyChannel;
        options.players = players;
        options.namePrefix = QStringLiteral("Lobby");
        options.behaviours = {};
        options.joinIntervalMs = 10;
        lobby = std::make_unique<LobbySim>(options);
        lobby->createPlayers();
        for (const auto& p : lobby->players())
            QObject::connect(p.get(), &SimPlayer::blockHandled,
                             [this] { lobbyActivity = clock.nsecsElapsed(); });
        lobby->start();
        for (int i = 0; i < players; ++i) {
            floor.push_back(std::make_unique<FloorClient>(floorNick(i, -1, 0), FloorChannel, clock));
            floor.back()->start(servers[size_t(i) % servers.size()]->port());
        }
        const bool ready = waitUntil(
            [&] {
                return lobby->allSeeAll() && std::all_of(floor.begin(), floor.end(), [](const auto& f) {
                           return f->joined() || f->failed();
                       });
            },
            SetUpWait);
        if (!ready || std::any_of(floor.begin(), floor.end(), [](const auto& f) { return !f->joined(); })) {
            error = QStringLiteral("the lobby and the floor clients did not all join");
            return false;
        }
        return true;
    }

    // One floor exchange; the time until the last of the others measured has read the reply.
    std::optional<double> floorRound(int round)
    {
        const int clickerIndex = round % players;
        FloorClient& clicker = *floor[size_t(clickerIndex)];
        for (size_t i = 0; i < floor.size(); ++i) {
            if (floor[i].get() != &clicker)
                floor[i]->expectChange();
        }
        const bool intoHut = (round / players) % 2 == 0;
        const qint64 start = clock.nsecsElapsed();
        clicker.changeNick(floorNick(clickerIndex, intoHut ? (round % 16) / 4 : -1, round % 4));
        const auto allAnswered = [&] {
            return std::all_of(floor.begin(), floor.end(),
                               [&](const auto& f) { return f.get() == &clicker || f->answered(); });
        };
        if (!waitUntil(allAnswered, Wait))
            return std::nullopt;
        qint64 last = 0;
        for (int i = 0; i < players; ++i) {
            if (measured(clickerIndex, i))
                last = std::max(last, floor[size_t(i)]->answeredAt());
        }
        return double(last - start) / 1e6;
    }

    // One click on a free slot; the time until every other player measured
    // has the clicker in its hut table. Then the clicker leaves the hut again
    // and everybody is given time to see it.
    std::optional<double> lobbyRound(int round)
    {
        const int clickerIndex = round % players;
        SimPlayer& clicker = lobby->player(clickerIndex);
        const int hut = (round % 16) / 4;
        const int slot = round % 4;
        const auto othersSee = [&](const QString& cell) {
            for (const auto& p : lobby->players()) {
                if (p.get() != &clicker && p->state().HutTable[hut][slot] != cell)
                    return false;
            }
            return true;
        };
        if (!othersSee(QString()))
            return std::nullopt;

        const QString expected = QStringLiteral("aa0%1%2").arg(hut).arg(slot) + clicker.name();
        int seen = 0;
        std::vector<QMetaObject::Connection> watches;
        std::vector<qint64> hasAt(lobby->players().size(), -1);
        for (size_t i = 0; i < lobby->players().size(); ++i) {
            SimPlayer* p = lobby->players()[i].get();
            if (p == &clicker)
                continue;
            watches.push_back(QObject::connect(p, &SimPlayer::blockHandled, [&, p, i] {
                if (hasAt[i] < 0 && p->state().HutTable[hut][slot] == expected) {
                    hasAt[i] = clock.nsecsElapsed();
                    ++seen;
                }
            }));
        }
        const qint64 start = clock.nsecsElapsed();
        clicker.client().Hut_Click(10 * hut + slot);
        const bool done = waitUntil([&] { return seen == players - 1; }, Wait);
        for (const auto& w : watches)
            QObject::disconnect(w);
        if (!done)
            return std::nullopt;

        clicker.client().SEND_Click(QStringLiteral("/out"));
        if (!waitUntil([&] { return othersSee(QString()) && clicker.state().HutTable[hut][slot].isEmpty(); },
                       Wait))
            return std::nullopt;
        qint64 last = 0;
        for (int i = 0; i < players; ++i) {
            if (measured(clickerIndex, i))
                last = std::max(last, hasAt[size_t(i)]);
        }
        return double(last - start) / 1e6;
    }
};

// `players` over `servers` linked servers.
void propagation(benchmark::State& state, int players, int servers)
{
    Network net(players, servers);
    if (!net.setUp()) {
        state.SkipWithError(net.error.toStdString().c_str());
        return;
    }
    std::vector<double> lobbyMs;
    std::vector<double> floorMs;
    for (auto _ : state) {
        lobbyMs.clear();
        floorMs.clear();
        // Floor and lobby take turns, so both meet the same machine.
        const int clicks = rounds();
        for (int round = 0; round < clicks; ++round) {
            net.quiet();
            const auto f = net.floorRound(round);
            net.quiet();
            const auto l = net.lobbyRound(round);
            if (!f || !l) {
                state.SkipWithError(!f ? "a floor exchange did not complete"
                                       : "a hut click did not reach everybody");
                return;
            }
            floorMs.push_back(*f);
            lobbyMs.push_back(*l);
        }
        double total = 0;
        for (double ms : lobbyMs)
            total += ms;
        state.SetIterationTime(total / 1000.0);
    }
    const double p50 = percentile(lobbyMs, 50), p99 = percentile(lobbyMs, 99);
    const double f50 = percentile(floorMs, 50), f99 = percentile(floorMs, 99);
    state.counters["p50_ms"] = p50;
    state.counters["p99_ms"] = p99;
    state.counters["floor_p50_ms"] = f50;
    state.counters["floor_p99_ms"] = f99;
    state.counters["clicks"] = double(lobbyMs.size());
    const std::string crowd = servers == 1 ? std::to_string(players) + " players"
                                           : std::to_string(players) + " players on " +
                                                 std::to_string(servers) + " servers, to the other servers";
    Figures::report("propagation p50, " + crowd + ", vs raw-socket floor p50", p50 / f50, 0,
                    QStringLiteral("%1 ms vs %2 ms").arg(p50, 0, 'f', 2).arg(f50, 0, 'f', 2).toStdString());
    Figures::report("propagation p99, " + crowd + ", vs raw-socket floor p99", p99 / f99, 1.5,
                    QStringLiteral("%1 ms vs %2 ms, %3 clicks")
                        .arg(p99, 0, 'f', 2)
                        .arg(f99, 0, 'f', 2)
                        .arg(lobbyMs.size())
                        .toStdString());
}
void HutClickPropagation(benchmark::State& state)
{
    propagation(state, 50, 1);
}
void HutClickPropagationAcrossServers(benchmark::State& state)
{
    propagation(state, 300, 3);
}
// One iteration holds all the clicks; the library must not repeat the setup.
BENCHMARK(HutClickPropagation)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(HutClickPropagationAcrossServers)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
