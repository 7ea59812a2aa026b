#include "lobby/lobbyclient.h"

#include "app/login.h"
#include "bot/botresponder.h"
#include "lobby/chatinput.h"
#include "lobby/gamelaunch.h"
#include "lobby/huts.h"
#include "lobby/ignorelist.h"
#include "lobby/links.h"
#include "lobby/nickcode.h"
#include "lobby/refresh.h"
#include "lobby/servernotice.h"
#include "lobby/votekick.h"

#include <QDeadlineTimer>

#include <utility>

LobbyClient::LobbyClient(Transport& transport, Shell& shell, View& view, QObject* parent)
    : QObject(parent), m_shell(shell), m_view(view), m_connection(m_d, transport, view),
      m_dispatcher(m_d, m_connection, view, *this), m_lobby{m_d, m_connection, view, shell,
                                                            [this](const QString& title, const QString& text,
                                                                   Shell::Icon icon) {
                                                                endWithMessage(title, text, icon);
                                                            }},
      m_attention(m_d, view, m_settings), m_kept(m_connection, view)
{
    m_lobby.settings = &m_settings;
    m_lobby.chat = &m_kept;
    m_d.applyConfiguration();
    m_clock = [] { return QDeadlineTimer::current().deadline(); };
    m_refreshTimer.setInterval(RefreshIntervalMs);
    m_reconnectTimer.setInterval(ReconnectIntervalMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &LobbyClient::Timer1_Timer);
    connect(&m_reconnectTimer, &QTimer::timeout, this, &LobbyClient::ReConnect_Timer);
    connect(&m_connection, &Connection::registered, this, &LobbyClient::registered);
    connect(&m_connection, &Connection::blockReceived, this, &LobbyClient::HandleInbound);
    connect(&m_connection, &Connection::failed, this, &LobbyClient::onFailed);
    connect(&m_connection, &Connection::lost, this, &LobbyClient::onLost);
}

LobbyClient::~LobbyClient() = default;

void LobbyClient::setTimerIntervals(int refreshMs, int reconnectMs)
{
    m_refreshTimer.setInterval(refreshMs);
    m_reconnectTimer.setInterval(reconnectMs);
}

void LobbyClient::setIntervals(const Intervals& intervals)
{
    setTimerIntervals(intervals.refreshMs, intervals.reconnectMs);
    m_connection.setLivenessIntervals(intervals.quietMs, intervals.answerMs);
    m_kept.setInterval(intervals.keptLineMs);
}

void LobbyClient::setClock(std::function<qint64()> clock)
{
    m_clock = clock;
    m_connection.setClock(std::move(clock));
}

void LobbyClient::Form_Load()
{
    if (m_ended)
        return;
    m_connectionChannel = m_d.CurrentChannel;
    m_joinedHere = false;
    m_kept.setJoined(false);
    m_connection.open();
    emptyLobby();
    m_view.setUserLists({GettingUserList}, {GettingUserList});
    m_view.loadPictures();
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
    if (!m_reconnectTimer.isActive())
        m_reconnectTimer.start();
}

void LobbyClient::ReConnect_Timer()
{
    const int state = socketState();
    if (state == SocketState::Closed || state == SocketState::Closing || state == SocketState::Error)
        Form_Load();
}

void LobbyClient::lobbyChosen()
{
    // A reconnect while the player was choosing went to the lobby he left.
    const int state = socketState();
    if ((state == SocketState::Connected || state == SocketState::Connecting) &&
        m_connectionChannel == m_d.CurrentChannel)
        return;
    Form_Load();
}

void LobbyClient::Timer1_Timer()
{
    m_view.setTitle(Refresh::lobbyTitle(socketState(), m_d));
    for (int hut = 0; hut < 4; ++hut) {
        for (int slot = 0; slot < 4; ++slot) {
            const QString& cell = m_d.HutTable[hut][slot];
            m_view.setSlot(10 * hut + slot, !cell.isEmpty(), Refresh::slotToolTip(cell));
        }
    }
}

