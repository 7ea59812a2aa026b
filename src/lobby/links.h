#pragma once

#include <QString>

struct LobbyContext;

namespace Links {

inline const QString QuestionTitle = QStringLiteral("ZentharaNET IRC");

QString question(const QString& address);
QString browserCommandLine(const QString& address);

// A block with a posted link: asks the player and opens the page on Yes.
void receive(LobbyContext& lobby, const QString& block);

} // namespace Links
