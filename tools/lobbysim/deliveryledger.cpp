#include "deliveryledger.h"

#include "simplayer.h"

#include <cmath>

namespace {
// Rounded down, so only a complete delivery reads 100.0%.
QString percent(qint64 done, qint64 due)
{
    const double value = due == 0 ? 100.0 : std::floor(1000.0 * double(done) / double(due)) / 10.0;
    return QString::number(value, 'f', 1) + u'%';
}
class SimCrowd : public DeliveryLedger::Crowd {
public:
    explicit SimCrowd(const std::vector<std::unique_ptr<SimPlayer>>& players) : m_players(players) {}
    int size() const override { return int(m_players.size()); }
    int sessionInLobby(int player) const override
    {
        const SimPlayer& p = *m_players[size_t(player)];
        return p.inLobby() ? p.session() : -1;
    }
    const QStringList& started(int player) const override
    {
        return m_players[size_t(player)]->shell().started();
    }

private:
    const std::vector<std::unique_ptr<SimPlayer>>& m_players;
};

} // namespace

DeliveryLedger::DeliveryLedger(const std::vector<std::unique_ptr<SimPlayer>>& players)
    : m_ownCrowd(std::make_unique<SimCrowd>(players)), m_crowd(*m_ownCrowd)
{
}

DeliveryLedger::~DeliveryLedger() = default;

void DeliveryLedger::chatSent(int sender, const QString& shown)
{
    const int players = m_crowd.size();
    SentChat sent{sender, std::vector<int>(size_t(players), -1), std::vector<quint8>(size_t(players), 0)};
    for (int i = 0; i < players; ++i)
        sent.sessions[size_t(i)] = m_crowd.sessionInLobby(i);
    m_chatByLine.insert(shown, qsizetype(m_chat.size()));
    m_chat.push_back(std::move(sent));
}

void DeliveryLedger::lineShown(int player, QStringView line)
{
    const auto found = m_chatByLine.constFind(line.toString());
    if (found == m_chatByLine.constEnd())
        return;
    quint8& shown = m_chat[size_t(*found)].shown[size_t(player)];
    if (shown < 255)
        ++shown;
}

void DeliveryLedger::launchDue(int host, int member, const QString& joinerLine)
{
    m_launches.push_back({host, m_crowd.sessionInLobby(host), member, m_crowd.sessionInLobby(member),
                          joinerLine, m_crowd.started(member).size()});
}

DeliveryLedger::Figures DeliveryLedger::figures() const
{
    Figures f;
    std::vector<int> now(size_t(m_crowd.size()));
    for (int i = 0; i < m_crowd.size(); ++i)
        now[size_t(i)] = m_crowd.sessionInLobby(i);
    for (const SentChat& sent : m_chat) {
        for (size_t i = 0; i < now.size(); ++i) {
            const size_t from = size_t(sent.sender);
            if (i == from || sent.sessions[i] < 0 || now[i] != sent.sessions[i] ||
                now[from] != sent.sessions[from])
                continue;
            ++f.chatDue;
            f.chatShown += sent.shown[i] == 1 ? 1 : 0;
        }
    }
    for (size_t k = 0; k < m_launches.size(); ++k) {
        const LaunchDue& due = m_launches[k];
        if (due.session < 0 || now[size_t(due.member)] != due.session ||
            now[size_t(due.host)] != due.hostSession)
            continue;
        const QStringList& started = m_crowd.started(due.member);
        // What the member started up to its next launch belongs to this one.
        qsizetype end = started.size();
        for (size_t next = k + 1; next < m_launches.size(); ++next) {
            if (m_launches[next].member == due.member) {
                end = m_launches[next].startedBefore;
                break;
            }
        }
        qsizetype matching = 0;
        for (qsizetype s = due.startedBefore; s < end; ++s)
            matching += started[s] == due.joinerLine ? 1 : 0;
        ++f.launchesDue;
        f.launchesStarted += matching == 1 ? 1 : 0;
    }
    return f;
}

QString DeliveryLedger::summaryLine() const
{
    const Figures f = figures();
    return QStringLiteral("  delivered      chat %1 (%2 of %3), launches %4 (%5 of %6)\n")
        .arg(percent(f.chatShown, f.chatDue))
        .arg(f.chatShown)
        .arg(f.chatDue)
        .arg(percent(f.launchesStarted, f.launchesDue))
        .arg(f.launchesStarted)
        .arg(f.launchesDue);
}
