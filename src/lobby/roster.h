#pragma once

#include "app/declares.h"

#include <algorithm>

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

struct RosterLists {
    QStringList chatting;
    QStringList playing;
};

// What one block of a names reply changed in the lists.
struct RosterChange {
    const RosterLists& lists;
    // The reply began with this block: the lists are new as a whole.
    bool afresh;
    // Otherwise these first entries of each list were there before.
    qsizetype chattingBefore;
    qsizetype playingBefore;

    QStringList newChatting() const { return lists.chatting.mid(chattingBefore); }
    QStringList newPlaying() const { return lists.playing.mid(playingBefore); }
};

// The names reply of the lobby channel, which a busy lobby gets as several
// 353 lines, maybe across several reads, closed by a 366 line.
class NamesReply {
public:
    // The names of one 353 line, in order. A line after the end starts a new reply.
    void takeLine(QStringView names);
    // The 366 line ends the reply.
    void end() { m_open = false; }
    bool isOpen() const { return m_open; }
    const QList<QStringView>& entries() const { return m_entries; }
    void reset();
    // RebuildRoster over the names gathered so far. The names of earlier
    // reads of the same reply are decoded once only, so a reply read in many
    // small reads costs no more than one read whole.
    RosterChange rebuild(Declares& state);

private:
    QStringList m_texts;          // the names text of every 353 line taken
    QList<QStringView> m_entries; // one view into m_texts per name
    RosterLists m_roster;         // what the first m_decoded entries gave
    qsizetype m_decoded = 0;
    bool m_open = false;
};

// What one names entry shows: its line in one of the two lists and the hut
// cell it takes. The views are of the entry or of `owned`.
struct EntryCode {
    bool playing = false;
    QStringView mark;  // "(Away)" or "(BRB)" before the name, or nothing
    QStringView shown; // the name as listed
    int hut = -1;      // the cell taken, hut -1 for none
    int slot = -1;
    QStringView cell; // that cell's text
    QString owned;    // the entry without its "MM_"s, when they were not only in front

    QString listText() const
    {
        if (mark.isEmpty())
            return shown.toString();
        QString text(mark.size() + shown.size(), Qt::Uninitialized);
        std::copy(shown.begin(), shown.end(), std::copy(mark.begin(), mark.end(), text.data()));
        return text;
    }
};
EntryCode decodeEntry(QStringView entry);

// Empties the cells every rebuild fills anew: huts 0 to 4, slots 0 to 3.
void clearShownHuts(Declares& state);

// RebuildRoster: decodes the nickname code of every entry from `from` on into
// the two user lists and huts 0 to 4, slots 0 to 3 of HutTable, and counts
// all entries in UserCount. From 0 it starts afresh.
void RebuildRoster(Declares& state, const QList<QStringView>& entries, RosterLists& lists, qsizetype from);
