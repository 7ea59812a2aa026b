#pragma once

#include "app/declares.h"

#include <QList>
#include <QStringList>
#include <QStringMatcher>
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
// 353 lines, maybe across several received blocks, closed by a 366 line.
class NamesReply {
public:
    // Takes the 353 lines for this nickname and channel from block, in order,
    // and notes where a 366 ends the reply. A 353 after the end starts a new
    // reply. True when block brought any 353 line of the reply.
    bool take(const QString& block, const QString& myNick, const QString& channel);
    // A block the names step did not read may still end the reply.
    void takeEnd(const QString& block, const QString& myNick, const QString& channel);
    void reset();
    // RebuildRoster over the names gathered so far. The names of earlier
    // blocks of the same reply are decoded once only, so a reply read in many
    // small blocks costs no more than one read whole.
    RosterChange rebuild(Declares& state);

private:
    void takeList(QStringView list);
    static QStringMatcher endMarker(const QString& myNick, const QString& channel);

    QStringList m_texts;          // the names text of every 353 line taken
    QList<QStringView> m_entries; // one view into m_texts per name
    RosterLists m_roster;         // what the first m_decoded entries gave
    qsizetype m_decoded = 0;
    bool m_open = false;
};

// RebuildRoster: decodes the nickname code of every entry from `from` on into
// the two user lists and huts 0 to 4, slots 0 to 3 of HutTable, and counts
// all entries in UserCount. From 0 it starts afresh.
void RebuildRoster(Declares& state, const QList<QStringView>& entries, RosterLists& lists, qsizetype from);
