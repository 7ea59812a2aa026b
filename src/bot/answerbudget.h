#pragma once

#include <QHash>
#include <QString>

#include <deque>

// Decides whether the bot may answer a message, so that bots answering each
// other die out while people are still answered. Each sender may be answered
// MaxAnswers times within any WindowMs, and all senders together MaxInAll
// times, so a crowd of bots cannot keep one another going either; a message
// that matches several rows counts once.
//
// Why these numbers: bots answer one another within a second (one line a
// second under a server's flood penalties), so a chain of two mirrored bots
// spends both budgets well within 20 s and, once an answer is held back, stops
// for good: 1 + 3 + 3 = 7 answers for one trigger line, 8 when both bots answer
// the other's reply ("gg"/"gg"). A person triggering every 10 s has at most 3
// messages in any 20 s, even when a line arrives a little early, which a 30 s
// window would not survive; a second person has a budget of their own, and
// two such people take four of the six answers a window allows in all.
class AnswerBudget {
public:
    static constexpr int MaxAnswers = 3;
    static constexpr int MaxInAll = 6;
    static constexpr qint64 WindowMs = 20000;

    // True, and counted, when a message from `sender` at `nowMs` may be answered.
    bool take(const QString& sender, qint64 nowMs);

private:
    struct Answered {
        qint64 atMs;
        QString sender;
    };
    // The answers of the last window, oldest first, and how many went to
    // each sender: nothing older is kept, however many users come and go.
    std::deque<Answered> m_answered;
    QHash<QString, int> m_perSender;
};