void LobbyClient::HandleInbound(const QString& block)
{
    if (m_ended)
        return;
    m_dispatcher.HandleInbound(block);
    emit blockHandled();
}

void LobbyClient::SEND_Click(const QString& text)
{
    if (!m_ended)
        ChatInput::SEND_Click(m_lobby, text);
}

void LobbyClient::OUTCHAT_GotFocus()
{
    if (!m_ended)
        ChatInput::OUTCHAT_GotFocus(m_lobby);
}

void LobbyClient::Hut_Click(int index)
{
    if (!m_ended)
        Huts::Hut_Click(m_lobby, index);
}

void LobbyClient::Launch_Click(int hut)
{
    if (!m_ended)
        GameLaunch::Launch_Click(m_lobby, hut);
}

void LobbyClient::endProgram()
{
    if (m_ended)
        return;
    stopWorking();
    finish();
}

void LobbyClient::endWithMessage(const QString& title, const QString& text, Shell::Icon icon)
{
    if (m_ended)
        return;
    stopWorking();
    m_shell.message(title, text, icon);
    finish();
}

void LobbyClient::stopWorking()
{
    // The refresh keeps ticking while a last message is open, so the caption
    // tells what happened; it only reads the state.
    m_ended = true;
    m_reconnectTimer.stop();
}

void LobbyClient::finish()
{
    m_refreshTimer.stop();
    m_connection.close();
    m_shell.endProgram();
}

void LobbyClient::emptyLobby()
{
    m_roster.reset();
    clearShownHuts(m_d);
}

void LobbyClient::serverLine(const ServerLine& line)
{
    const ServerNotice notice = ServerNotice::of(line, m_d.MyNick, m_d.CurrentChannel);
    if (!notice.chatLine.isEmpty())
        m_view.appendChat(notice.chatLine);
    switch (notice.kind) {
    case ServerNotice::Kind::Joined:
        m_joinedHere = true;
        m_endedEarly = 0;
        m_lastError.clear();
        if (!m_lostAt.isNull())
            m_view.appendChat(
                ServerNotice::reconnectedLine(std::exchange(m_lostAt, QTime()), QTime::currentTime()));
        m_kept.setJoined(true);
        break;
    case ServerNotice::Kind::Kicked:
        // The operator decided: no rejoin until the player picks a lobby.
        m_kept.setJoined(false);
        emptyLobby();
        m_view.setUserLists({}, {});
        break;
    case ServerNotice::Kind::Error:
        m_lastError = notice.text;
        break;
    default:
        break;
    }
}

void LobbyClient::onLost(Connection::Loss how)
{
    m_kept.setJoined(false);
    if (m_lostAt.isNull()) {
        m_lostAt = QTime::currentTime();
        m_view.appendChat(ServerNotice::lostLine(how == Connection::Loss::Silent, m_lostAt));
    }
    // A server that hangs is waited for; one that ends every connection
    // before the lobby is joined is refusing us, and retrying forever helps nobody.
    if (how != Connection::Loss::ServerClosed || m_joinedHere || ++m_endedEarly < MaxEndedEarly)
        return;
    m_endedEarly = 0;
    m_lostAt = QTime();
    m_reconnectTimer.stop();
    m_connection.close();
    m_shell.message(Config::DefaultTitle,
                    ServerNotice::refusedMessage(std::exchange(m_lastError, QString())));
    m_view.showLogin();
}

void LobbyClient::namesLine(QStringView names)
{
    m_roster.namesLine(names);
}

void LobbyClient::namesEnd()
{
    m_roster.namesEnd();
}

bool LobbyClient::memberJoined(QStringView nick)
{
    return m_roster.joined(nick);
}

bool LobbyClient::memberParted(QStringView nick)
{
    return m_roster.left(nick);
}

bool LobbyClient::memberKicked(QStringView nick, QStringView)
{
    // Our own kick has emptied the lobby already; its names are not ours to ask.
    if (nick.compare(m_d.MyNick, Qt::CaseInsensitive) == 0)
        return true;
    return m_roster.left(nick);
}

