#pragma once

#include <QString>

struct LobbyContext;

namespace GameLaunch {

inline const QString Launching = QStringLiteral("LAUNCHING GAME");
inline const QString PlayingNotice = QStringLiteral(
    "You are currently set to Playing, start chatting,join a hut or type /in to get out of this mode");

QString hostCommandLine(const QString& userName, const QString& localIP);
QString joinerCommandLine(const QString& hostIP, const QString& userName, const QString& localIP);

// Launch_Click: the occupant of slot 0 of hut starts the game for the hut.
void Launch_Click(LobbyContext& lobby, int hut);

// A launch message for hut n: a member of hut n starts the game as a joiner
// at the host's address. False stops the dispatch (this client is not in hut n).
bool receive(LobbyContext& lobby, const QString& block, int hut);

} // namespace GameLaunch
