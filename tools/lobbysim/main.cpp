// lobbysim: fills a lobby with simulated players, for trying the program and
// as load for tests. Every player is a whole lobby client without windows.
#include "lobbysim.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <csignal>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

// After acting and its traffic have settled, the rosters get this long to agree.
constexpr int SettleMs = 5000;
constexpr int SettleCheckMs = 100;

volatile std::sig_atomic_t interrupted = 0;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lobbysim"));

    const ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments());
    if (!parsed.options) {
        QTextStream(stderr) << "lobbysim: " << parsed.error << "\n(try --help)\n";
        return 2;
    }
    LobbySim sim(*parsed.options);

    // Ctrl+C ends the run as its time would (the handler only sets a flag).
    std::signal(SIGINT, [](int) { interrupted = 1; });
    QTimer interruptCheck;
    interruptCheck.setInterval(SettleCheckMs);
    QObject::connect(&interruptCheck, &QTimer::timeout, &app, [&] {
        if (interrupted) {
            interruptCheck.stop();
            emit sim.finished();
        }
    });
    interruptCheck.start();

    QTimer settleCheck;
    settleCheck.setInterval(SettleCheckMs);
    QElapsedTimer settling;
    QObject::connect(&sim, &LobbySim::finished, &app, [&] {
        interruptCheck.stop();
        sim.stopActing();
        // Everything sent has arrived; the last names replies may still be on their way.
        sim.settle([&] {
            sim.wire().end();
            settling.start();
            settleCheck.start();
        });
    });
    QObject::connect(&settleCheck, &QTimer::timeout, &app, [&] {
        if (!sim.rostersAgree() && settling.elapsed() < SettleMs)
            return;
        settleCheck.stop();
        sim.checkFreshNames([&] {
            out() << sim.summary();
            out().flush();
            const bool anyoneIn = sim.playersInLobby() > 0;
            sim.leave();
            app.exit(anyoneIn ? 0 : 1);
        });
    });

    out() << "lobbysim: " << parsed.options->players << " players entering " << parsed.options->target.channel
          << " on " << parsed.options->serverList() << '\n';
    out().flush();
    sim.start();
    return app.exec();
}
