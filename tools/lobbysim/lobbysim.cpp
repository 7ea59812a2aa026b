#include "lobbysim.h"

#include "rostersnapshot.h"

#include "lobby/gamelaunch.h"
#include "lobby/nickcode.h"
#include "lobby/votekick.h"

#include <algorithm>

namespace {

// Things players say.
const char* const phrases[] = {
    "anyone up for a game?", "hut needs one more", "gg all",   "who hosts next?", "brb coffee", "nice one",
    "lag is fine here",      "ready when you are", "rematch?", "hello lobby",
};

bool hasMessage(const SimPlayer& player, const QString& text)
{
    return player.shell().messages().contains(text);
}

// The mirrored bot tables: the trigger the first player says, and the rows.
const QString Trigger = QStringLiteral("hi");
const QString Answer = QStringLiteral("hello");

constexpr int SettleRounds = 2;
constexpr int SettleGiveUpMs = 60000;
constexpr int CheckMs = 100;

} // namespace

LobbySim::LobbySim(const SimOptions& options, QObject* parent)
    : QObject(parent), m_options(options), m_random(options.randomKey)
{
    m_actionTimer.setInterval(qMax(1, m_options.actionIntervalMs));
    connect(&m_actionTimer, &QTimer::timeout, this, [this] { act(); });
    m_joinTimer.setInterval(m_options.joinIntervalMs);
    connect(&m_joinTimer, &QTimer::timeout, this, [this] {
        if (m_entered < int(m_players.size()))
            m_players[size_t(m_entered++)]->enter();
        if (m_entered == int(m_players.size()))
            m_joinTimer.stop();
    });
    m_endTimer.setSingleShot(true);
    connect(&m_endTimer, &QTimer::timeout, this, [this] {
        stopActing();
        emit finished();
    });
    m_settleTimer.setInterval(CheckMs);
    connect(&m_settleTimer, &QTimer::timeout, this, &LobbySim::checkSettling);
    m_triggerTimer.setInterval(CheckMs);
    connect(&m_triggerTimer, &QTimer::timeout, this, [this] {
        if (!allSeeAll())
            return;
        m_triggerTimer.stop();
        settle([this] { sayTrigger(); });
    });
}

LobbySim::~LobbySim() = default;

void LobbySim::createPlayers()
{
    if (!m_players.empty())
        return;
    m_players.reserve(size_t(m_options.players));
    for (int i = 0; i < m_options.players; ++i) {
        auto player = std::make_unique<SimPlayer>(m_options.playerName(i), m_options.target);
        player->client().setTimerIntervals(LobbyClient::RefreshIntervalMs, m_options.reconnectMs);
        player->view().onLineShown([this, i](QStringView line) { m_ledger.lineShown(i, line); });
        connect(player.get(), &SimPlayer::synced, this, &LobbySim::checkSettling);
        m_players.push_back(std::move(player));
    }
    if (m_options.bots == SimBots::Mirrored)
        giveBots();
}

void LobbySim::giveBots()
{
    for (size_t i = 1; i < m_players.size(); ++i) {
        auto& row = m_players[i]->client().state().BotTable[0];
        row = i % 2 ? std::array<QString, 2>{Trigger, Answer} : std::array<QString, 2>{Answer, Trigger};
    }
}

void LobbySim::sayTrigger()
{
    if (m_stopped)
        return;
    SimPlayer& person = *m_players.front();
    connect(&person.client().connection(), &Connection::blockReceived, this, &LobbySim::countBotAnswers);
    m_sinceTrigger.start();
    person.client().SEND_Click(Trigger);
}

QString LobbySim::botLine() const
{
    if (!m_sinceTrigger.isValid())
        return QStringLiteral("  bots           mirrored; \"%1\" was never said: the players never all met\n")
            .arg(Trigger);
    const qint64 windowMs = m_triggerWindowMs >= 0 ? m_triggerWindowMs : m_sinceTrigger.elapsed();
    QString line = QStringLiteral("  bots           mirrored; one \"%1\" brought %2 bot answers in %3 s")
                       .arg(Trigger)
                       .arg(m_botAnswers)
                       .arg(windowMs / 1000.0, 0, 'f', 1);
    if (m_botAnswers > 0)
        line += QStringLiteral(", the last %1 s after it").arg(m_lastAnswerMs / 1000.0, 0, 'f', 1);
    return line + u'\n';
}

void LobbySim::countBotAnswers(const QString& block)
{
    if (m_stopped)
        return;
    const QString marker = QStringLiteral("PRIVMSG ") + m_options.target.channel + QStringLiteral(" :");
    for (QStringView line : QStringView(block).split(QStringLiteral("\r\n"))) {
        const qsizetype at = line.indexOf(marker, 0, Qt::CaseInsensitive);
        if (at < 0)
            continue;
        const QStringView text = line.mid(at + marker.size());
        if (text.compare(Trigger, Qt::CaseInsensitive) == 0 ||
            text.compare(Answer, Qt::CaseInsensitive) == 0) {
            ++m_botAnswers;
            m_lastAnswerMs = m_sinceTrigger.elapsed();
        }
    }
}

