#include "bot/answerbudget.h"

namespace {
bool expired(qint64 answeredMs, qint64 nowMs)
{
    return nowMs - answeredMs >= AnswerBudget::WindowMs;
}
} // namespace

bool AnswerBudget::take(const QString& sender, qint64 nowMs)
{
    std::deque<qint64>& times = m_answered[sender];
    while (!times.empty() && expired(times.front(), nowMs))
        times.pop_front();
    const bool allowed = times.size() < size_t(MaxAnswers);
    if (allowed)
        times.push_back(nowMs);
    if (m_answered.size() > m_sweepAt)
        forgetIdleSenders(nowMs);
    return allowed;
}

// A crowd of one-time senders must not make the table grow for ever.
void AnswerBudget::forgetIdleSenders(qint64 nowMs)
{
    m_answered.removeIf(
        [nowMs](const auto& entry) { return entry.value().empty() || expired(entry.value().back(), nowMs); });
    m_sweepAt = qMax<qsizetype>(64, 2 * m_answered.size());
}
