#include "bot/answerbudget.h"

#include <gtest/gtest.h>

namespace {

// Why these limits stop chains of bots and still answer people is told beside them.
TEST(AnswerBudget, ThreeAnswersToASenderAndSixInAllWithinAnyTwentySeconds)
{
    // Messages as sender@ms, and whether each may be answered.
    const std::pair<const char*, const char*> cases[] = {
        {"A@0 A@1 A@2 A@19999 A@20000 B@20000", "111011"},
        // Two bots answering each other stop.
        {"A@0 B@5 A@10 B@15 A@20 B@25 A@30 B@35", "11111100"},
        // A message held back costs nothing.
        {"A@0 A@0 A@0 A@0 A@10000 A@20000 A@20000 A@20000 A@20000", "111001110"},
        {"A@0 A@0 A@0 B@0 B@0 B@0 C@0 C@19999 C@20000", "111111001"},
        {"A@0 B@1 A@2 A@3 A@20001 A@20001 B@20001", "1111101"},
    };
    for (const auto& [messages, answered] : cases) {
        AnswerBudget budget;
        QString taken;
        for (const QString& message : QString::fromLatin1(messages).split(u' '))
            taken +=
                budget.take(message.section(u'@', 0, 0), message.section(u'@', 1).toLongLong()) ? '1' : '0';
        EXPECT_EQ(taken.toStdString(), answered) << messages;
    }
}

} // namespace
