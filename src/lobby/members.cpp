#include "lobby/members.h"

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
} // namespace

void Members::reset(const QList<QStringView>& namesReply)
{
    m_entries.clear();
    m_entries.reserve(namesReply.size());
    for (QStringView entry : namesReply)
        m_entries.append(entry.toString());
}

qsizetype Members::indexOf(QStringView nick) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const QStringView entry(m_entries[i]);
        if (entry.mid(markLength(entry)).compare(nick, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Members::joined(QStringView nick)
{
    // A member who comes back is listed first again, as the server lists him.
    const bool fits = !left(nick);
    m_entries.prepend(nick.toString());
    return fits;
}

bool Members::left(QStringView nick)
{
    const qsizetype at = indexOf(nick);
    if (at < 0)
        return false;
    m_entries.removeAt(at);
    return true;
}

bool Members::renamed(QStringView from, QStringView to)
{
    const qsizetype at = indexOf(from);
    if (at < 0)
        return false;
    QString& entry = m_entries[at];
    entry = entry.left(markLength(entry)).append(to);
    return true;
}
