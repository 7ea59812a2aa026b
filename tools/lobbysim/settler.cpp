#include "settler.h"

#include "simplayer.h"

namespace {
constexpr int Rounds = 2;
constexpr int GiveUpMs = 60000;
constexpr int CheckMs = 100;
} // namespace

Settler::Settler(const std::vector<std::unique_ptr<SimPlayer>>& players, QObject* parent)
    : QObject(parent), m_players(players)
{
    m_timer.setInterval(CheckMs);
    connect(&m_timer, &QTimer::timeout, this, &Settler::check);
}

void Settler::settle(std::function<void()> then, std::function<bool(const SimPlayer&)> among)
{
    Wait& wait = m_waits.emplace_back();
    wait.among = std::move(among);
    wait.roundsLeft = Rounds;
    wait.deadline = QDeadlineTimer(GiveUpMs);
    wait.then = std::move(then);
    startRound(wait);
    m_timer.start();
    check();
}

void Settler::startRound(Wait& wait)
{
    wait.awaited.assign(m_players.size(), 0);
    wait.sessions.assign(m_players.size(), 0);
    for (size_t i = 0; i < m_players.size(); ++i) {
        SimPlayer& p = *m_players[i];
        if (wait.among && !wait.among(p))
            continue;
        const qint64 before = p.syncsAsked();
        p.askForSync();
        if (p.syncsAsked() > before)
            wait.awaited[i] = p.syncsAsked();
        wait.sessions[i] = p.session();
    }
}

bool Settler::roundDone(const Wait& wait) const
{
    for (size_t i = 0; i < m_players.size(); ++i) {
        const SimPlayer& p = *m_players[i];
        if (wait.awaited[i] > p.syncsAnswered() && p.session() == wait.sessions[i] &&
            p.client().socketState() == SocketState::Connected)
            return false;
    }
    return true;
}

void Settler::check()
{
    std::vector<std::function<void()>> done;
    for (auto it = m_waits.begin(); it != m_waits.end();) {
        const bool gaveUp = it->deadline.hasExpired();
        if (!gaveUp && !roundDone(*it)) {
            ++it;
        } else if (!gaveUp && --it->roundsLeft > 0) {
            startRound(*it);
            ++it;
        } else {
            done.push_back(std::move(it->then));
            it = m_waits.erase(it);
        }
    }
    if (m_waits.empty())
        m_timer.stop();
    // Last, as a callback may settle again.
    for (auto& then : done)
        then();
}
