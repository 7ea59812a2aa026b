#pragma once

#include "app/declares.h"
#include "lobby/roster.h"

#include <QList>
#include <QString>
#include <QStringView>

// The lobby channel's members, in the order the server lists them (newest
// first, a rename in place), each entry as a names reply gives it to the
// roster: operator marks gone, any other membership mark kept. Every member
// keeps what its entry decodes to, so a line about one member decodes one
// name, not the whole lobby.
class Members {
public:
    void reset(const QList<QStringView>& namesReply);
    void clear();
    // Each returns false when the line does not fit the list (a join of
    // someone listed, a part or rename of someone not listed); the list then
    // is as the line says all the same, as far as it can be.
    bool joined(QStringView nick);
    bool left(QStringView nick);
    bool renamed(QStringView from, QStringView to);

    // Writes the huts and UserCount that RebuildRoster over the members'
    // entries writes. The lists it would give go to `lists` only when they
    // differ from those of the last rebuild; then it returns true.
    bool rebuild(Declares& state, RosterLists& lists);

private:
    struct Member {
        QString entry;
        bool playing = false;
        QString listText;
        QString cell;
    };
    // What a line's lookup and the hut rebuild read of every member, kept
    // apart from the texts so they read a few cache lines, not the whole list.
    struct Place {
        uint key = 0;    // of the nickname without its marks, case folded
        qint16 hut = -1; // the cell the entry takes, hut -1 for none
        qint16 slot = -1;
    };
    void decode(qsizetype at);
    void decodeAll();
    qsizetype indexOf(QStringView nick) const;

    QList<Member> m_members;
    QList<Place> m_places; // one for each member, in the same order
    bool m_decoded = false;
    bool m_listsChanged = true;
};
