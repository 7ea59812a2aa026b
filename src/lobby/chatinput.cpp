#include "lobby/chatinput.h"

#include "app/botfile.h"
#include "app/commandhelp.h"
#include "app/wiretext.h"
#include "irc/connection.h"
#include "irc/controlmessage.h"
#include "lobby/keptchat.h"
#include "lobby/lobbycontext.h"
#include "lobby/nickcode.h"
#include "lobby/playercommands.h"

namespace ChatInput {

namespace {
const QString CrLf = QStringLiteral("\r\n");

void setStatus(LobbyContext& lobby, QChar status)
{
    Declares& d = lobby.state;
    d.MyNick = NickCode::SetNickCode(d.MyNick, d.CodeLetter, status + QStringLiteral("FFF"));
}

void announce(LobbyContext& lobby)
{
    lobby.connection.SendLine(QStringLiteral("NICK :") + lobby.state.MyNick);
}

void switchLobby(LobbyContext& lobby)
{
    // The server sees the connection drop. The pick of the next lobby
    // connects to it; until then the reconnect timer rejoins this one.
    setStatus(lobby, u'a');
    lobby.connection.close();
    lobby.view.appendChat(LobbySwitchNotice + CrLf);
    lobby.view.showLobbySelect();
}

void kick(LobbyContext& lobby, const QString& text)
{
    if (text.size() < 6) {
        lobby.view.appendChat(CommandHelp::Kick + CrLf);
        return;
    }
    const QString target = text.mid(6); // whatever the sixth character is
    const Declares& d = lobby.state;
    lobby.connection.SendLine(ControlMessage::kickLine(d.CurrentChannel, d.MyNick, target, d.FieldSep));
    lobby.view.appendChat(QStringLiteral("You Have Voted To Kick ") + target + CrLf);
}

void updateBot(LobbyContext& lobby)
{
    if (!BotFile::LoadBotTable(lobby.state, lobby.shell.dataFolder()).ok())
        lobby.shell.message(Config::DefaultTitle, LoadFailedMessage);
    lobby.view.appendChat(BotUpdatedNotice + CrLf);
}
} // namespace

Command commandOf(const QString& text)
{
    static const struct {
        const char* word;
        Command command;
    } table[] = {
        {"/away", Command::Away},       {"/brb", Command::Brb},         {"/in", Command::In},
        {"/out", Command::Out},         {"/select", Command::Select},   {"/kick", Command::Kick},
        {"/botedit", Command::BotEdit}, {"/botupdate", Command::BotUpdate},
    };
    for (const auto& entry : table) {
        const QString word = QString::fromLatin1(entry.word);
        if (text.left(word.size()).toLower() == word)
            return entry.command;
    }
    return Command::Chat;
}

void OUTCHAT_GotFocus(LobbyContext& lobby)
{
    const Declares& d = lobby.state;
    if (d.MyNick.left(8) != NickCode::Marker + d.CodeLetter + QStringLiteral("bFFF"))
        return;
    setStatus(lobby, u'a');
    announce(lobby);
}

void SEND_Click(LobbyContext& lobby, const QString& typed)
{
    const QString text = WireText::fromTyped(typed);
    OUTCHAT_GotFocus(lobby);
    switch (commandOf(text)) {
    case Command::Away:
        setStatus(lobby, u'c');
        announce(lobby);
        break;
    case Command::Brb:
        setStatus(lobby, u'd');
        announce(lobby);
        break;
    case Command::In:
    case Command::Out:
        setStatus(lobby, u'a');
        announce(lobby);
        break;
    case Command::Select:
        switchLobby(lobby);
        break;
    case Command::Kick:
        kick(lobby, text);
        break;
    case Command::BotEdit:
        lobby.view.showBotEditor();
        break;
    case Command::BotUpdate:
        updateBot(lobby);
        break;
    case Command::Chat:
        if (!PlayerCommands::run(lobby, text))
            lobby.chat->say(text);
        break;
    }
}

} // namespace ChatInput
