#include "bot/answerbudget.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

struct Bot {
    QString name, trigger, reply;
};
struct Said {
    qint64 atMs;
    QString sender, text;
};

// Plays one channel for a minute: Cid says `text` every everyMs from 0 (Dan
// says it 5 s after him when `dan`), and each bot but the sender whose trigger
// equals a line answers it hopMs later, if its own budget lets it. Gives the
// answers to people, then all answers.
std::pair<int, int> play(const std::vector<Bot>& bots, const QString& text, qint64 everyMs, bool dan,
                         qint64 hopMs)
{
    std::vector<AnswerBudget> budgets(bots.size());
    std::multimap<qint64, Said> channel;
    for (qint64 at = 0; at <= 60000; at += everyMs) {
        channel.emplace(at, Said{at, "Cid", text});
        if (dan)
            channel.emplace(at + 5000, Said{at + 5000, "Dan", text.toUpper()});
    }
    std::pair<int, int> answers;
    while (!channel.empty() && channel.begin()->first <= 60000) {
        const Said line = channel.begin()->second;
        channel.erase(channel.begin());
        const bool fromPerson = line.sender == "Cid" || line.sender == "Dan";
        for (size_t i = 0; i < bots.size(); ++i) {
            const Bot& bot = bots[i];
            if (bot.name == line.sender || line.text.compare(bot.trigger, Qt::CaseInsensitive) != 0 ||
                !budgets[i].take(line.sender, line.atMs))
                continue;
            answers.first += fromPerson ? 1 : 0;
            ++answers.second;
            channel.emplace(line.atMs + hopMs, Said{line.atMs + hopMs, bot.name, bot.reply});
        }
    }
    return answers;
}

TEST(AnswerBudget, ChainsOfBotsDieOutWhilePeopleAreAnswered)
{
    const std::vector<Bot> mirrored = {{"Ann", "hi", "hello"}, {"Bob", "hello", "hi"}};
    const std::vector<Bot> echoing = {{"Ann", "gg", "gg"}, {"Bob", "GG", "gg"}};
    const std::vector<Bot> one = {{"Ann", "hi", "hello"}};
    std::vector<Bot> crowd;
    for (int i = 0; i < 20; ++i)
        crowd.push_back({QStringLiteral("Bot%1").arg(i), i % 2 ? "hello" : "hi", i % 2 ? "hi" : "hello"});
    const qint64 once = 60001;
    const struct {
        std::vector<Bot> bots;
        const char* text;
        qint64 everyMs;
        bool dan;
        qint64 hopMs;
        int toPeople, maxInAll;
    } cases[] = {
        {mirrored, "hi", once, false, 5, 1, 10},    // on a fast server
        {mirrored, "hi", once, false, 1000, 1, 10}, // one line a second
        {echoing, "gg", once, false, 5, 2, 10},     // bots answering their own reply
        {echoing, "gg", once, false, 1000, 2, 10},
        {crowd, "hi", once, false, 5, 10, 6 * 20},
        {one, "hi", 10000, false, 5, 7, 7},
        {one, "hi", 9900, false, 5, 7, 7}, // each line a little early
        {one, "hi", 10000, true, 5, 13, 13},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const auto [toPeople, inAll] = play(c.bots, c.text, c.everyMs, c.dan, c.hopMs);
        EXPECT_EQ(toPeople, c.toPeople) << "case " << i;
        EXPECT_LE(inAll, c.maxInAll) << "case " << i;
    }
}

} // namespace
