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

// Plays one channel for a minute: each bot but the sender whose trigger equals
// a line answers it hopMs later, if its own budget lets it. Gives the answers
// to people, then all answers.
std::pair<int, int> play(const std::vector<Bot>& bots, const std::vector<Said>& said, qint64 hopMs)
{
    std::vector<AnswerBudget> budgets(bots.size());
    std::multimap<qint64, Said> channel;
    for (const Said& s : said)
        channel.emplace(s.atMs, s);
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

// A person, Cid, says "hi" every stepMs; Dan too, danMs after Cid, when given.
std::vector<Said> people(qint64 stepMs, qint64 danMs = -1)
{
    std::vector<Said> lines;
    for (qint64 at = 0; at <= 60000; at += stepMs) {
        lines.push_back({at, "Cid", "hi"});
        if (danMs >= 0)
            lines.push_back({at + danMs, "Dan", "HI"});
    }
    return lines;
}

TEST(AnswerBudget, ChainsOfBotsDieOutWhilePeopleAreAnswered)
{
    const std::vector<Bot> mirrored = {{"Ann", "hi", "hello"}, {"Bob", "hello", "hi"}};
    const std::vector<Bot> echoing = {{"Ann", "gg", "gg"}, {"Bob", "GG", "gg"}};
    const std::vector<Bot> one = {{"Ann", "hi", "hello"}};
    std::vector<Bot> crowd;
    for (int i = 0; i < 20; ++i)
        crowd.push_back({QStringLiteral("Bot%1").arg(i), i % 2 ? "hello" : "hi", i % 2 ? "hi" : "hello"});
    const struct {
        std::vector<Bot> bots;
        std::vector<Said> said;
        qint64 hopMs;
        int toPeople, maxInAll;
    } cases[] = {
        {mirrored, {{0, "Cid", "hi"}}, 5, 1, 10},    // on a fast server
        {mirrored, {{0, "Cid", "hi"}}, 1000, 1, 10}, // one line a second
        {echoing, {{0, "Cid", "gg"}}, 5, 2, 10},     // bots answering their own reply
        {echoing, {{0, "Cid", "gg"}}, 1000, 2, 10},
        {crowd, {{0, "Cid", "hi"}}, 5, 10, 6 * 20},
        {one, people(10000), 5, 7, 7},
        {one, people(9900), 5, 7, 7}, // each line a little early
        {one, people(10000, 5000), 5, 13, 13},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const auto [toPeople, inAll] = play(c.bots, c.said, c.hopMs);
        EXPECT_EQ(toPeople, c.toPeople) << "case " << i;
        EXPECT_LE(inAll, c.maxInAll) << "case " << i;
    }
}

} // namespace
