#include "lobby/lobbyroster.h"

#include <utility>

void LobbyRoster::reset()
{
    m_names.reset();
    m_members.clear();
    m_known = false;
    m_rebuild = Rebuild::None;
}

void LobbyRoster::namesLine(QStringView names)
{
    m_names.takeLine(names);
    m_known = false;
    m_rebuild = Rebuild::Names;
}

void LobbyRoster::namesEnd()
{
    m_names.end();
    m_members.reset(m_names.entries());
    m_known = true;
}

bool LobbyRoster::known()
{
    if (!m_known) {
        m_names.end();
        return false;
    }
    m_rebuild = Rebuild::Whole;
    return true;
}

bool LobbyRoster::rebuild(Declares& state, View& view, bool& complete)
{
    const Rebuild kind = std::exchange(m_rebuild, Rebuild::None);
    if (kind == Rebuild::Names) {
        // A reply read in many small reads hands on only what each read
        // added, so the window's lists grow with the reply instead of being
        // copied and filled again for every read.
        const RosterChange change = m_names.rebuild(state);
        if (change.afresh)
            view.setUserLists(change.lists.chatting, change.lists.playing);
        else
            view.appendUsers(change.newChatting(), change.newPlaying());
    } else if (kind == Rebuild::Whole) {
        // The same rebuild a names reply of these members would bring; the
        // window's lists are filled again only when they changed.
        RosterLists lists;
        if (m_members.rebuild(state, lists))
            view.setUserLists(lists.chatting, lists.playing);
    }
    complete = kind == Rebuild::Whole || !m_names.isOpen();
    return kind != Rebuild::None;
}
