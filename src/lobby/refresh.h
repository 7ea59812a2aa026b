#pragma once

#include "app/declares.h"

// The once-a-second refresh of the lobby window: title and hut slots.
namespace Refresh {

inline const QString WindowCaption = QStringLiteral("Zenthara Razaz Aduda Clone");

// Caption for a socket state, tested in the order 6, 7, 9, 8.
QString lobbyTitle(int socketState, const Declares& state);
// The occupant's user name shown as a slot's tool tip; empty for a free slot.
QString slotToolTip(const QString& cell);

} // namespace Refresh
