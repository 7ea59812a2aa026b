#pragma once

#include <QString>

struct LobbyContext;

// The player's own commands beside the lobby's: "/alerts", "/ignore" and
// "/unignore". Each is a whole word in any case ("/ignorance" is chat), and
// each answers with a line in the chat pane.
namespace PlayerCommands {

inline const QString AlertsOn = QStringLiteral("-=NOTICE: Alerts Are On=-");
inline const QString AlertsOff = QStringLiteral("-=NOTICE: Alerts Are Off=-");
inline const QString IgnoringNobody = QStringLiteral("You Are Ignoring Nobody");

// Runs text when it is one of these commands; false when it is not.
bool run(LobbyContext& lobby, const QString& text);

} // namespace PlayerCommands
