#include "bot/botresponder.h"

#include "irc/connection.h"

namespace BotResponder {

void scan(const Declares& state, Connection& connection, const QString& message)
{
    if (message.isEmpty())
        return;
    const QString spoken = message.toLower();
    for (const auto& row : state.BotTable) {
        if (row[0].isEmpty())
            return;
        if (row[0].toLower() == spoken)
            connection.SendChat(row[1]);
    }
}

} // namespace BotResponder
