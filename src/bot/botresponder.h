#pragma once

#include "app/declares.h"

class Connection;

namespace BotResponder {

// Answers another user's channel message: every row whose trigger equals the
// whole message (ignoring case) sends its reply as chat, in row order. The
// scan ends at the first empty trigger.
void scan(const Declares& state, Connection& connection, const QString& message);

} // namespace BotResponder
