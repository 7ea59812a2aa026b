#include "lobby/gamelaunch.h"

#include "irc/connection.h"
#include "irc/controlmessage.h"
#include "irc/serverline.h"
#include "lobby/lobbycontext.h"
#include "lobby/nickcode.h"

#include <QTimer>

namespace GameLaunch {

namespace {
const QString CrLf = QStringLiteral("\r\n");
const QString PlayingCode = QStringLiteral("bFFF");

void becomePlaying(LobbyContext& lobby)
{
    Declares& d = lobby.state;
    d.MyNick = NickCode::SetNickCode(d.MyNick, d.CodeLetter, PlayingCode);
    Connection& connection = lobby.connection;
    QTimer::singleShot(PlayingAnnounceDelayMs, &connection, [&connection, &d, nick = d.MyNick] {
        // A change made meanwhile has announced the newer nickname itself.
        if (d.MyNick == nick)
            connection.SendLine(QStringLiteral("NICK :") + nick);
    });
    lobby.view.appendChat(Launching + CrLf + PlayingNotice + CrLf);
}
} // namespace

QString hostCommandLine(const QString& userName, const QString& localIP)
{
    return QStringLiteral("eaexec.exe zen3.exe /h tcp /n") + userName + QStringLiteral(" /boundip ") +
           localIP;
}

QString joinerCommandLine(const QString& hostIP, const QString& userName, const QString& localIP)
{
    return QStringLiteral("eaexec.exe zen3.exe /j tcp ") + hostIP + QStringLiteral(" /n") + userName +
           QStringLiteral(" /boundip ") + localIP;
}

void Launch_Click(LobbyContext& lobby, int hut)
{
    Declares& d = lobby.state;
    QString body = d.MyNick;
    body.remove(NickCode::Marker);
    // Only the occupant of slot 0 of this very hut is its host.
    if (body.mid(4, 1) != QStringLiteral("0") || NickCode::HexToNum(QStringView(body).mid(2, 2)) != hut)
        return;

    lobby.connection.SendLine(
        ControlMessage::launchLine(d.CurrentChannel, hut, lobby.connection.localIP(), d.FieldSep));
    becomePlaying(lobby);
    startLauncher(lobby, hostCommandLine(NickCode::userName(d.MyNick), lobby.connection.localIP()));
}

bool receive(LobbyContext& lobby, const ServerLine& line, int hut)
{
    Declares& d = lobby.state;
    if (NickCode::hutOf(d.MyNick) != hut)
        return false;
    // The host sends the launch before its playing NICK, so its nickname
    // still holds slot 0 of the hut.
    const QStringView host = line.sender;
    if (!host.startsWith(NickCode::Marker) || host.mid(4, 4) != NickCode::placeCode(hut, 0))
        return true;
    const auto hostIP = ControlMessage::fields(line.message, ControlMessage::launchTag(hut), d.FieldSep);
    if (!hostIP || !ControlMessage::isDottedIPv4(*hostIP))
        return true; // a cut message or a bad address starts nothing
    becomePlaying(lobby);
    startLauncher(lobby,
                  joinerCommandLine(*hostIP, NickCode::userName(d.MyNick), lobby.connection.localIP()));
    return true;
}

} // namespace GameLaunch
