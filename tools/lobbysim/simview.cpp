#include "simview.h"

#include <algorithm>
#include <iterator>

namespace {
qint64 lineEnds(const QString& text)
{
    return text.count(QStringLiteral("\r\n"));
}
} // namespace

void SimView::appendChat(const QString& text)
{
    m_chat += text;
    m_chatLines += lineEnds(text);
    if (m_lineShown) {
        const QList<QStringView> lines = QStringView(text).split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            m_lineShown(lines[i]);
    }
    if (m_chat.size() > 2 * KeptChat)
        m_chat.remove(0, m_chat.size() - KeptChat);
}

void SimView::setChatText(const QString& text)
{
    m_chat = text.right(KeptChat);
    m_chatLines = lineEnds(text);
}

void SimView::setUserLists(const QStringList& chatting, const QStringList& playing)
{
    m_chatList = chatting;
    m_playList = playing;
    ++m_listUpdates;
}

void SimView::appendUsers(const QStringList& chatting, const QStringList& playing)
{
    m_chatList += chatting;
    m_playList += playing;
    ++m_listUpdates;
}

void SimView::setSlot(int index, bool taken, const QString&)
{
    if (index >= 0 && index < 34)
        m_taken[index] = taken;
}

void SimView::loadPictures()
{
    std::fill(std::begin(m_taken), std::end(m_taken), false);
}

bool SimView::slotTaken(int index) const
{
    return index >= 0 && index < 34 && m_taken[index];
}
