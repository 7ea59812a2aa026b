#include "simplayer.h"

#include "app/login.h"
#include "lobby/nickcode.h"

namespace {
const QString SyncToken = QStringLiteral("lobbysim-sync");
} // namespace

SimPlayer::SimPlayer(const QString& name, const SimTarget& target, QObject* parent) : QObject(parent)
{
    Declares& d = m_client.state();
    d.ServerHost = target.host;
    d.ServerPort = qint16(target.port);
    d.CurrentChannel = target.channel;
    QString typed = name;
    Login::logIn(d, typed);
    connect(&m_client, &LobbyClient::blockHandled, this, [this] {
        ++m_blocks;
        emit blockHandled();
    });
    // PINGs asked on an earlier connection are never answered.
    connect(&m_client, &LobbyClient::registered, this, [this] {
        ++m_session;
        m_syncsAnswered = m_syncsAsked;
    });
    // Connected after the client's own dispatch, so a PONG counts once the
    // lines before it have been handled.
    connect(&m_client.connection(), &Connection::blockReceived, this, &SimPlayer::countPongs);
    // One character a byte: the wire's text is Latin-1.
    connect(&m_client.connection(), &Connection::blockReceived, this,
            [this](const QString& block) { m_bytes += block.size(); });
}

void SimPlayer::askForSync()
{
    if (m_client.socketState() != SocketState::Connected)
        return;
    ++m_syncsAsked;
    m_client.connection().SendLine(QStringLiteral("PING :") + SyncToken);
}

void SimPlayer::countPongs(const QString& block)
{
    if (!block.contains(SyncToken))
        return;
    const qint64 before = m_syncsAnswered;
    const QString end = QStringLiteral(" :") + SyncToken;
    for (QStringView line : QStringView(block).split(QStringLiteral("\r\n"))) {
        if (line.contains(QStringLiteral(" PONG ")) && line.endsWith(end))
            m_syncsAnswered = qMin(m_syncsAnswered + 1, m_syncsAsked);
    }
    if (m_syncsAnswered > before)
        emit synced();
}

void SimPlayer::enter()
{
    m_client.Form_Load();
}

QString SimPlayer::name() const
{
    return NickCode::userName(state().MyNick);
}

bool SimPlayer::inLobby() const
{
    // Every connect puts "Getting User List..." into the lists; only a names
    // reply, which comes after the join, replaces it.
    return !ended() && m_client.socketState() == SocketState::Connected &&
           !m_view.chatList().contains(LobbyClient::GettingUserList);
}

QChar SimPlayer::status() const
{
    const QString& nick = state().MyNick;
    return nick.size() > 4 ? nick.at(4) : QChar();
}

int SimPlayer::hut() const
{
    const int hut = NickCode::hutOf(state().MyNick);
    return status() == u'a' && hut < 255 ? hut : -1;
}

int SimPlayer::slot() const
{
    const QString& nick = state().MyNick;
    if (hut() < 0 || nick.size() < 8)
        return -1;
    const int slot = NickCode::HexToNum(QString(u'0' + nick.mid(7, 1)));
    return slot < 15 ? slot : -1;
}
