// 10,000 chat lines arriving at once into the real lobby window (drawn off
// screen), until the chat pane has drawn itself with all of them, against
// appending the same lines to the chat pane directly.
#include "benchtransport.h"
#include "figures.h"

#include "simshell.h"

#include "eventwait.h"

#include "ui/chatpane.h"
#include "ui/forms.h"
#include "ui/lobbywindow.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int Lines = 10000;
const QString Channel = QStringLiteral("#ZentharaNET_0");

// A transport the benchmark plays the server on.
class FeedTransport : public BenchTransport {
public:
    void deliver(const QByteArray& data) { emit received(data); }
};

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Lobby {
    FeedTransport transport;
    SimShell shell;
    Forms forms{transport, shell};
    ChatPane* pane = nullptr;
    std::unique_ptr<PaintCounter> painted;

    Lobby()
    {
        Declares& d = forms.client().state();
        d.MyNick = QStringLiteral("MM_aaFFFReader");
        d.CodeLetter = QStringLiteral("a");
        d.CurrentChannel = Channel;
        LobbyWindow* window = forms.lobby();
        pane = window->findChild<ChatPane*>(QStringLiteral("INCHAT"));
        window->show();
        painted = std::make_unique<PaintCounter>(pane->viewport());
        waitUntil([&] { return painted->paints > 0; }, 5000);
    }

    void clear() { pane->replaceText(QString()); }

    // Runs the event loop until the pane holds `lines` lines and has drawn
    // itself since they came.
    bool shown(int lines)
    {
        const int before = painted->paints;
        return waitUntil([&] { return pane->document()->blockCount() >= lines && painted->paints > before; },
                         30000);
    }
};

void ChatLinesIntoTheLobbyWindow(benchmark::State& state)
{
    Lobby lobby;
    if (!lobby.pane) {
        state.SkipWithError("the lobby window has no INCHAT");
        return;
    }
    // One line per received block: the lobby shows the first chat line of a
    // block, so a burst of lines is a burst of blocks.
    std::vector<QByteArray> received;
    QStringList shownLines;
    for (int i = 0; i < Lines; ++i) {
        const QString sender = QStringLiteral("Player%1").arg(i % 50, 2, 10, QLatin1Char('0'));
        const QString text = QStringLiteral("anyone up for a game in hut %1? line %2").arg(i % 4).arg(i);
        received.push_back((QStringLiteral(":MM_aaFFF") + sender + QStringLiteral("!~u@127.0.0.1 PRIVMSG ") +
                            Channel + QStringLiteral(" :") + text + QStringLiteral("\r\n"))
                               .toLatin1());
        shownLines << sender + QStringLiteral("> ") + text + QStringLiteral("\r\n");
    }

    using Clock = std::chrono::steady_clock;
    double subjectSeconds = 0, baselineSeconds = 0, toolkitSeconds = 0;
    for (auto _ : state) {
        lobby.clear();
        lobby.shown(1);
        auto t0 = Clock::now();
        for (const QByteArray& block : received)
            lobby.transport.deliver(block);
        if (!lobby.shown(Lines)) {
            state.SkipWithError("the lines did not all show");
            return;
        }
        auto t1 = Clock::now();
        subjectSeconds += std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());

        lobby.clear();
        lobby.shown(1);
        t0 = Clock::now();
        for (const QString& line : shownLines)
            lobby.pane->appendText(line);
        if (!lobby.shown(Lines)) {
            state.SkipWithError("the lines did not all show");
            return;
        }
        t1 = Clock::now();
        baselineSeconds += std::chrono::duration<double>(t1 - t0).count();

        // For the record: the toolkit's own append, without the pane's line
        // end handling and caret.
        lobby.clear();
        lobby.shown(1);
        t0 = Clock::now();
        for (const QString& line : shownLines)
            lobby.pane->appendPlainText(line.chopped(2));
        if (!lobby.shown(Lines)) {
            state.SkipWithError("the lines did not all show");
            return;
        }
        t1 = Clock::now();
        toolkitSeconds += std::chrono::duration<double>(t1 - t0).count();
    }
    const double iterations = double(state.iterations());
    state.counters["pane_ms"] = baselineSeconds / iterations * 1e3;
    state.counters["ratio"] = subjectSeconds / baselineSeconds;
    state.counters["plain_ms"] = toolkitSeconds / iterations * 1e3;
    const auto ms = [&](double seconds) { return QString::number(seconds / iterations * 1e3, 'f', 0); };
    Figures::report(
        "10000 chat lines into the lobby window, vs appending to the pane", subjectSeconds / baselineSeconds,
        2.0,
        (ms(subjectSeconds) + QStringLiteral(" ms vs ") + ms(baselineSeconds) + QStringLiteral(" ms"))
            .toStdString());
    Figures::report(
        "the pane's own append, vs QPlainTextEdit::appendPlainText", baselineSeconds / toolkitSeconds, 0,
        (ms(baselineSeconds) + QStringLiteral(" ms vs ") + ms(toolkitSeconds) + QStringLiteral(" ms"))
            .toStdString());
}
// A round takes seconds: a fixed three, short run or not.
BENCHMARK(ChatLinesIntoTheLobbyWindow)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
