#pragma once

#include <QString>

namespace WireText {

// What the player typed, as the wire and bot.dat carry it: one byte per
// character. A character outside that range (a surrogate pair counts as one)
// becomes "?", so the state, the echo and what the server sees agree.
QString fromTyped(const QString& typed);

} // namespace WireText
