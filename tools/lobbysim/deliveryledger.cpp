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
} // namespace

void DeliveryLedger::chatSent(int sender, const QString& shown)
{
    SentChat sent{sender, std::vector<int>(m_players.size(), -1), std::vector<quint8>(m_players.size(), 0)};
    for (size_t i = 0; i < m_players.size(); ++i) {
        if (m_players[i]->inLobby())
            sent.sessions[i] = m_players[i]->session();
    }
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

void DeliveryLedger::launchDue(int member, const QString& joinerLine)
{
    m_launches.push_back({member, joinerLine, m_players[size_t(member)]->shell().started().size()});
}

DeliveryLedger::Figures DeliveryLedger::figures() const
{
    Figures f;
    for (const SentChat& sent : m_chat) {
        for (size_t i = 0; i < m_players.size(); ++i) {
            const SimPlayer& p = *m_players[i];
            if (int(i) == sent.sender || sent.sessions[i] < 0 || !p.inLobby() ||
                p.session() != sent.sessions[i])
                continue;
            ++f.chatDue;
            f.chatShown += sent.shown[i] == 1 ? 1 : 0;
        }
    }
    for (size_t k = 0; k < m_launches.size(); ++k) {
        const LaunchDue& due = m_launches[k];
        const QStringList& started = m_players[size_t(due.member)]->shell().started();
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
