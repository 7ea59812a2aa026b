#include "ui/chatline.h"

#include <QKeyEvent>

#include <algorithm>

ChatLine::ChatLine(QWidget* parent) : QLineEdit(parent) {}

void ChatLine::remember(const QString& line)
{
    if (!line.isEmpty())
        m_history.append(line);
    if (m_history.size() > HistorySize)
        m_history.removeFirst();
    m_walk = m_history.size();
    m_typed.clear();
}

void ChatLine::walk(int step)
{
    const qsizetype to = m_walk + step;
    if (to < 0 || to > m_history.size())
        return;
    if (m_walk == m_history.size())
        m_typed = text();
    m_walk = to;
    setText(m_walk == m_history.size() ? m_typed : m_history[m_walk]);
}

bool ChatLine::complete()
{
    if (m_matches.isEmpty() || text() != m_completed || cursorPosition() != m_completedAt) {
        const QString line = text();
        const qsizetype end = cursorPosition();
        qsizetype start = end;
        while (start > 0 && !line.at(start - 1).isSpace())
            --start;
        const QString word = line.mid(start, end - start);
        if (word.isEmpty() || !m_names)
            return false;
        m_matches.clear();
        for (const QString& name : m_names()) {
            if (name.startsWith(word, Qt::CaseInsensitive) && !m_matches.contains(name, Qt::CaseInsensitive))
                m_matches.append(name);
        }
        if (m_matches.isEmpty())
            return false;
        std::stable_sort(m_matches.begin(), m_matches.end(), [](const QString& a, const QString& b) {
            return a.size() != b.size() ? a.size() < b.size() : a.compare(b, Qt::CaseInsensitive) < 0;
        });
        m_match = 0;
        m_before = line.left(start);
        m_after = line.mid(end);
    } else {
        m_match = (m_match + 1) % m_matches.size();
    }
    // At the start of the line the name is whom the line speaks to.
    const QString name = m_matches[m_match] + (m_before.isEmpty() ? QStringLiteral(", ") : QString());
    setText(m_before + name + m_after);
    setCursorPosition(int(m_before.size() + name.size()));
    m_completed = text();
    m_completedAt = cursorPosition();
    return true;
}

bool ChatLine::event(QEvent* event)
{
    // Tab completes when there is a name to complete to; otherwise it moves
    // the focus on, as everywhere else in the window.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier && complete())
            return true;
    }
    return QLineEdit::event(event);
}

void ChatLine::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up)
        walk(-1);
    else if (event->key() == Qt::Key_Down)
        walk(1);
    else
        QLineEdit::keyPressEvent(event);
}
