#include "rosterwatch.h"

#include "simplayer.h"

RosterWatch::RosterWatch(std::vector<SimPlayer*> players, QObject* parent)
    : QObject(parent), m_players(std::move(players)), m_matches(m_players.size(), false)
{
    for (size_t i = 0; i < m_players.size(); ++i)
        connect(m_players[i], &SimPlayer::blockHandled, this, [this, i] { check(i); });
}

void RosterWatch::expect(const RosterSnapshot& expected)
{
    m_expected = expected;
    for (size_t i = 0; i < m_players.size(); ++i)
        check(i);
}

void RosterWatch::check(size_t index)
{
    const SimPlayer& player = *m_players[index];
    const bool matches = !player.ended() && RosterSnapshot::of(player) == m_expected;
    if (matches != m_matches[index]) {
        m_matches[index] = matches;
        m_matching += matches ? 1 : -1;
    }
}

QString RosterWatch::differences(int shown) const
{
    QString text = QStringLiteral("%1 of %2 show the expected lobby (%3)\n")
                       .arg(m_matching)
                       .arg(m_players.size())
                       .arg(m_expected.describe());
    for (size_t i = 0; i < m_players.size() && shown > 0; ++i) {
        if (m_matches[i])
            continue;
        --shown;
        const SimPlayer& p = *m_players[i];
        text += QStringLiteral("  %1 (socket %2%3): %4\n")
                    .arg(p.name())
                    .arg(p.client().socketState())
                    .arg(p.ended() ? QStringLiteral(", ended") : QString())
                    .arg(RosterSnapshot::of(p).describe());
    }
    return text;
}
