#include "lobby/links.h"

#include "irc/controlmessage.h"
#include "irc/serverline.h"
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

void receive(LobbyContext& lobby, const ServerLine& line)
{
    const auto address = ControlMessage::fields(line.message, ControlMessage::LinkTag, lobby.state.FieldSep);
    if (!address || !ControlMessage::isOneWord(*address))
        return;
    // One question at a time, and none queued: a flood of links cannot pile
    // up questions in front of the player.
    if (lobby.linkQuestionOpen)
        return;
    lobby.linkQuestionOpen = true;
    lobby.shell.askYesNo(QuestionTitle, question(*address), [&lobby, address = *address](bool yes) {
        lobby.linkQuestionOpen = false;
        if (yes)
            startLauncher(lobby, browserCommandLine(address));
    });
}

} // namespace Links
