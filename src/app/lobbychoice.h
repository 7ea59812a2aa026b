#pragma once

#include <QString>

#include <optional>

namespace LobbyChoice {

inline constexpr int LobbyCount = 9;
inline constexpr int MaxClanLength = 20;
inline const QString ClanRefusedMessage = QStringLiteral("Invalid Clan Channel Parameter");

// Channel of lobby button index (0 to 8): "#ZentharaNET_" and the digit.
QString lobbyChannel(int index);
// Channel of a clan lobby, the name taken exactly as typed; nothing for an
// empty name, one longer than 20 characters, or one holding a blank, a
// comma, a colon or a control character.
std::optional<QString> clanChannel(const QString& name);
// The caption of lobby button index, "Lobby 1 - Main/New Players" for 0.
QString lobbyCaption(int index);

} // namespace LobbyChoice
