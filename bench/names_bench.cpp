// Rebuilding the lists and huts from a names reply, against splitting the same
// list of names at its blanks.
#include "againstbaseline.h"

#include "app/declares.h"
#include "irc/foldedtext.h"
#include "irc/serverline.h"
#include "lobby/roster.h"

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

// What the names step does with a read holding a whole names reply: each line
// parsed and its names taken, then the lists and huts rebuilt once. The tests
// every line runs through first are timed by the HandleInbound case.
struct Rebuild {
    Declares state;
    NamesReply reply;
    const QString foldedChannel = FoldedText::fold(Channel);

    int operator()(const QString& block)
    {
        QString folded;
        for (const QStringView line : QStringView(block).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringView text(line.data(), line.size() + 1); // with its LF
            FoldedText::fold(text, folded);
            const ServerLine parsed = ServerLine::parse(text, folded, foldedChannel);
            if (const QStringView names = parsed.namesList(foldedChannel); !names.isNull())
                reply.takeLine(names);
            else if (parsed.endsNames(foldedChannel))
                reply.end();
        }
        const RosterLists& lists = reply.rebuild(state).lists;
        const int shown = int(lists.chatting.size() + lists.playing.size());
        reply.reset();
        return shown;
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
