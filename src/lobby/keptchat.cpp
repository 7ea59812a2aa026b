#include "lobby/keptchat.h"

#include "irc/connection.h"
#include "lobby/servernotice.h"

#include <utility>

KeptChat::KeptChat(Connection& connection, View& view, QObject* parent)
    : QObject(parent), m_connection(connection), m_view(view)
{
    m_timer.setInterval(DefaultIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &KeptChat::sendNext);
}

bool KeptChat::inLobby() const
{
    // A lobby switch closes the connection without a word to us.
    return m_joined && m_connection.state() == SocketState::Connected;
}

void KeptChat::say(const QString& text)
{
    if (inLobby() && m_lines.isEmpty() && !m_timer.isActive()) {
        m_connection.SendChat(text);
        return;
    }
    // Behind kept lines a new one waits its turn, so the order holds.
    m_lines << text;
    if (m_lines.size() > MaxKept) {
        m_lines.removeFirst();
        ++m_dropped;
    }
    if (!inLobby())
        m_view.appendChat(ServerNotice::keptLine(text));
}

void KeptChat::setJoined(bool joined)
{
    m_joined = joined;
    if (!joined) {
        m_timer.stop();
        return;
    }
    if (m_dropped > 0)
        m_view.appendChat(ServerNotice::droppedLine(std::exchange(m_dropped, 0)));
    sendNext();
}

void KeptChat::sendNext()
{
    if (!inLobby() || m_lines.isEmpty()) {
        m_timer.stop();
        return;
    }
    m_connection.SendChat(m_lines.takeFirst());
    // Runs one more interval after the last line, so a line typed right
    // after it keeps the pace too.
    if (!m_timer.isActive())
        m_timer.start();
}
