#include "lobby/members.h"

#include <limits>
#include <utility>

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

void Members::decode(qsizetype at)
{
    Member& m = m_members[at];
    EntryCode code = decodeEntry(m.entry);
    m.playing = code.playing;
    m.listText = code.listText();
    // A cell cut out of the entry is the whole of `owned`.
    m.cell = code.hut < 0 ? QString() : code.owned.isNull() ? code.cell.toString() : std::move(code.owned);
    m_places[at].hut = qint16(code.hut);
    m_places[at].slot = qint16(code.slot);
}

void Members::decodeAll()
{
    if (std::exchange(m_decoded, true))
        return;
    for (qsizetype i = 0; i < m_members.size(); ++i)
        decode(i);
}

void Members::reset(const QList<QStringView>& namesReply)
{
    // The names are decoded when a line first needs them: a reply is often
    // followed by the next one before any membership line.
    clear();
    m_members.reserve(namesReply.size());
    m_places.reserve(namesReply.size());
    for (QStringView entry : namesReply) {
        m_places.append(Place{foldedKey(entry.mid(markLength(entry)))});
        m_members.append(Member{entry.toString()});
    }
}

void Members::clear()
{
    m_members.clear();
    m_places.clear();
    m_decoded = false;
    m_listsChanged = true;
}

qsizetype Members::indexOf(QStringView nick) const
{
    const uint key = foldedKey(nick);
    for (qsizetype i = 0; i < m_places.size(); ++i) {
        if (m_places[i].key != key)
            continue;
        const QStringView entry(m_members[i].entry);
        if (entry.mid(markLength(entry)).compare(nick, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Members::joined(QStringView nick)
{
    // A member who comes back is listed first again, as the server lists him.
    const bool fits = !left(nick);
    m_places.prepend(Place{foldedKey(nick)});
    m_members.prepend(Member{nick.toString()});
    if (m_decoded)
        decode(0);
    m_listsChanged = true;
    return fits;
}

bool Members::left(QStringView nick)
{
    const qsizetype at = indexOf(nick);
    if (at < 0)
        return false;
    m_members.removeAt(at);
    m_places.removeAt(at);
    m_listsChanged = true;
    return true;
}

bool Members::renamed(QStringView from, QStringView to)
{
    const qsizetype at = indexOf(from);
    if (at < 0)
        return false;
    decodeAll();
    Member& m = m_members[at];
    const bool wasPlaying = m.playing;
    const QString listText = m.listText;
    m.entry.truncate(markLength(m.entry));
    m.entry.append(to);
    m_places[at].key = foldedKey(to);
    decode(at);
    // A move into or out of a hut mostly leaves the lists as they are.
    if (m.playing != wasPlaying || m.listText != listText)
        m_listsChanged = true;
    return true;
}

bool Members::rebuild(Declares& state, RosterLists& lists)
{
    decodeAll();
    clearShownHuts(state);
    const Place* places = m_places.constData();
    for (qsizetype i = 0; i < m_places.size(); ++i) {
        if (places[i].hut >= 0)
            state.HutTable[places[i].hut][places[i].slot] = m_members.at(i).cell;
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
