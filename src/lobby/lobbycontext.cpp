#include "lobby/lobbycontext.h"

void startLauncher(LobbyContext& lobby, const QString& commandLine)
{
    if (lobby.shell.startProgram(commandLine))
        return;
    const QString program = commandLine.section(u' ', 0, 0, QString::SectionSkipEmpty);
    lobby.view.appendChat(QStringLiteral("Could Not Start ") + program + QStringLiteral("\r\n"));
}
