// The crowd itself: making the players, letting them in, the clock of the
// run and the mirrored bots. The actions are in simactions.cpp, what the
// crowd shows at the end in simsummary.cpp.
#include "lobbysim.h"

#include "serverrestart.h"

#include "irc/serverline.h"

namespace {

// The mirrored bot tables: the trigger the first player says, and the rows.
const QString Trigger = QStringLiteral("hi");
const QString Answer = QStringLiteral("hello");

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
        auto player = std::make_unique<SimPlayer>(m_options.playerName(i), m_options.targetOf(i));
        player->client().setTimerIntervals(LobbyClient::RefreshIntervalMs, m_options.reconnectMs);
        player->view().onLineShown([this, i](QStringView line) { m_ledger.lineShown(i, line); });
        connect(player.get(), &SimPlayer::synced, &m_settler, &Settler::check);
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
    forEachServerLine(block, m_options.target.channel, [this](const ServerLine& line) {
        const QStringView text = line.message.endsWith(u"\r\n") ? line.message.chopped(2) : line.message;
        if (line.isChannelMessage() && (text.compare(Trigger, Qt::CaseInsensitive) == 0 ||
                                        text.compare(Answer, Qt::CaseInsensitive) == 0)) {
            ++m_botAnswers;
            m_lastAnswerMs = m_sinceTrigger.elapsed();
        }
    });
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
    if (m_options.restartServer > 0 && !m_restart) {
        const int n = m_options.restartServer;
        m_restart = std::make_unique<ServerRestart>(m_options.servers.at(size_t(n - 1)), n);
        m_restart->schedule(m_options.restartAtMs);
    }
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
