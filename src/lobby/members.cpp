#include "lobby/members.h"

#include <limits>

namespace {
// The marks a names reply may put before a nickname; no nickname begins with one.
bool isMark(QChar c)
{
    return c == u'+' || c == u'%' || c == u'&' || c == u'~' || c == u'@';
}

qsizetype markLength(QStringView entry)
{
    qsizetype n = 0;
    while (n < entry.size() && isMark(entry.at(n)))
        ++n;
    return n;
}

// Names equal without regard to case have equal keys, so comparing keys first
// skips nearly every other member; the compare itself still decides. Halves
// of a surrogate pair are left out: their pair folds as a whole.
uint foldedKey(QStringView nick)
{
    uint key = uint(nick.size());
    for (const QChar c : nick) {
        if (c.unicode() < 0x80)
            key = key * 31 + (c.unicode() >= u'A' && c.unicode() <= u'Z' ? c.unicode() + 32 : c.unicode());
        else if (!c.isSurrogate())
            key = key * 31 + c.toCaseFolded().unicode();
    }
    return key;
}
} // namespace

Members::Member Members::member(QString entry)
{
    Member m;
    m.key = foldedKey(QStringView(entry).mid(markLength(entry)));
    m.entry = std::move(entry);
    return m;
}

void Members::decode(Member& m)
{
    EntryCode code = decodeEntry(m.entry);
    m.playing = code.playing;
    m.listText = code.listText();
    m.hut = code.hut;
    m.slot = code.slot;
    // A cell cut out of the entry is the whole of `owned`.
    m.cell = code.hut < 0 ? QString() : code.owned.isNull() ? code.cell.toString() : std::move(code.owned);
    m.decoded = true;
}

void Members::reset(const QList<QStringView>& namesReply)
{
    // The names are decoded when a line first needs them: a reply is often
    // followed by the next one before any membership line.
    m_members.clear();
    m_members.reserve(namesReply.size());
    for (QStringView entry : namesReply)
        m_members.append(member(entry.toString()));
    m_listsChanged = true;
}

void Members::clear()
{
    m_members.clear();
    m_listsChanged = true;
}

qsizetype Members::indexOf(QStringView nick) const
{
    const uint key = foldedKey(nick);
    for (qsizetype i = 0; i < m_members.size(); ++i) {
        const Member& m = m_members[i];
        if (m.key != key)
            continue;
        const QStringView entry(m.entry);
        if (entry.mid(markLength(entry)).compare(nick, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Members::joined(QStringView nick)
{
    // A member who comes back is listed first again, as the server lists him.
    const bool fits = !left(nick);
    m_members.prepend(member(nick.toString()));
    decode(m_members.first());
    m_listsChanged = true;
    return fits;
}

bool Members::left(QStringView nick)
{
    const qsizetype at = indexOf(nick);
    if (at < 0)
        return false;
    m_members.removeAt(at);
    m_listsChanged = true;
    return true;
}

bool Members::renamed(QStringView from, QStringView to)
{
    const qsizetype at = indexOf(from);
    if (at < 0)
        return false;
    Member& m = m_members[at];
    const Member before = m;
    m = member(QStringView(before.entry).left(markLength(before.entry)).toString().append(to));
    decode(m);
    // A move into or out of a hut mostly leaves the lists as they are.
    if (!before.decoded || m.playing != before.playing || m.listText != before.listText)
        m_listsChanged = true;
    return true;
}

bool Members::rebuild(Declares& state, RosterLists& lists)
{
    clearShownHuts(state);
    for (Member& m : m_members) {
        if (!m.decoded)
            decode(m);
        if (m.hut >= 0)
            state.HutTable[m.hut][m.slot] = m.cell;
    }
    state.UserCount = qint16(qMin(m_members.size(), qsizetype(std::numeric_limits<qint16>::max())));
    if (!m_listsChanged)
        return false;
    m_listsChanged = false;
    lists = {};
    lists.chatting.reserve(m_members.size());
    for (const Member& m : m_members)
        (m.playing ? lists.playing : lists.chatting).append(m.listText);
    return true;
}
