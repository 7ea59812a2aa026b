#include "lobby/roster.h"

#include "lobby/nickcode.h"

#include <limits>

namespace {
constexpr auto CI = Qt::CaseInsensitive;
const QString CrLf = QStringLiteral("\r\n");
} // namespace

void NamesReply::reset()
{
    m_entries.clear();
    m_open = false;
}

QString NamesReply::endMarker(const QString& myNick, const QString& channel)
{
    return QStringLiteral("366 ") + myNick + u' ' + channel + QStringLiteral(" :");
}

void NamesReply::takeEnd(const QString& block, const QString& myNick, const QString& channel)
{
    if (block.contains(endMarker(myNick, channel), CI))
        m_open = false;
}

bool NamesReply::take(const QString& block, const QString& myNick, const QString& channel)
{
    const QString header = QStringLiteral("353 ") + myNick + QStringLiteral(" = ") + channel + QStringLiteral(" :");
    const QString end = endMarker(myNick, channel);
    bool took = false;
    qsizetype nextHeader = block.indexOf(header, 0, CI);
    qsizetype nextEnd = block.indexOf(end, 0, CI);
    while (nextHeader >= 0 || nextEnd >= 0) {
        if (nextHeader >= 0 && (nextEnd < 0 || nextHeader < nextEnd)) {
            const qsizetype listStart = nextHeader + header.size();
            const qsizetype lineEnd = block.indexOf(CrLf, listStart);
            if (lineEnd < 0)
                break; // a list without its line end is not read
            if (!m_open) {
                m_entries.clear();
                m_open = true;
            }
            takeList(QStringView(block).mid(listStart, lineEnd - listStart));
            took = true;
            nextHeader = block.indexOf(header, lineEnd, CI);
        } else {
            m_open = false;
            nextEnd = block.indexOf(end, nextEnd + end.size(), CI);
        }
    }
    return took;
}

void NamesReply::takeList(QStringView list)
{
    QString names = list.toString();
    names.remove(u'@'); // operator marks; a voice "+" stays
    // Servers send no blank after the last name: the line end ends it too.
    if (!names.endsWith(u' '))
        names.append(u' ');
    // A rest of two characters or fewer is no entry.
    qsizetype pos = 0;
    while (names.size() - pos > 2) {
        const qsizetype blank = names.indexOf(u' ', pos);
        m_entries.append(names.mid(pos, blank - pos));
        pos = blank + 1;
    }
}

namespace {

void addToHuts(Declares& state, const QString& code, const QString& entry)
{
    const int hut = NickCode::HexToNum(QStringView(code).mid(2, 2));
    const int slot = NickCode::HexToNum(QString(u'0' + code.mid(4, 1)));
    // Slot digits 5 to E name cells the table does not have: ignored.
    if (hut < 255 && slot < Declares::HutSlots)
        state.HutTable[hut][slot] = entry;
}

void decode(Declares& state, RosterLists& lists, const QString& raw)
{
    if (!raw.contains(NickCode::Marker, CI)) {
        lists.chatting.append(raw); // an ordinary IRC user
        return;
    }
    QString code = raw.left(NickCode::PrefixLength);
    code.remove(NickCode::Marker);
    QString entry = raw;
    entry.remove(NickCode::Marker);
    if (entry.size() < 5) {
        lists.chatting.append(raw); // a marker but no name behind the code
        return;
    }
    const QString shown = entry.mid(5);
    const QChar status = code.size() > 1 ? code.at(1) : QChar();
    if (status == u'b') {
        lists.playing.append(shown);
    } else if (status == u'a') {
        lists.chatting.append(shown);
        addToHuts(state, code, entry);
    } else if (status == u'c') {
        lists.chatting.append(QStringLiteral("(Away)") + shown);
    } else if (status == u'd') {
        lists.chatting.append(QStringLiteral("(BRB)") + shown);
    } else {
        lists.chatting.append(entry);
    }
}

} // namespace

RosterLists RebuildRoster(Declares& state, const QStringList& entries)
{
    for (int hut = 0; hut <= 4; ++hut) {
        for (int slot = 0; slot <= 3; ++slot)
            state.HutTable[hut][slot].clear();
    }
    RosterLists lists;
    int count = 0;
    for (const QString& raw : entries) {
        ++count;
        decode(state, lists, raw);
    }
    state.UserCount = qint16(qMin(count, int(std::numeric_limits<qint16>::max())));
    return lists;
}
