#include "lobby/roster.h"

#include "lobby/nickcode.h"

#include <limits>

namespace {
constexpr auto CI = Qt::CaseInsensitive;
} // namespace

void NamesReply::reset()
{
    m_entries.clear();
    m_texts.clear();
    m_roster = {};
    m_decoded = 0;
    m_open = false;
}

void NamesReply::takeLine(QStringView list)
{
    if (!m_open) {
        reset();
        m_open = true;
    }
    // Operator marks go, a voice "+" stays. The entries view this copy, whose
    // characters stay where they are while the reply is kept.
    m_texts.append(list.toString());
    QString& names = m_texts.last();
    names.remove(u'@');
    const QStringView text(names);
    // Servers send no blank after the last name: the line end ends it too.
    // A rest of two characters or fewer is no entry.
    const qsizetype size = text.endsWith(u' ') ? text.size() : text.size() + 1;
    qsizetype pos = 0;
    while (size - pos > 2) {
        qsizetype blank = text.indexOf(u' ', pos);
        if (blank < 0)
            blank = text.size();
        m_entries.append(text.mid(pos, blank - pos));
        pos = blank + 1;
    }
}

namespace {

// The cells of huts 0 to 4 that names of one pass take. A busy lobby names
// the same twenty cells over and over and the last name wins, so the cells
// keep views into the reply until the pass ends and only the winners become
// texts of the table.
struct HutPlaces {
    QStringView cell[5][Declares::HutSlots];
    QString owned[5][Declares::HutSlots]; // texts the views point into, if any
    bool taken[5][Declares::HutSlots] = {};

    void place(int hut, int slot, QStringView entry, QString ownedEntry)
    {
        taken[hut][slot] = true;
        owned[hut][slot] = std::move(ownedEntry);
        cell[hut][slot] = owned[hut][slot].isNull() ? entry : QStringView(owned[hut][slot]);
    }
    void writeTo(Declares& state) const
    {
        for (int hut = 0; hut <= 4; ++hut) {
            for (int slot = 0; slot < Declares::HutSlots; ++slot) {
                if (taken[hut][slot])
                    state.HutTable[hut][slot] = cell[hut][slot].toString();
            }
        }
    }
};

// Whether text holds "MM_" (exact case). Lobby names hold no "_" at all, so
// looking for that one character settles it for nearly every name.
bool holdsMarker(QStringView text)
{
    for (qsizetype at = text.indexOf(u'_'); at >= 0; at = text.indexOf(u'_', at + 1)) {
        if (at >= 2 && text.mid(at - 2, 3) == NickCode::Marker)
            return true;
    }
    return false;
}

void placeInHut(EntryCode& decoded, QStringView code, QStringView entry)
{
    const int hut = NickCode::HexToNum(code.mid(2, 2));
    const QChar slotDigits[2] = {u'0', code.size() > 4 ? code.at(4) : QChar()};
    const int slot = NickCode::HexToNum(QStringView(slotDigits, code.size() > 4 ? 2 : 1));
    // Slot digits 5 to E name cells the table does not have: ignored.
    if (hut < 255 && slot < Declares::HutSlots) {
        decoded.hut = hut;
        decoded.slot = slot;
        decoded.cell = entry;
    }
}

const QStringView Away = u"(Away)";
const QStringView Brb = u"(BRB)";

// Both rebuilds decode with this; the names reply's runs over every name.
Q_ALWAYS_INLINE EntryCode decode(QStringView raw)
{
    EntryCode decoded;
    // The code is the first eight characters and the entry the whole name,
    // each without any "MM_". Lobby clients write the marker once, in front,
    // and then both are plain views of the name.
    QString codeText;
    QStringView code, entry;
    if (raw.startsWith(NickCode::Marker) && !holdsMarker(raw.mid(3))) {
        entry = raw.mid(3);
        code = entry.left(5);
    } else if (!raw.contains(NickCode::Marker, CI)) {
        decoded.shown = raw; // an ordinary IRC user
        return decoded;
    } else {
        codeText = raw.left(NickCode::PrefixLength).toString().remove(NickCode::Marker);
        decoded.owned = raw.toString().remove(NickCode::Marker);
        code = codeText;
        entry = decoded.owned;
    }
    if (entry.size() < 5) {
        decoded.shown = raw; // a marker but no name behind the code
        return decoded;
    }
    const QStringView name = entry.mid(5);
    const QChar status = code.size() > 1 ? code.at(1) : QChar();
    decoded.shown = name;
    if (status == u'b') {
        decoded.playing = true;
    } else if (status == u'a') {
        placeInHut(decoded, code, entry);
    } else if (status == u'c') {
        decoded.mark = Away;
    } else if (status == u'd') {
        decoded.mark = Brb;
    } else {
        decoded.shown = entry;
    }
    return decoded;
}

} // namespace

EntryCode decodeEntry(QStringView raw)
{
    return decode(raw);
}

void clearShownHuts(Declares& state)
{
    for (int hut = 0; hut <= 4; ++hut) {
        for (int slot = 0; slot <= 3; ++slot)
            state.HutTable[hut][slot].clear();
    }
}

void RebuildRoster(Declares& state, const QList<QStringView>& entries, RosterLists& lists, qsizetype from)
{
    if (from == 0) {
        clearShownHuts(state);
        lists = {};
        lists.chatting.reserve(entries.size());
    }
    HutPlaces places;
    for (qsizetype i = from; i < entries.size(); ++i) {
        EntryCode decoded = decode(entries[i]);
        (decoded.playing ? lists.playing : lists.chatting).append(decoded.listText());
        if (decoded.hut < 0)
            continue;
        if (decoded.hut <= 4)
            places.place(decoded.hut, decoded.slot, decoded.cell, std::move(decoded.owned));
        else
            state.HutTable[decoded.hut][decoded.slot] = decoded.cell.toString();
    }
    places.writeTo(state);
    state.UserCount = qint16(qMin(entries.size(), qsizetype(std::numeric_limits<qint16>::max())));
}

RosterChange NamesReply::rebuild(Declares& state)
{
    const bool afresh = m_decoded == 0;
    const RosterChange change{m_roster, afresh, afresh ? 0 : m_roster.chatting.size(),
                              afresh ? 0 : m_roster.playing.size()};
    RebuildRoster(state, m_entries, m_roster, m_decoded);
    m_decoded = m_entries.size();
    return change;
}
