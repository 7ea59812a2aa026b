#include "simoptions.h"

#include "app/login.h"

#include <QCommandLineParser>

namespace {

struct BehaviourName {
    const char* name;
    Behaviour behaviour;
};
const BehaviourName behaviourTable[] = {
    {"chat", Behaviour::Chat}, {"huts", Behaviour::Huts}, {"launch", Behaviour::Launch},
    {"away", Behaviour::Away}, {"vote", Behaviour::Vote},
};

int digitsFor(int players)
{
    int digits = 2;
    for (int limit = 100; players > limit - 1; limit *= 10)
        ++digits;
    return digits;
}

std::optional<int> number(const QString& text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

QString SimOptions::playerName(int index) const
{
    return namePrefix + QStringLiteral("%1").arg(index + 1, digitsFor(players), 10, QLatin1Char('0'));
}

SimTarget SimOptions::targetOf(int index) const
{
    SimTarget t = target;
    if (!servers.empty()) {
        const SimServer& server = servers[size_t(index) % servers.size()];
        t.host = server.host;
        t.port = server.port;
    }
    return t;
}

QString SimOptions::serverList() const
{
    if (servers.empty())
        return SimServer{target.host, target.port}.address();
    QStringList list;
    for (const SimServer& server : servers)
        list << server.address();
    return list.join(u',');
}

std::optional<std::vector<SimServer>> parseServers(const QString& text)
{
    std::vector<SimServer> servers;
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        const qsizetype colon = item.lastIndexOf(u':');
        const auto port = colon > 0 ? number(item.mid(colon + 1), 1, 65535) : std::nullopt;
        if (!port)
            return std::nullopt;
        servers.push_back({item.left(colon).trimmed(), quint16(*port)});
    }
    if (servers.empty())
        return std::nullopt;
    return servers;
}

std::optional<Behaviours> parseBehaviours(const QString& text)
{
    Behaviours result;
    const QStringList words = text.toLower().split(u',', Qt::SkipEmptyParts);
    for (QString word : words) {
        word = word.trimmed();
        if (word == QStringLiteral("none"))
            continue;
        if (word == QStringLiteral("all")) {
            for (const auto& entry : behaviourTable)
                result |= entry.behaviour;
            continue;
        }
        bool known = false;
        for (const auto& entry : behaviourTable) {
            if (word == QLatin1String(entry.name)) {
                result |= entry.behaviour;
                known = true;
            }
        }
        if (!known)
            return std::nullopt;
    }
    return result;
}

QString behaviourNames(Behaviours behaviours)
{
    QStringList names;
    for (const auto& entry : behaviourTable) {
        if (behaviours.testFlag(entry.behaviour))
            names << QString::fromLatin1(entry.name);
    }
    return names.isEmpty() ? QStringLiteral("none") : names.join(u',');
}

ParsedCommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Fills a lobby with simulated players: whole lobby clients without windows that chat, take hut "
        "slots, launch games, go away and vote, and prints what happened when they are done."));
    const QCommandLineOption help = parser.addHelpOption();
    const SimOptions defaults;
    const QCommandLineOption host({QStringLiteral("s"), QStringLiteral("server")},
                                  QStringLiteral("IRC server to connect to."), QStringLiteral("host"),
                                  defaults.target.host);
    const QCommandLineOption port({QStringLiteral("p"), QStringLiteral("port")}, QStringLiteral("Its port."),
                                  QStringLiteral("port"), QString::number(defaults.target.port));
    const QCommandLineOption servers(
        QStringLiteral("servers"),
        QStringLiteral("Servers of one network, instead of --server and --port: the players connect to "
                       "them in turn."),
        QStringLiteral("host:port,..."));
    const QCommandLineOption restart(
        QStringLiteral("restart-server"),
        QStringLiteral("Restarts server n of --servers (1 is the first) that many seconds into the run, "
                       "with scripts/network.sh; its players reconnect and rejoin."),
        QStringLiteral("n> <seconds"));
    const QCommandLineOption lobby(
        {QStringLiteral("l"), QStringLiteral("lobby")},
        QStringLiteral("Lobby 0 to 8, channel #ZentharaNET_<n>; 0 is \"Lobby 1\" of the lobby choice."),
        QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption channel({QStringLiteral("c"), QStringLiteral("channel")},
                                     QStringLiteral("Any channel instead of a numbered lobby."),
                                     QStringLiteral("channel"));
    const QCommandLineOption players({QStringLiteral("n"), QStringLiteral("players")},
                                     QStringLiteral("Number of simulated players."), QStringLiteral("count"),
                                     QString::number(defaults.players));
    const QCommandLineOption names(QStringLiteral("names"),
                                   QStringLiteral("Name prefix; a number is added (Sim01, Sim02...)."),
                                   QStringLiteral("prefix"), defaults.namePrefix);
    const QCommandLineOption behave(
        {QStringLiteral("b"), QStringLiteral("behave")},
        QStringLiteral("What players do: a list of chat, huts, launch, away, vote, "
                       "or all, or none."),
        QStringLiteral("list"), behaviourNames(defaults.behaviours));
    const QCommandLineOption interval({QStringLiteral("i"), QStringLiteral("interval")},
                                      QStringLiteral("Milliseconds between two actions of the crowd."),
                                      QStringLiteral("ms"), QString::number(defaults.actionIntervalMs));
    const QCommandLineOption duration({QStringLiteral("t"), QStringLiteral("time")},
                                      QStringLiteral("Seconds the crowd acts; 0 runs until interrupted."),
                                      QStringLiteral("seconds"), QString::number(defaults.durationMs / 1000));
    const QCommandLineOption join(QStringLiteral("join-interval"),
                                  QStringLiteral("Milliseconds between two players entering the lobby."),
                                  QStringLiteral("ms"), QString::number(defaults.joinIntervalMs));
    const QCommandLineOption random(QStringLiteral("random"),
                                    QStringLiteral("Number that fixes who does what; the same number repeats "
                                                   "the same choices."),
                                    QStringLiteral("n"), QString::number(defaults.randomKey));

    const QCommandLineOption bots(
        QStringLiteral("bots"),
        QStringLiteral("Bot tables: none, or mirrored (the first player says \"hi\" "
                       "once; the others' bots answer hi with hello and hello with hi, "
                       "and the summary counts the answers)."),
        QStringLiteral("tables"), QStringLiteral("none"));

    parser.addOptions({host, port, servers, restart, lobby, channel, players, names, behave, interval,
                       duration, join, random, bots});

    // --restart-server takes two values: "--restart-server 3 60".
    QStringList args = arguments;
    const qsizetype at = args.indexOf(QStringLiteral("--restart-server"));
    if (at >= 0 && at + 2 < args.size())
        args.replace(at + 1, args[at + 1] + u' ' + args.takeAt(at + 2));

    ParsedCommandLine result;
    if (!parser.parse(args)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        parser.showHelp(); // prints and exits
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("unexpected argument: ") + parser.positionalArguments().first();
        return result;
    }

    SimOptions options;
    options.target.host = parser.value(host);
    const auto portValue = number(parser.value(port), 1, 65535);
    const auto lobbyValue = number(parser.value(lobby), 0, 8);
    const auto playersValue = number(parser.value(players), 1, 5000);
    const auto intervalValue = number(parser.value(interval), 0, 3600 * 1000);
    const auto durationValue = number(parser.value(duration), 0, 7 * 24 * 3600);
    const auto joinValue = number(parser.value(join), 0, 3600 * 1000);
    const auto behaviours = parseBehaviours(parser.value(behave));
    bool randomOk = false;
    const quint32 randomValue = parser.value(random).toUInt(&randomOk);
    const QString botsValue = parser.value(bots).toLower();
    const auto serversValue =
        parser.isSet(servers) ? parseServers(parser.value(servers)) : std::optional<std::vector<SimServer>>{};
    const QStringList restartWords = parser.value(restart).split(u' ');
    const auto restartServer = restartWords.size() == 2
                                   ? number(restartWords[0], 1, serversValue ? int(serversValue->size()) : 0)
                                   : std::nullopt;
    const auto restartAt =
        restartWords.size() == 2 ? number(restartWords[1], 1, 7 * 24 * 3600) : std::nullopt;
    if (parser.isSet(servers) && !serversValue)
        result.error = QStringLiteral("--servers takes host:port,host:port...");
    else if (parser.isSet(restart) && (!restartServer || !restartAt))
        result.error = QStringLiteral("--restart-server takes the number of one of --servers and the seconds "
                                      "into the run");
    else if (options.target.host.isEmpty())
        result.error = QStringLiteral("the server name is empty");
    else if (!portValue)
        result.error = QStringLiteral("the port must be a number from 1 to 65535");
    else if (!lobbyValue)
        result.error = QStringLiteral("the lobby must be a number from 0 to 8");
    else if (!playersValue)
        result.error = QStringLiteral("the number of players must be from 1 to 5000");
    else if (!intervalValue || !durationValue || !joinValue)
        result.error = QStringLiteral("intervals and the time must be whole numbers, 0 or more");
    else if (!behaviours)
        result.error = QStringLiteral("unknown behaviour in \"%1\"").arg(parser.value(behave));
    else if (!randomOk)
        result.error = QStringLiteral("--random takes a whole number, 0 or more");
    else if (botsValue != QStringLiteral("none") && botsValue != QStringLiteral("mirrored"))
        result.error = QStringLiteral("--bots takes none or mirrored");
    if (!result.error.isEmpty())
        return result;

    options.target.port = quint16(*portValue);
    options.target.channel =
        parser.isSet(channel) ? parser.value(channel) : QStringLiteral("#ZentharaNET_%1").arg(*lobbyValue);
    options.players = *playersValue;
    options.namePrefix = parser.value(names);
    options.behaviours = *behaviours;
    options.actionIntervalMs = *intervalValue;
    options.durationMs = *durationValue * 1000;
    options.joinIntervalMs = *joinValue;
    options.randomKey = randomValue;
    options.bots = botsValue == QStringLiteral("mirrored") ? SimBots::Mirrored : SimBots::None;
    if (serversValue)
        options.servers = *serversValue;
    if (parser.isSet(restart)) {
        options.restartServer = *restartServer;
        options.restartAtMs = *restartAt * 1000;
    }

    // The names must pass the login unchanged and leave the nickname within
    // the 20 characters a lobby name may have.
    QString lastName = options.playerName(options.players - 1);
    const QString typed = lastName;
    Declares probe;
    if (!Login::logIn(probe, lastName) || lastName != typed) {
        result.error = QStringLiteral("the name prefix \"%1\" makes names the login refuses or changes (%2)")
                           .arg(options.namePrefix, typed);
        return result;
    }
    if (!options.target.channel.startsWith(u'#') || options.target.channel.contains(u' ')) {
        result.error = QStringLiteral("a channel starts with # and holds no blank");
        return result;
    }
    result.options = options;
    return result;
}
