#include "bot/answerbudget.h"

bool AnswerBudget::take(const QString& sender, qint64 nowMs)
{
    while (!m_answered.empty() && nowMs - m_answered.front().atMs >= WindowMs) {
        const auto count = m_perSender.find(m_answered.front().sender);
        if (--*count == 0)
            m_perSender.erase(count);
        m_answered.pop_front();
    }
    if (m_answered.size() >= size_t(MaxInAll))
        return false;
    int& count = m_perSender[sender];
    if (count >= MaxAnswers)
        return false;
    ++count;
    m_answered.push_back({nowMs, sender});
    return true;
}
