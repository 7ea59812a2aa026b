#pragma once

#include <QString>

struct LobbyContext;
struct ServerLine;

namespace VoteKick {

inline const QString KickedMessage = QStringLiteral("50% of the users has voted and have kicked you!");

// True when votes reach half of userCount (exact division, so 5 users need 3).
inline bool thresholdReached(int votes, int userCount)
{
    return 2 * votes >= userCount;
}

// A channel message with a kick vote: counts a new voter against this client
// and ends the client once half of the lobby has voted. Only a voter who sent
// the vote himself counts. False stops the line.
bool receive(LobbyContext& lobby, const ServerLine& line);

} // namespace VoteKick
