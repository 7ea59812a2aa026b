#include "../lobby/fakelobby.h"
#include "bot/answerbudget.h"
#include "bot/botresponder.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<QString, QString>>;

// Bob in lobby #c with the given bot rows.
struct Bot : ConnectedLobby {
    explicit Bot(const Rows& rows) : ConnectedLobby(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#c"))
    {
        for (size_t i = 0; i < rows.size(); ++i)
            d.BotTable[i] = {rows[i].first, rows[i].second};
    }
    // Cid says `message`, with a budget to spare.
    QStringList answer(const QString& message)
    {
        AnswerBudget budget;
        BotResponder::scan(d, client.connection(), QStringLiteral("Cid"), message, budget, 0);
        return sent();
    }
};

TEST(BotResponder, AnswersWhenTheWholeMessageEqualsATriggerIgnoringCase)
{
    Bot bot(Rows{{"hi", "hello"}, {"Good Game", "gg"}});
    const struct {
        const char* message;
        QStringList sent;
    } cases[] = {
        {"hi", {"PRIVMSG #c :hello"}},
        {"HI", {"PRIVMSG #c :hello"}},
        {"Hi", {"PRIVMSG #c :hello"}},
        {"good game", {"PRIVMSG #c :gg"}},
        {"hi there", {}},
        {"oh hi", {}},
        {"hi ", {}},
        {" hi", {}},
        {"h", {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bot.answer(QString::fromLatin1(c.message)), c.sent) << '"' << c.message << '"';
    EXPECT_EQ(bot.view.chat, "Bob> hello\r\nBob> hello\r\nBob> hello\r\nBob> gg\r\n");
}

TEST(BotResponder, EveryMatchingRowAnswersInRowOrderUpToTheFirstEmptyTrigger)
{
    const struct {
        const char* what;
        Rows rows;
        const char* message;
        QStringList sent;
    } cases[] = {
        {"two rows match",
         {{"hi", "one"}, {"yo", "no"}, {"HI", "two:endl:three"}},
         "hi",
         {"PRIVMSG #c :one", "PRIVMSG #c :two:endl:three"}},
        {"before the empty trigger", {{"a", "1"}, {"", "x"}, {"b", "2"}}, "a", {"PRIVMSG #c :1"}},
        {"after the empty trigger", {{"a", "1"}, {"", "x"}, {"b", "2"}}, "b", {}},
        {"the empty trigger first", {{"", "x"}, {"a", "1"}}, "a", {}},
        {"an empty message", {{"", "x"}, {"a", "1"}}, "", {}},
    };
    for (const auto& c : cases) {
        Bot bot(c.rows);
        EXPECT_EQ(bot.answer(QString::fromLatin1(c.message)), c.sent) << c.what;
    }

    Bot full(Rows{});
    for (int i = 0; i < Declares::BotRows; ++i)
        full.d.BotTable[i] = {"t" + QString::number(i), "r" + QString::number(i)};
    EXPECT_EQ(full.answer("t1000"), QStringList{"PRIVMSG #c :r1000"}) << "the last row is scanned too";
}

TEST(BotResponder, RepliesAreDroppedWhileNotConnected)
{
    Bot bot(Rows{{"hi", "hello"}});
    bot.transport.closeFromServer();
    EXPECT_TRUE(bot.answer("hi").isEmpty());
    EXPECT_TRUE(bot.view.chat.isEmpty());
}

TEST(BotResponder, AnswersEachSenderWithinItsBudgetAndHoldsBackSilently)
{
    Bot bot(Rows{{"hi", "one"}, {"HI", "two"}});
    qint64 now = 0;
    bot.client.setClock([&now] { return now; });
    const QStringList both = {"PRIVMSG #c :one", "PRIVMSG #c :two"};
    // Two rows answer one message: it costs one answer of the budget.
    for (int i = 0; i < AnswerBudget::MaxAnswers; ++i) {
        bot.receive(chanMsg("MM_aaFFFCid", "#c", "hi"));
        EXPECT_EQ(bot.sent(), both) << i;
    }
    bot.view.chat.clear();
    bot.receive(chanMsg("MM_aa021Cid", "#c", "hi"));
    EXPECT_TRUE(bot.sent().isEmpty()) << "Cid is the same user in a hut";
    EXPECT_EQ(bot.view.chat, "Cid> hi\r\n");

    bot.receive(chanMsg("MM_aaFFFDan", "#c", "hi"));
    EXPECT_EQ(bot.sent(), both) << "another user has a budget of their own";
    now = AnswerBudget::WindowMs;
    bot.receive(chanMsg("MM_aaFFFCid", "#c", "hi"));
    EXPECT_EQ(bot.sent(), both) << "the window has passed";
}

} // namespace
