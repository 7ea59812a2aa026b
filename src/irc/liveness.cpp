#include "irc/liveness.h"

#include <algorithm>

void Liveness::setIntervals(qint64 quietMs, qint64 answerMs)
{
    m_quietMs = quietMs;
    m_answerMs = answerMs;
}

qint64 Liveness::checkEveryMs() const
{
    return std::clamp(std::min(m_quietMs, m_answerMs) / 10, qint64(10), qint64(1000));
}

void Liveness::heard(qint64 now)
{
    m_lastHeard = now;
    m_pinged = false;
    m_dropped = false;
}

Liveness::Step Liveness::check(qint64 now)
{
    if (m_dropped || now - m_lastHeard < m_quietMs)
        return Step::None;
    if (!m_pinged) {
        m_pinged = true;
        m_pingedAt = now;
        return Step::Ping;
    }
    if (now - m_pingedAt < m_answerMs)
        return Step::None;
    m_dropped = true;
    return Step::Drop;
}
