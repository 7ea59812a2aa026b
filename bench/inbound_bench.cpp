// HandleInbound over big blocks of chat lines, against one case-insensitive
// search over the same block.
#include "againstbaseline.h"
#include "benchtransport.h"

#include "simshell.h"
#include "simview.h"

#include "lobby/lobbyclient.h"

namespace {

const QString Channel = QStringLiteral("#ZentharaNET_0");

// Chat lines of a busy lobby up to `bytes` characters. No line holds "ping"
// or a control tag, so the block takes the chat path and nothing else.
QString chatBlock(qsizetype bytes)
{
    QString block;
    block.reserve(bytes + 200);
    for (int i = 0; block.size() < bytes; ++i)
        block += QStringLiteral(":MM_aa0%1%2Player%3!~MM_aa@127.0.0.1 PRIVMSG ")
                     .arg(i % 4)
                     .arg(i % 4)
                     .arg(i % 50, 2, 10, QLatin1Char('0')) +
                 Channel + QStringLiteral(" :anyone up for a game in hut %1? line %2\r\n").arg(i % 4).arg(i);
    return block;
}

struct Client {
    BenchTransport transport;
    SimShell shell;
    SimView view;
    LobbyClient client{transport, shell, view};

    Client()
    {
        client.state().MyNick = QStringLiteral("MM_aaFFFBenchmarker");
        client.state().CurrentChannel = Channel;
        client.state().CodeLetter = QStringLiteral("a");
    }
};

void HandleInboundVsIndexOf(benchmark::State& state)
{
    const qsizetype bytes = state.range(0) * 1024;
    const QString block = chatBlock(bytes);
    Client c;
    c.client.HandleInbound(block);
    if (c.view.chatLines() != block.count(QStringLiteral("\r\n"))) {
        state.SkipWithError("not every line of the block reached the chat pane");
        return;
    }
    // The dispatcher's own search term; absent, so the whole block is read.
    const QString needle = QStringLiteral("[ZENLAUNCH");
    timeAgainstBaseline(
        state, [&] { c.client.HandleInbound(block); },
        [&] { benchmark::DoNotOptimize(block.indexOf(needle, 0, Qt::CaseInsensitive)); },
        "HandleInbound, " + std::to_string(state.range(0)) + " KiB of chat, vs one indexOf");
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(HandleInboundVsIndexOf)->Arg(64)->Arg(1024)->UseManualTime()->Unit(benchmark::kMicrosecond);

void HandleInboundGrowth(benchmark::State& state)
{
    const QString small = chatBlock(64 * 1024);
    const QString large = chatBlock(1024 * 1024);
    Client c;
    timeGrowth(
        state, [&] { c.client.HandleInbound(small); }, [&] { c.client.HandleInbound(large); },
        "HandleInbound, 1 MiB / 64 KiB", 20.0);
}
BENCHMARK(HandleInboundGrowth)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
