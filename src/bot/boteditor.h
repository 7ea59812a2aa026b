#pragma once

#include <QString>

#include <optional>

// The bot editor works on the raw text of bot.dat; what the window shows is
// what Save writes, byte for byte.
namespace BotEditor {

inline const QString LoadFailedMessage = QStringLiteral("Could Not Load Data");
inline const QString SaveFailedMessage = QStringLiteral("Could Not Save Data");

// The whole text of folder/bot.dat; nothing when it is missing or unreadable.
std::optional<QString> load(const QString& folder);
// The text with one "trigger|reply" record and its line end appended.
QString add(const QString& text, const QString& trigger, const QString& reply);
// Replaces folder/bot.dat with text, exactly as it stands. The old file stays
// whole until the new one is completely written.
bool save(const QString& folder, const QString& text);

} // namespace BotEditor
