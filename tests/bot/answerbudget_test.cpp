#include "bot/answerbudget.h"

#include <gtest/gtest.h>

#include <algorithm>
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
struct Tally {
    int toPeople = 0, total = 0;
};

// Plays one channel for a minute: each bot but the sender whose trigger equals
// a line answers it hopMs later, if its own budget lets it.
Tally play(const std::vector<Bot>& bots, const std::vector<Said>& said, qint64 hopMs)
{
    std::vector<AnswerBudget> budgets(bots.size());
    std::multimap<qint64, Said> channel;
    for (const Said& s : said)
        channel.emplace(s.atMs, s);
    Tally tally;
    while (!channel.empty() && channel.begin()->first <= 60000) {
        const Said line = channel.begin()->second;
        channel.erase(channel.begin());
        const bool fromPerson =
            std::none_of(bots.begin(), bots.end(), [&](const Bot& b) { return b.name == line.sender; });
        for (size_t i = 0; i < bots.size(); ++i) {
            const Bot& bot = bots[i];
            if (bot.name == line.sender || line.text.compare(bot.trigger, Qt::CaseInsensitive) != 0 ||
                !budgets[i].take(line.sender, line.atMs))
                continue;
            ++tally.total;
            tally.toPeople += fromPerson ? 1 : 0;
            channel.emplace(line.atMs + hopMs, Said{line.atMs + hopMs, bot.name, bot.reply});
        }
    }
    return tally;
}

std::vector<Said> every(qint64 firstMs, qint64 stepMs, const QString& sender, const QString& text)
{
    std::vector<Said> lines;
    for (qint64 at = firstMs; at <= 60000; at += stepMs)
        lines.push_back({at, sender, text});
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
    std::vector<Said> twoPeople = every(0, 10000, "Cid", "hi"), dan = every(5000, 10000, "Dan", "HI");
    twoPeople.insert(twoPeople.end(), dan.begin(), dan.end());
    const struct {
        const char* what;
        std::vector<Bot> bots;
        std::vector<Said> said;
        qint64 hopMs;
        int toPeople;
        int maxTotal;
    } cases[] = {
        {"mirrored bots on a fast server", mirrored, {{0, "Cid", "hi"}}, 5, 1, 10},
        {"mirrored bots, one line a second", mirrored, {{0, "Cid", "hi"}}, 1000, 1, 10},
        {"bots answering their own reply", echoing, {{0, "Cid", "gg"}}, 5, 2, 10},
        {"bots answering their own reply, one line a second", echoing, {{0, "Cid", "gg"}}, 1000, 2, 10},
        {"a crowd of mirrored bots", crowd, {{0, "Cid", "hi"}}, 5, 10, 6 * 20},
        {"a person every 10 s", one, every(0, 10000, "Cid", "hi"), 5, 7, 7},
        {"a person every 10 s, each line a little early", one, every(0, 9900, "Cid", "hi"), 5, 7, 7},
        {"two people on the same row", one, twoPeople, 5, 13, 13},
    };
    for (const auto& c : cases) {
        const Tally tally = play(c.bots, c.said, c.hopMs);
        EXPECT_EQ(tally.toPeople, c.toPeople) << c.what;
        EXPECT_LE(tally.total, c.maxTotal) << c.what;
    }
}

} // namespace
