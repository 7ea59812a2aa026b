#pragma once

#include "app/declares.h"
#include "app/ports.h"
#include "lobby/members.h"
#include "lobby/roster.h"

#include <QStringView>

// The lobby channel's roster as the client keeps it: the names reply that
// sets it, the membership lines that change it, and the one rebuild of lists
// and huts per read that changed it.
class LobbyRoster {
public:
    // Nothing known: the next names reply sets the roster anew.
    void reset();

    void namesLine(QStringView names);
    void namesEnd();
    // Each false when the line does not fit the kept members, or no names
    // reply has ended yet: then the client asks for the names.
    bool joined(QStringView nick) { return known() && m_members.joined(nick); }
    bool left(QStringView nick) { return known() && m_members.left(nick); }
    bool renamed(QStringView from, QStringView to) { return known() && m_members.renamed(from, to); }

    // After a read: rebuilds the lists and huts into state and view if the
    // read changed the roster. False when it did not; otherwise `complete`
    // tells whether the whole lobby is listed (no names reply still coming).
    bool rebuild(Declares& state, View& view, bool& complete);

private:
    // Whether the kept members can follow a membership line; a names reply
    // that is still open when one comes never ended and is given up.
    bool known();

    NamesReply m_names;
    Members m_members;
    bool m_known = false; // a names reply has ended, none is open
    enum class Rebuild { None, Names, Whole } m_rebuild = Rebuild::None;
};
