#pragma once

#include <QString>

struct LobbyContext;
struct ServerLine;

namespace Links {

inline const QString QuestionTitle = QStringLiteral("ZentharaNET IRC");

QString question(const QString& address);
QString browserCommandLine(const QString& address);

// A channel message with a posted link: asks the player and opens the page
// on Yes. An address that is not one word is no link; while a question is
// open, a further link is left as the chat line it was shown as.
void receive(LobbyContext& lobby, const ServerLine& line);

} // namespace Links
