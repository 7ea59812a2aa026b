#pragma once

#include "app/declares.h"

class AnswerBudget;
class Connection;

namespace BotResponder {

// Answers another user's channel message: every row whose trigger equals the
// whole message (ignoring case) sends its reply as chat, in row order. The
// scan ends at the first empty trigger. A message that matches is answered
// only while `budget` allows one more answer to `sender` (the user name the
// chat line shows) at `nowMs`; otherwise nothing is sent or shown.
void scan(const Declares& state, Connection& connection, const QString& sender, const QString& message,
          AnswerBudget& budget, qint64 nowMs);

} // namespace BotResponder
