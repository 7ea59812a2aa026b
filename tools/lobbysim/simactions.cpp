// What simulated players do when it is their turn.
#include "lobbysim.h"

#include "lobby/gamelaunch.h"
#include "lobby/nickcode.h"

#include <algorithm>

namespace {

// Things players say.
const char* const phrases[] = {
    "anyone up for a game?", "hut needs one more", "gg all",   "who hosts next?", "brb coffee", "nice one",
    "lag is fine here",      "ready when you are", "rematch?", "hello lobby",
};

} // namespace

SimPlayer* LobbySim::randomPlayerInLobby()
{
    std::vector<SimPlayer*> candidates;
    for (auto& player : m_players) {
        if (player->inLobby() && NickCode::hutOf(player->state().MyNick) != m_launchingHut)
            candidates.push_back(player.get());
    }
    if (candidates.empty())
        return nullptr;
    return candidates[m_random.bounded(quint32(candidates.size()))];
}

SimPlayer* LobbySim::randomHost()
{
    std::vector<SimPlayer*> hosts;
    for (auto& player : m_players) {
        if (player->inLobby() && player->slot() == 0)
            hosts.push_back(player.get());
    }
    if (hosts.empty())
        return nullptr;
    return hosts[m_random.bounded(quint32(hosts.size()))];
}

bool LobbySim::act()
{
    std::vector<Behaviour> enabled;
    for (Behaviour b :
         {Behaviour::Chat, Behaviour::Huts, Behaviour::Launch, Behaviour::Away, Behaviour::Vote}) {
        if (m_options.behaviours.testFlag(b) && (b != Behaviour::Launch || m_launchingHut < 0))
            enabled.push_back(b);
    }
    SimPlayer* player = randomPlayerInLobby();
    if (enabled.empty() || !player)
        return false;

    switch (enabled[m_random.bounded(quint32(enabled.size()))]) {
    case Behaviour::Chat:
        return chat(*player);
    case Behaviour::Huts:
        return takeSlot(*player);
    case Behaviour::Launch:
        if (SimPlayer* host = randomHost()) {
            launchWhenSettled(*host);
            return true;
        }
        // Nobody hosts a hut: this player opens one to launch later.
        for (int hut = 0; hut < 4; ++hut) {
            if (player->state().HutTable[hut][0].isEmpty()) {
                player->client().Hut_Click(10 * hut);
                ++m_counts.hutClicks;
                return true;
            }
        }
        return false;
    case Behaviour::Away:
        return changeStatus(*player);
    case Behaviour::Vote:
        return vote(*player);
    }
    return false;
}

bool LobbySim::chat(SimPlayer& player)
{
    const auto count = quint32(std::size(phrases));
    const QString text =
        QString::fromLatin1(phrases[m_random.bounded(count)]) + QStringLiteral(" (%1)").arg(++m_chatNumber);
    const auto sender =
        std::find_if(m_players.begin(), m_players.end(), [&](const auto& p) { return p.get() == &player; });
    m_ledger.chatSent(int(sender - m_players.begin()), player.name() + QStringLiteral("> ") + text);
    // As a person types: focusing the box brings a player back from a game
    // (its NICK), and the line follows at once.
    player.client().OUTCHAT_GotFocus();
    player.client().SEND_Click(text);
    ++m_counts.chat;
    return true;
}

bool LobbySim::takeSlot(SimPlayer& player)
{
    // A free slot as this player's own lobby shows it.
    std::vector<int> free;
    for (int hut = 0; hut < 4; ++hut) {
        for (int slot = 0; slot < 4; ++slot) {
            if (player.state().HutTable[hut][slot].isEmpty() && hut != m_launchingHut)
                free.push_back(10 * hut + slot);
        }
    }
    if (free.empty()) {
        // All taken: make room by leaving the hut.
        if (player.hut() < 0)
            return false;
        player.client().SEND_Click(QStringLiteral("/out"));
        ++m_counts.statusChanges;
        return true;
    }
    player.client().Hut_Click(free[m_random.bounded(quint32(free.size()))]);
    ++m_counts.hutClicks;
    return true;
}

bool LobbySim::launch(SimPlayer& player)
{
    const int hut = player.hut();
    if (hut < 0 || hut > 3 || player.slot() != 0)
        return false;
    const QString hostIP = player.client().connection().localIP();
    const int hostIndex = int(
        std::find_if(m_players.begin(), m_players.end(), [&](const auto& p) { return p.get() == &player; }) -
        m_players.begin());
    for (size_t i = 0; i < m_players.size(); ++i) {
        SimPlayer& member = *m_players[i];
        if (&member == &player || !member.inLobby() || NickCode::hutOf(member.state().MyNick) != hut)
            continue;
        m_ledger.launchDue(
            hostIndex, int(i),
            GameLaunch::joinerCommandLine(hostIP, member.name(), member.client().connection().localIP()));
    }
    player.client().Launch_Click(hut);
    ++m_counts.launches;
    return true;
}

void LobbySim::launchWhenSettled(SimPlayer& host)
{
    // Only the host and the hut's members need to have caught up: nobody
    // else can change who is in the hut meanwhile.
    const int hut = m_launchingHut = host.hut();
    std::vector<const SimPlayer*> hutPlayers;
    for (const auto& player : m_players) {
        if (NickCode::hutOf(player->state().MyNick) == hut)
            hutPlayers.push_back(player.get());
    }
    auto among = [hutPlayers](const SimPlayer& p) {
        return std::find(hutPlayers.begin(), hutPlayers.end(), &p) != hutPlayers.end();
    };
    settle(
        [this, &host, among] {
            if (!m_stopped && launch(host))
                settle([this] { m_launchingHut = -1; }, among);
            else
                m_launchingHut = -1;
        },
        among);
}

bool LobbySim::changeStatus(SimPlayer& player)
{
    const QChar status = player.status();
    if (status == u'b')
        player.client().OUTCHAT_GotFocus(); // back from the game
    else if (status == u'a')
        player.client().SEND_Click(m_random.bounded(2) ? QStringLiteral("/away") : QStringLiteral("/brb"));
    else
        player.client().SEND_Click(QStringLiteral("/in"));
    ++m_counts.statusChanges;
    return true;
}

bool LobbySim::vote(SimPlayer& player)
{
    std::vector<SimPlayer*> others;
    for (auto& other : m_players) {
        if (other.get() != &player && !other->ended())
            others.push_back(other.get());
    }
    if (others.empty())
        return false;
    SimPlayer* target = others[m_random.bounded(quint32(others.size()))];
    player.client().SEND_Click(QStringLiteral("/kick ") + target->name());
    ++m_counts.votes;
    return true;
}
