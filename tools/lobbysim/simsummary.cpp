// What the crowd shows: who is in, whether the rosters agree, and the summary.
#include "lobbysim.h"

#include "rostersnapshot.h"
#include "serverrestart.h"

#include "lobby/votekick.h"

#include <QMap>

#include <algorithm>

namespace {

bool hasMessage(const SimPlayer& player, const QString& text)
{
    return player.shell().messages().contains(text);
}

} // namespace

template <typename Holds> int LobbySim::countPlayers(Holds holds) const
{
    return int(std::count_if(m_players.begin(), m_players.end(), [&](const auto& p) { return holds(*p); }));
}

int LobbySim::livePlayers() const
{
    return countPlayers([](const SimPlayer& p) { return !p.ended(); });
}

int LobbySim::reconnectedPlayers() const
{
    return countPlayers([](const SimPlayer& p) { return p.session() > 1; });
}

int LobbySim::playersInLobby() const
{
    return countPlayers([](const SimPlayer& p) { return p.inLobby(); });
}

bool LobbySim::allSeeAll() const
{
    QStringList names;
    for (const auto& player : m_players) {
        if (!player->ended())
            names << player->name();
    }
    for (const auto& player : m_players) {
        if (player->ended())
            continue;
        if (!player->inLobby())
            return false;
        const QStringList& chatting = player->view().chatList();
        const QStringList& playing = player->view().playList();
        for (const QString& name : names) {
            // Away and be-right-back players are listed with their mark.
            if (!chatting.contains(name) && !playing.contains(name) &&
                !chatting.contains(QStringLiteral("(Away)") + name) &&
                !chatting.contains(QStringLiteral("(BRB)") + name))
                return false;
        }
    }
    return true;
}

bool LobbySim::rostersAgree() const
{
    const SimPlayer* first = nullptr;
    RosterSnapshot reference;
    for (const auto& player : m_players) {
        if (player->ended())
            continue;
        if (!player->inLobby())
            return false;
        if (!first) {
            first = player.get();
            reference = RosterSnapshot::of(*player);
        } else if (RosterSnapshot::of(*player) != reference) {
            return false;
        }
    }
    return true;
}

// Where the first player whose roster differs from the first one's differs:
// names only one of them lists, and hut cells they fill differently.
QString LobbySim::rosterDifference() const
{
    const SimPlayer* first = nullptr;
    for (const auto& player : m_players) {
        if (player->ended() || !player->inLobby())
            continue;
        if (!first) {
            first = player.get();
            continue;
        }
        const RosterSnapshot a = RosterSnapshot::of(*first), b = RosterSnapshot::of(*player);
        if (a == b)
            continue;
        QStringList seen;
        auto onlyIn = [&seen](const QStringList& x, const QStringList& y, const QString& who) {
            for (const QString& name : x) {
                if (!y.contains(name))
                    seen << name + QStringLiteral(" only at ") + who;
            }
        };
        onlyIn(a.chatting + a.playing, b.chatting + b.playing, first->name());
        onlyIn(b.chatting + b.playing, a.chatting + a.playing, player->name());
        for (int i = 0; i < 16; ++i) {
            if (a.huts[i] != b.huts[i])
                seen << QStringLiteral("hut %1.%2 %3 / %4").arg(i / 4).arg(i % 4).arg(a.huts[i], b.huts[i]);
        }
        if (a.userCount != b.userCount)
            seen << QStringLiteral("count %1 / %2").arg(a.userCount).arg(b.userCount);
        return QStringLiteral("  differing      %1 / %2: %3\n")
            .arg(first->name(), player->name(), seen.mid(0, 6).join(QStringLiteral(", ")));
    }
    return {};
}

QString LobbySim::summary() const
{
    int kicked = 0, lost = 0, hosts = 0, joiners = 0;
    QMap<QString, int> lastWords; // of the players that lost the server: their last message
    qint64 chatLines = 0, blocks = 0;
    for (const auto& player : m_players) {
        if (hasMessage(*player, VoteKick::KickedMessage))
            ++kicked;
        else if (player->ended()) {
            ++lost;
            const QStringList& said = player->shell().messages();
            ++lastWords[said.isEmpty() ? QStringLiteral("(no message)") : said.last().simplified()];
        }
        for (const QString& line : player->shell().started()) {
            if (line.contains(QStringLiteral(" /h tcp ")))
                ++hosts;
            else
                ++joiners;
        }
        chatLines += player->view().chatLines();
        blocks += player->blocksHandled();
    }
    QString text;
    text += QStringLiteral("lobbysim: %1 players on %2 %3, %4 s, behaviours %5\n")
                .arg(m_players.size())
                .arg(m_options.serverList(), m_options.target.channel)
                .arg(m_clock.isValid() ? m_clock.elapsed() / 1000.0 : 0.0, 0, 'f', 1)
                .arg(behaviourNames(m_options.behaviours));
    text +=
        QStringLiteral("  in the lobby   %1 of %2 (ended: %3 kicked, %4 lost the server; %5 reconnected)\n")
            .arg(playersInLobby())
            .arg(m_players.size())
            .arg(kicked)
            .arg(lost)
            .arg(reconnectedPlayers());
    for (auto it = lastWords.cbegin(); it != lastWords.cend(); ++it)
        text += QStringLiteral("  lost, told     \"%1\" (%2)\n").arg(it.key()).arg(it.value());
    if (m_restart)
        text += m_restart->summaryLine();
    text += QStringLiteral("  actions        chat %1, hut %2, launch %3, status %4, vote %5\n")
                .arg(m_counts.chat)
                .arg(m_counts.hutClicks)
                .arg(m_counts.launches)
                .arg(m_counts.statusChanges)
                .arg(m_counts.votes);
    text += QStringLiteral("  games started  %1 (%2 hosts, %3 joiners)\n")
                .arg(hosts + joiners)
                .arg(hosts)
                .arg(joiners);
    text += QStringLiteral("  seen           %1 lines in the chat panes, %2 received blocks\n")
                .arg(chatLines)
                .arg(blocks);
    text += m_ledger.summaryLine();
    text += m_wire.summaryLine();
    if (m_options.bots == SimBots::Mirrored)
        text += botLine();
    const SimPlayer* sample = nullptr;
    for (const auto& player : m_players) {
        if (player->inLobby()) {
            sample = player.get();
            break;
        }
    }
    if (!sample)
        text += QStringLiteral("  rosters        nobody is in the lobby\n");
    else
        text += QStringLiteral("  rosters        %1%2; %3\n")
                    .arg(rostersAgree() ? QStringLiteral("all agree") : QStringLiteral("still differ"),
                         m_fresh.note(), RosterSnapshot::of(*sample).describe()) +
                rosterDifference();
    return text;
}

qint64 LobbySim::bytesReceived() const
{
    qint64 bytes = 0;
    for (const auto& player : m_players)
        bytes += player->bytesReceived();
    return bytes;
}

int LobbySim::actionCount() const
{
    return m_counts.chat + m_counts.hutClicks + m_counts.launches + m_counts.statusChanges + m_counts.votes;
}

void LobbySim::checkFreshNames(std::function<void()> done)
{
    m_fresh.check(
        m_players, [this](std::function<void()> then) { settle(std::move(then)); }, std::move(done));
}
