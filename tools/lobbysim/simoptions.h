#pragma once

#include "simplayer.h"

#include <QFlags>
#include <QStringList>

#include <optional>
#include <vector>

// What simulated players do when it is their turn.
enum class Behaviour {
    Chat = 0x1,   // say a line in the lobby
    Huts = 0x2,   // take a free hut slot (or leave the hut when all are taken)
    Launch = 0x4, // a hut's host starts the game for the hut
    Away = 0x8,   // go away or be right back, then come back in
    Vote = 0x10,  // vote to kick another simulated player
};
Q_DECLARE_FLAGS(Behaviours, Behaviour)
Q_DECLARE_OPERATORS_FOR_FLAGS(Behaviours)

// Bot tables of the players. Mirrored: the first player has none and says
// "hi" once everyone is in; the others answer "hi" with "hello" or, every
// second player, "hello" with "hi", so their bots answer each other.
enum class SimBots { None, Mirrored };

// One server of a network the crowd spreads over.
struct SimServer {
    QString host;
    quint16 port = 0;
    QString address() const { return host + u':' + QString::number(port); }
};

struct SimOptions {
    // Where player i goes: serverOf(i) and target's channel.
    SimTarget target;
    // Servers of one network the players connect to in turn (the first player
    // to the first server, the second to the second...); empty: target's.
    std::vector<SimServer> servers;
    // The server (1 for the first of `servers`) scripts/network.sh restarts
    // restartAtMs into the run; 0 for none.
    int restartServer = 0;
    int restartAtMs = 0;
    int players = 10;
    // Player names are the prefix and a number of fixed width: Sim01, Sim02...
    QString namePrefix = QStringLiteral("Sim");
    Behaviours behaviours = Behaviour::Chat | Behaviour::Huts;
    // One player acts every interval; 0 means nobody acts.
    int actionIntervalMs = 250;
    // How long the crowd acts; 0 means until the program is stopped.
    int durationMs = 30000;
    // Time between two players entering the lobby; 0 lets them all enter at once.
    int joinIntervalMs = 0;
    int reconnectMs = LobbyClient::ReconnectIntervalMs;
    // The same number gives the same choices of who does what.
    quint32 randomKey = 1;
    SimBots bots = SimBots::None;

    // The name of player `index` (0-based).
    QString playerName(int index) const;
    // Where player `index` connects.
    SimTarget targetOf(int index) const;
    // "host:port" of every server, comma-separated.
    QString serverList() const;
};

// "host:port,host:port" -> the servers; nullopt when one is malformed.
std::optional<std::vector<SimServer>> parseServers(const QString& text);
// "chat,huts,launch" -> the behaviours; "all" and "none" are accepted too.
std::optional<Behaviours> parseBehaviours(const QString& text);
QString behaviourNames(Behaviours behaviours);

// The command line of lobbysim (without the program name's special meaning:
// arguments[0] is skipped). On success `options` holds what it asked for,
// otherwise `error` says why. --help prints the help and ends the process.
struct ParsedCommandLine {
    std::optional<SimOptions> options;
    QString error;
};
ParsedCommandLine parseCommandLine(const QStringList& arguments);