void LobbySim::start()
{
    createPlayers();
    m_clock.start();
    m_stopped = false;
    if (m_options.bots == SimBots::Mirrored && m_players.size() > 1 && !m_sinceTrigger.isValid())
        m_triggerTimer.start();
    if (m_options.joinIntervalMs > 0) {
        m_players[size_t(m_entered++)]->enter();
        m_joinTimer.start();
    } else {
        for (; m_entered < int(m_players.size()); ++m_entered)
            m_players[size_t(m_entered)]->enter();
    }
    if (m_options.actionIntervalMs > 0 && m_options.behaviours)
        m_actionTimer.start();
    m_wire.beginWhen([this] { return allSeeAll(); }, [this](std::function<void()> then) { settle(then); });
    if (m_options.durationMs > 0)
        m_endTimer.start(m_options.durationMs);
}

void LobbySim::stopActing()
{
    if (!m_stopped && m_sinceTrigger.isValid())
        m_triggerWindowMs = m_sinceTrigger.elapsed();
    m_stopped = true;
    m_actionTimer.stop();
    m_joinTimer.stop();
    m_triggerTimer.stop();
}

void LobbySim::leave()
{
    stopActing();
    m_endTimer.stop();
    for (auto& player : m_players)
        player->client().connection().close();
}

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
    for (size_t i = 0; i < m_players.size(); ++i) {
        SimPlayer& member = *m_players[i];
        if (&member == &player || !member.inLobby() || NickCode::hutOf(member.state().MyNick) != hut)
            continue;
        m_ledger.launchDue(int(i), GameLaunch::joinerCommandLine(hostIP, member.name(),
                                                                 member.client().connection().localIP()));
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

void LobbySim::settle(std::function<void()> then, std::function<bool(const SimPlayer&)> among)
{
    Settling& settling = m_settling.emplace_back();
    settling.among = std::move(among);
    settling.roundsLeft = SettleRounds;
    settling.deadline = QDeadlineTimer(SettleGiveUpMs);
    settling.then = std::move(then);
    startRound(settling);
    m_settleTimer.start();
    checkSettling();
}

void LobbySim::startRound(Settling& settling)
{
    settling.awaited.assign(m_players.size(), 0);
    settling.sessions.assign(m_players.size(), 0);
    for (size_t i = 0; i < m_players.size(); ++i) {
        SimPlayer& p = *m_players[i];
        if (settling.among && !settling.among(p))
            continue;
        const qint64 before = p.syncsAsked();
        p.askForSync();
        if (p.syncsAsked() > before)
            settling.awaited[i] = p.syncsAsked();
        settling.sessions[i] = p.session();
    }
}

bool LobbySim::roundDone(const Settling& settling) const
{
    for (size_t i = 0; i < m_players.size(); ++i) {
        const SimPlayer& p = *m_players[i];
        // A player that lost its connection meanwhile has nothing more to wait for.
        if (settling.awaited[i] > p.syncsAnswered() && p.session() == settling.sessions[i] &&
            p.client().socketState() == SocketState::Connected)
            return false;
    }
    return true;
}

void LobbySim::checkSettling()
{
    std::vector<std::function<void()>> done;
    for (auto it = m_settling.begin(); it != m_settling.end();) {
        const bool gaveUp = it->deadline.hasExpired();
        if (!gaveUp && !roundDone(*it)) {
            ++it;
        } else if (!gaveUp && --it->roundsLeft > 0) {
            startRound(*it);
            ++it;
        } else {
            done.push_back(std::move(it->then));
            it = m_settling.erase(it);
        }
    }
    if (m_settling.empty())
        m_settleTimer.stop();
    // Last, as a callback may settle again.
    for (auto& then : done)
        then();
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

int LobbySim::livePlayers() const
{
    int live = 0;
    for (const auto& player : m_players)
        live += player->ended() ? 0 : 1;
    return live;
}

int LobbySim::playersInLobby() const
{
    int in = 0;
    for (const auto& player : m_players)
        in += player->inLobby() ? 1 : 0;
    return in;
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

QString LobbySim::summary() const
{
    int kicked = 0, lost = 0, hosts = 0, joiners = 0;
    qint64 chatLines = 0, blocks = 0;
    for (const auto& player : m_players) {
        if (hasMessage(*player, VoteKick::KickedMessage))
            ++kicked;
        else if (player->ended())
            ++lost;
        for (const QString& line : player->shell().started()) {
            if (line.contains(QStringLiteral(" /h tcp ")))
                ++hosts;
            else
                ++joiners;
        }
        chatLines += player->view().chatLines();
        blocks += player->blocksHandled();
    }
    const SimTarget& t = m_options.target;
    QString text;
    text += QStringLiteral("lobbysim: %1 players on %2:%3 %4, %5 s, behaviours %6\n")
                .arg(m_players.size())
                .arg(t.host)
                .arg(t.port)
                .arg(t.channel)
                .arg(m_clock.isValid() ? m_clock.elapsed() / 1000.0 : 0.0, 0, 'f', 1)
                .arg(behaviourNames(m_options.behaviours));
    text += QStringLiteral("  in the lobby   %1 of %2 (ended: %3 kicked, %4 lost the server)\n")
                .arg(playersInLobby())
                .arg(m_players.size())
                .arg(kicked)
                .arg(lost);
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
                         m_fresh.note(), RosterSnapshot::of(*sample).describe());
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
