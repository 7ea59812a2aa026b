#pragma once

#include <QString>

#include <array>

// Fixed configuration of the program. The server host is chosen when the
// program is built (CMake cache variable ZEN_SERVER_HOST).
namespace Config {
inline const QString AppTitle = QStringLiteral("Zenthara Razaz Aduda");
inline const QString ServerHost = QStringLiteral(ZEN_SERVER_HOST);
inline constexpr qint16 ServerPort = 6664;
inline const QString FieldSep = QStringLiteral("|||");
// Title of every message box that does not name its own.
inline const QString DefaultTitle = QStringLiteral("ZenLobby");
} // namespace Config

// The whole state of one lobby client. Field names are the ones the lobby
// protocol uses; the routines that change a field own its rules. One instance
// lives in each LobbyClient, so several clients can share a process.
struct Declares {
    static constexpr int HutRows = 257;
    static constexpr int HutSlots = 5;
    static constexpr int BotRows = 1001;

    QString AppTitle;
    QString ServerHost;
    qint16 ServerPort = 0;
    QString FieldSep;

    QString MyNick;
    QString NickSuffix;
    QString CodeLetter;
    QString NickPrefix;
    QString CurrentChannel;

    qint16 UserCount = 0;
    int KickVotes = 0;
    QString KickVoters;

    // HutTable[h][s]: occupant of slot s of hut h (nickname without "MM_"), or empty.
    std::array<std::array<QString, HutSlots>, HutRows> HutTable;
    // BotTable[i][0] trigger, BotTable[i][1] reply.
    std::array<std::array<QString, 2>, BotRows> BotTable;

    // The configuration values the start-up assigns; tests override host and port.
    void applyConfiguration()
    {
        AppTitle = Config::AppTitle;
        ServerHost = Config::ServerHost;
        ServerPort = Config::ServerPort;
        FieldSep = Config::FieldSep;
    }
};
