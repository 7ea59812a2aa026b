#pragma once

#include <QString>

struct LobbyContext;
struct ServerLine;

namespace GameLaunch {

inline const QString Launching = QStringLiteral("LAUNCHING GAME");
inline const QString PlayingNotice = QStringLiteral(
    "You are currently set to Playing, start chatting,join a hut or type /in to get out of this mode");

// How long the NICK line of a launch waits behind the launch message. Lobby
// clients that read a whole read at once ignore a launch that reaches them in
// one read with a NICK line, and a server relays lines that arrive together in
// one write: sent at once, the host's NICK would hide the launch from such
// peers in its hut.
inline constexpr int PlayingAnnounceDelayMs = 1000;

QString hostCommandLine(const QString& userName, const QString& localIP);
QString joinerCommandLine(const QString& hostIP, const QString& userName, const QString& localIP);

// Launch_Click: the occupant of slot 0 of hut starts the game for the hut.
void Launch_Click(LobbyContext& lobby, int hut);

// A launch message for hut n: a member of hut n starts the game as a joiner
// at the host's address. It counts only from the occupant of slot 0 of hut n
// and with a dotted IPv4 address. False stops the line (this client is not in hut n).
bool receive(LobbyContext& lobby, const ServerLine& line, int hut);

} // namespace GameLaunch
