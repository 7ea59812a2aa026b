#pragma once

#include "deliveryledger.h"
#include "freshnames.h"
#include "settler.h"
#include "simoptions.h"
#include "simplayer.h"
#include "wiremeter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class ServerRestart;

// A crowd of simulated players in one lobby, on one server or spread over
// several linked ones. start() lets them enter and, if the options give
// behaviours, makes one random player act every interval until the time is
// up. Tests and benchmarks use the players directly and call the actions
// themselves.
class LobbySim : public QObject {
    Q_OBJECT
public:
    struct Counts {
        int chat = 0;
        int hutClicks = 0;
        int launches = 0;
        int statusChanges = 0;
        int votes = 0;
    };

    explicit LobbySim(const SimOptions& options, QObject* parent = nullptr);
    ~LobbySim() override;

    const SimOptions& options() const { return m_options; }

    // Makes the players (if not made yet) and lets them enter; then acting
    // starts and, with a duration, finished() comes when it is over.
    void start();
    // No more actions; the players stay in the lobby.
    void stopActing();
    // Every player drops its connection.
    void leave();

    const std::vector<std::unique_ptr<SimPlayer>>& players() const { return m_players; }
    SimPlayer& player(int index) { return *m_players.at(size_t(index)); }
    // Makes the players without letting them enter.
    void createPlayers();

    // One action: a random player in the lobby does a random one of the
    // behaviours. False when nobody could act.
    bool act();
    // The actions themselves, for one player. False when it had nothing to do.
    bool chat(SimPlayer& player);
    bool takeSlot(SimPlayer& player);
    // The host clicks Launch; the members of its hut, as their own nicknames
    // place them now, are owed a joiner start.
    bool launch(SimPlayer& player);
    // The launch action: once the traffic has settled the host launches, and
    // the launch settles too; meanwhile only players outside the hut act.
    void launchWhenSettled(SimPlayer& host);
    bool changeStatus(SimPlayer& player);
    bool vote(SimPlayer& player);

    // Players that have not ended.
    int livePlayers() const;
    int playersInLobby() const;
    // Every live player is in the lobby and lists every live player.
    bool allSeeAll() const;
    // Every live player in the lobby shows the same lists and huts.
    bool rostersAgree() const;
    // A line saying where two rosters differ; empty when all agree.
    QString rosterDifference() const;

    // Lets the traffic settle (Settler), then runs `then`.
    // With `among`, only the players it holds for take part.
    void settle(std::function<void()> then, std::function<bool(const SimPlayer&)> among = {})
    {
        m_settler.settle(std::move(then), std::move(among));
    }
    // Players that have connected more than once.
    int reconnectedPlayers() const;

    // Every player in the lobby asks for the names once more; done() runs
    // when the replies are in and the summary says whether any lobby changed.
    void checkFreshNames(std::function<void()> done);
    const FreshNames& freshNames() const { return m_fresh; }
    WireMeter& wire() { return m_wire; }

    const DeliveryLedger& ledger() const { return m_ledger; }
    const Counts& counts() const { return m_counts; }
    // A few lines on what happened, for people.
    QString summary() const;

signals:
    // The time given by the options is up.
    void finished();

private:
    // How many players `holds`.
    template <typename Holds> int countPlayers(Holds holds) const;
    qint64 bytesReceived() const;
    int actionCount() const;
    SimPlayer* randomPlayerInLobby();
    SimPlayer* randomHost();
    void giveBots();
    void sayTrigger();
    void countBotAnswers(const QString& block);
    QString botLine() const;

    SimOptions m_options;
    std::vector<std::unique_ptr<SimPlayer>> m_players;
    QRandomGenerator m_random;
    QTimer m_actionTimer;
    QTimer m_joinTimer;
    QTimer m_endTimer;
    QTimer m_triggerTimer;
    QElapsedTimer m_clock;
    int m_entered = 0;
    int m_chatNumber = 0;
    bool m_stopped = false;
    // The hut whose launch is settling: its members sit still and nobody
    // takes a seat in it until the launch has reached them; -1 for none.
    int m_launchingHut = -1;
    Counts m_counts;
    DeliveryLedger m_ledger{m_players};
    Settler m_settler{m_players};
    WireMeter m_wire{[this] { return bytesReceived(); }, [this] { return actionCount(); }};
    FreshNames m_fresh;
    std::unique_ptr<ServerRestart> m_restart;
    // The mirrored bots' answers to the one trigger, as its sender received them.
    QElapsedTimer m_sinceTrigger;
    qint64 m_triggerWindowMs = -1;
    qint64 m_lastAnswerMs = -1;
    int m_botAnswers = 0;
};