bool LobbyClient::memberQuit(QStringView nick)
{
    return m_roster.left(nick);
}

bool LobbyClient::memberRenamed(QStringView from, QStringView to)
{
    return m_roster.renamed(from, to);
}

void LobbyClient::rosterRead()
{
    if (bool complete = false; m_roster.rebuild(m_d, m_view, complete))
        m_attention.hutsRebuilt(complete);
}

bool LobbyClient::ignores(QStringView userName)
{
    return IgnoreList(m_settings).ignores(userName);
}

void LobbyClient::channelMessage(const QString& sender, const QString& text)
{
    if (ignores(sender))
        return;
    const QString line = sender + QStringLiteral("> ") + text + QStringLiteral("\r\n");
    if (holdsName(text, IgnoreList::baseName(NickCode::userName(m_d.MyNick)))) {
        m_view.appendCalling(line);
        m_attention.called();
    } else {
        m_view.appendChat(line);
    }
    BotResponder::scan(m_d, m_connection, sender, text, m_botBudget, m_clock());
}

bool LobbyClient::kickVote(const ServerLine& line)
{
    return VoteKick::receive(m_lobby, line);
}

void LobbyClient::link(const ServerLine& line)
{
    // The sender as the chat line shows him.
    const QStringView sender =
        line.sender.startsWith(NickCode::Marker) ? line.sender.mid(NickCode::PrefixLength) : line.sender;
    if (!ignores(sender))
        Links::receive(m_lobby, line);
}

bool LobbyClient::launch(const ServerLine& line, int hut)
{
    const QString before = m_d.MyNick;
    const bool goOn = GameLaunch::receive(m_lobby, line, hut);
    if (m_d.MyNick != before)
        m_attention.gameStarts();
    return goOn;
}

void LobbyClient::nickRefused(bool inUse)
{
    // The suffixes a name in use tries in turn. The one that works stays for
    // the run: every later nickname keeps what follows its first 8 characters.
    static const QStringList suffixes{"", "_", "_2", "_3", "_4", "_5", "_6", "_7", "_8", "_9"};
    const qsizetype next = suffixes.indexOf(m_d.NickSuffix) + 1;
    if (inUse && next < suffixes.size()) {
        m_d.MyNick.chop(m_d.NickSuffix.size());
        m_d.NickSuffix = suffixes[next];
        m_d.MyNick += m_d.NickSuffix;
        m_connection.SendLine(QStringLiteral("NICK ") + m_d.MyNick);
        return;
    }
    backToLogin(inUse ? Login::InUseMessage : Login::RefusedMessage);
}

bool LobbyClient::welcomedAs(QStringView nick, int nickLength)
{
    // Cut behind the code, which carries status and place, the name still works.
    const bool cut = m_d.MyNick.startsWith(nick);
    if (cut && nick.size() > NickCode::PrefixLength) {
        m_d.MyNick = nick.toString();
        return true;
    }
    if (!cut)
        backToLogin(Login::RefusedMessage); // renamed, not cut: not a name of ours
    else if (nickLength > 0)
        backToLogin(Login::TooLongMessage.arg(nickLength).arg(qMax(0, nickLength - NickCode::PrefixLength)));
    else
        backToLogin(Login::CutMessage);
    return false;
}

void LobbyClient::backToLogin(const QString& text)
{
    // No QUIT, and no reconnect until a lobby is picked again.
    m_reconnectTimer.stop();
    m_connection.close();
    m_shell.message(Config::DefaultTitle, text);
    m_view.showLogin();
}

void LobbyClient::onFailed(bool whileConnecting, int code, const QString& description)
{
    if (whileConnecting)
        endWithMessage(Config::DefaultTitle, CouldNotFindHost);
    else
        endWithMessage(m_d.AppTitle,
                       QStringLiteral("Error: ") + QString::number(code) + QStringLiteral("; \r\n") +
                           description,
                       Shell::Icon::Critical);
}
