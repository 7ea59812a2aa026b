#include "lobby/links.h"

#include "irc/controlmessage.h"
#include "lobby/lobbycontext.h"

namespace Links {

QString question(const QString& address)
{
    return QStringLiteral("A Link has been posted.. Visit Page:\r\n") + address + u'?';
}

QString browserCommandLine(const QString& address)
{
    return QStringLiteral("eaexec.exe iexplore.exe ") + address;
}

void receive(LobbyContext& lobby, const QString& block)
{
    const auto address = ControlMessage::fields(block, ControlMessage::LinkTag, lobby.state.FieldSep);
    if (!address)
        return;
    if (lobby.shell.askYesNo(QuestionTitle, question(*address)))
        startLauncher(lobby, browserCommandLine(*address));
}

} // namespace Links
