#pragma once

#include "irc/liveness.h"
#include "lobby/keptchat.h"

// Every interval of a lobby client, in one place. The window runs with the
// defaults; tests and the load generator shorten them.
struct Intervals {
    int refreshMs = 1000;                         // Timer1: caption and hut slots
    int reconnectMs = 6000;                       // ReConnect: a connection that is gone opens again
    qint64 quietMs = Liveness::DefaultQuietMs;    // nothing from the server this long: our own PING
    qint64 answerMs = Liveness::DefaultAnswerMs;  // still nothing this long after it: the link is gone
    int keptLineMs = KeptChat::DefaultIntervalMs; // kept chat goes out one line per interval at most
};
