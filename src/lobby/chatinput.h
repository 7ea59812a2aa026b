#pragma once

#include <QString>

struct LobbyContext;

// What the player types in the lobby: slash commands, recognised by their
// first characters in lower case (first match wins), and chat.
namespace ChatInput {

inline const QString LobbySwitchNotice = QStringLiteral("Lobby Switch... Connecting...");
inline const QString BotUpdatedNotice = QStringLiteral("-=NOTICE: You Have Updated Your Bot Respoces=-");
inline const QString LoadFailedMessage = QStringLiteral("Could Not Load Data Files");

enum class Command { Away, Brb, In, Out, Select, Kick, BotEdit, BotUpdate, Chat };
Command commandOf(const QString& text);

// SEND_Click with the text of the chat input; the caller empties the input.
void SEND_Click(LobbyContext& lobby, const QString& text);
// OUTCHAT_GotFocus: a player back from a game is set to chatting again.
void OUTCHAT_GotFocus(LobbyContext& lobby);

} // namespace ChatInput
