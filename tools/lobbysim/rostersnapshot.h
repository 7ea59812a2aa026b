#pragma once

#include <QString>
#include <QStringList>

#include <array>

class SimPlayer;

// What one player's lobby shows of the others: both user lists (sorted, so
// two servers that list a channel in different orders still agree), the
// sixteen hut slots on screen and the user count of the last names reply.
struct RosterSnapshot {
    QStringList chatting;
    QStringList playing;
    std::array<QString, 16> huts; // index 4*h + s
    int userCount = 0;

    static RosterSnapshot of(const SimPlayer& player);

    int occupiedSlots() const;
    // One line for logs: counts and the occupied slots.
    QString describe() const;

    bool operator==(const RosterSnapshot& other) const
    {
        return chatting == other.chatting && playing == other.playing && huts == other.huts &&
               userCount == other.userCount;
    }
    bool operator!=(const RosterSnapshot& other) const { return !(*this == other); }
};
