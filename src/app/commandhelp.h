#pragma once

#include <QString>

// The help line of every command the player can type. The welcome lists them
// all; a command typed wrongly answers with its own.
namespace CommandHelp {

inline const QString Select = QStringLiteral("Type /select to get back to lobby selection");
inline const QString Away = QStringLiteral("Type /away to set mode to AWAY");
inline const QString Brb = QStringLiteral("Type /brb to set mode to BRB");
inline const QString Kick = QStringLiteral("Type /kick <USER> to vote a user to be kicked");
inline const QString In = QStringLiteral("Type /in to set mode to chatting");
inline const QString Out = QStringLiteral("Type /out to exit a hut");
inline const QString BotUpdate = QStringLiteral("Type /botupdate to update bot data");
inline const QString BotEdit = QStringLiteral("Type /botedit to change the bots responces");
inline const QString Ignore = QStringLiteral("Type /ignore <USER> to stop hearing a user");
inline const QString Unignore = QStringLiteral("Type /unignore <USER> to hear a user again");
inline const QString IgnoreList = QStringLiteral("Type /ignore to list the users you ignore");
inline const QString Alerts = QStringLiteral("Type /alerts off or /alerts on to stop or allow alerts");

// In the order the welcome lists them.
inline const QString All[] = {Select,    Away,    Brb,    Kick,     In,         Out,
                              BotUpdate, BotEdit, Ignore, Unignore, IgnoreList, Alerts};

} // namespace CommandHelp
