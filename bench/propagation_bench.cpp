// How fast a hut slot taken by one player shows at everybody else in a lobby
// of 50 on a local ngIRCd, against the protocol floor: the same exchange done
// by bare sockets (NICK change seen, NAMES asked, reply read).
#include "figures.h"
#include "floorclient.h"

#include "lobbysim.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int Players = 50;
// Clicks measured, and as many floor exchanges: ZEN_BENCH_CLICKS, at least 30.
int rounds()
{
    return qMax(30, qEnvironmentVariableIntValue("ZEN_BENCH_CLICKS") > 0
                        ? qEnvironmentVariableIntValue("ZEN_BENCH_CLICKS")
                        : 100);
}
constexpr int Wait = 20000;
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
    NgircdServer server;
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
        server.setPenalties(false); // what is timed is the clients, not the server's budget
        if (!server.start()) {
            error = server.errorString();
            return false;
        }
        clock.start();
        SimOptions options;
        options.target = {server.host(), server.port(), LobbyChannel};
        options.players = Players;
        options.namePrefix = QStringLiteral("Lobby");
        options.behaviours = {};
        lobby = std::make_unique<LobbySim>(options);
        lobby->createPlayers();
        for (const auto& p : lobby->players())
            QObject::connect(p.get(), &SimPlayer::blockHandled,
                             [this] { lobbyActivity = clock.nsecsElapsed(); });
        lobby->start();
        for (int i = 0; i < Players; ++i) {
            floor.push_back(std::make_unique<FloorClient>(floorNick(i, -1, 0), FloorChannel, clock));
            floor.back()->start(server.port());
        }
        const bool ready = waitUntil(
            [&] {
                return lobby->allSeeAll() && std::all_of(floor.begin(), floor.end(), [](const auto& f) {
                           return f->joined() || f->failed();
                       });
            },
            Wait);
        if (!ready || std::any_of(floor.begin(), floor.end(), [](const auto& f) { return !f->joined(); })) {
            error = QStringLiteral("the lobby and the floor clients did not all join");
            return false;
        }
        return true;
    }

    // One floor exchange; the time until the last of the others has read the reply.
    std::optional<double> floorRound(int round)
    {
        FloorClient& clicker = *floor[size_t(round % Players)];
        for (size_t i = 0; i < floor.size(); ++i) {
            if (floor[i].get() != &clicker)
                floor[i]->expectChange();
        }
        const bool intoHut = (round / Players) % 2 == 0;
        const qint64 start = clock.nsecsElapsed();
        clicker.changeNick(floorNick(round % Players, intoHut ? (round % 16) / 4 : -1, round % 4));
        const auto allAnswered = [&] {
            return std::all_of(floor.begin(), floor.end(),
                               [&](const auto& f) { return f.get() == &clicker || f->answered(); });
        };
        if (!waitUntil(allAnswered, Wait))
            return std::nullopt;
        qint64 last = 0;
        for (const auto& f : floor) {
            if (f.get() != &clicker)
                last = std::max(last, f->answeredAt());
        }
        return double(last - start) / 1e6;
    }

    // One click on a free slot; the time until every other player's hut
    // table holds the clicker in it. Then the clicker leaves the hut again and
    // everybody is given time to see it.
    std::optional<double> lobbyRound(int round)
    {
        SimPlayer& clicker = lobby->player(round % Players);
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
        qint64 last = 0;
        int seen = 0;
        std::vector<QMetaObject::Connection> watches;
        std::vector<bool> has(lobby->players().size(), false);
        for (size_t i = 0; i < lobby->players().size(); ++i) {
            SimPlayer* p = lobby->players()[i].get();
            if (p == &clicker)
                continue;
            watches.push_back(QObject::connect(p, &SimPlayer::blockHandled, [&, p, i] {
                if (!has[i] && p->state().HutTable[hut][slot] == expected) {
                    has[i] = true;
                    ++seen;
                    last = clock.nsecsElapsed();
                }
            }));
        }
        const qint64 start = clock.nsecsElapsed();
        clicker.client().Hut_Click(10 * hut + slot);
        const bool done = waitUntil([&] { return seen == Players - 1; }, Wait);
        for (const auto& w : watches)
            QObject::disconnect(w);
        if (!done)
            return std::nullopt;

        clicker.client().SEND_Click(QStringLiteral("/out"));
        if (!waitUntil([&] { return othersSee(QString()) && clicker.state().HutTable[hut][slot].isEmpty(); },
                       Wait))
            return std::nullopt;
        return double(last - start) / 1e6;
    }
};

void HutClickPropagation(benchmark::State& state)
{
    Network net;
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
    const std::string n = std::to_string(lobbyMs.size());
    Figures::report("propagation p50, 50 players, vs raw-socket floor p50", p50 / f50, 0,
                    QStringLiteral("%1 ms vs %2 ms").arg(p50, 0, 'f', 2).arg(f50, 0, 'f', 2).toStdString());
    Figures::report("propagation p99, 50 players, vs raw-socket floor p99", p99 / f99, 1.5,
                    QStringLiteral("%1 ms vs %2 ms, %3 clicks")
                        .arg(p99, 0, 'f', 2)
                        .arg(f99, 0, 'f', 2)
                        .arg(lobbyMs.size())
                        .toStdString());
}
// One iteration holds all the clicks; the library must not repeat the setup.
BENCHMARK(HutClickPropagation)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
