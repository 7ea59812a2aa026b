#include "bot/botresponder.h"

#include "bot/answerbudget.h"
#include "irc/connection.h"

namespace BotResponder {

void scan(const Declares& state, Connection& connection, const QString& sender, const QString& message,
          AnswerBudget& budget, qint64 nowMs)
{
    if (message.isEmpty())
        return;
    const QString spoken = message.toLower();
    bool allowed = false;
    for (const auto& row : state.BotTable) {
        if (row[0].isEmpty())
            return;
        if (row[0].toLower() != spoken)
            continue;
        // The first matching row spends the budget for the whole message.
        if (!allowed && !budget.take(sender, nowMs))
            return;
        allowed = true;
        connection.SendChat(row[1]);
    }
}

} // namespace BotResponder
