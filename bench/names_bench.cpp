// Reading a names reply and rebuilding the lists and huts from it, against splitting the same
// list of names at its blanks.
#include "againstbaseline.h"

#include "benchtransport.h"

#include "simshell.h"
#include "simview.h"

#include "lobby/lobbyclient.h"

#include <QStringList>

namespace {

const QString MyNick = QStringLiteral("MM_aaFFFBenchmarker");
const QString Channel = QStringLiteral("#ZentharaNET_0");
// ngIRCd starts a new 353 line after about 470 characters: 16 lobby nicknames.
constexpr int NamesPerLine = 16;

// A lobby of `count` players, each nickname 28 characters long (the longest
// ngIRCd takes), with every status and some players in huts.
struct Lobby {
    QString list;  // the names, separated by blanks
    QString block; // the server's names reply: 353 lines and the closing 366

    explicit Lobby(int count)
    {
        static const char* const codes[] = {"aaFFF", "abFFF", "aa001", "acFFF",
                                            "aa012", "adFFF", "aa023", "aa030"};
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << QStringLiteral("MM_") + QLatin1String(codes[i % 8]) +
                         QStringLiteral("Player%1").arg(i, 14, 10, QLatin1Char('0'));
        list = names.join(u' ');
        const QString header = QStringLiteral(":irc.zen.test 353 ") + MyNick + QStringLiteral(" = ") +
                               Channel + QStringLiteral(" :");
        for (int i = 0; i < count; i += NamesPerLine)
            block += header + names.mid(i, NamesPerLine).join(u' ') + QStringLiteral("\r\n");
        block += QStringLiteral(":irc.zen.test 366 ") + MyNick + u' ' + Channel +
                 QStringLiteral(" :End of NAMES list\r\n");
    }
};

// What the client does with a read holding a whole names reply: every line
// read and the lists and huts rebuilt once.
struct Rebuild {
    BenchTransport transport;
    SimShell shell;
    SimView view;
    LobbyClient client{transport, shell, view};
    Declares& state = client.state();

    Rebuild()
    {
        state.MyNick = MyNick;
        state.CurrentChannel = Channel;
    }
    int operator()(const QString& block)
    {
        client.HandleInbound(block);
        return int(view.chatList().size() + view.playList().size());
    }
};

void NamesRebuildVsSplit(benchmark::State& state)
{
    const int count = int(state.range(0));
    const Lobby lobby(count);
    Rebuild rebuild;
    if (rebuild(lobby.block) != count || rebuild.state.UserCount != count) {
        state.SkipWithError("the rebuild does not list every name");
        return;
    }
    timeAgainstBaseline(
        state, [&] { benchmark::DoNotOptimize(rebuild(lobby.block)); },
        [&] {
            const QStringList parts = lobby.list.split(u' ');
            benchmark::DoNotOptimize(parts.size());
        },
        "names reply rebuild, " + std::to_string(count) + " names, vs QString::split", 3.0);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(NamesRebuildVsSplit)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void NamesRebuildGrowth(benchmark::State& state)
{
    const Lobby small(1000);
    const Lobby large(10000);
    Rebuild rebuild;
    timeGrowth(
        state, [&] { benchmark::DoNotOptimize(rebuild(small.block)); },
        [&] { benchmark::DoNotOptimize(rebuild(large.block)); },
        "names reply rebuild, 10000 names / 1000 names", 12.0);
}
BENCHMARK(NamesRebuildGrowth)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
