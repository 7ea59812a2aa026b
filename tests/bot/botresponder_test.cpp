#include "../lobby/fakelobby.h"
#include "bot/answerbudget.h"
#include "bot/botresponder.h"

#include <gtest/gtest.h>

namespace {

// Bob in lobby #c with bot rows of "trigger=reply".
struct Bot : ConnectedLobby {
    explicit Bot(const QStringList& rows)
        : ConnectedLobby(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#c"))
    {
        for (int i = 0; i < rows.size(); ++i)
            d.BotTable[i] = {rows[i].section('=', 0, 0), rows[i].section('=', 1)};
    }
    // Cid says `message`, with a budget to spare; the replies sent.
    QString answer(const QString& message)
    {
        AnswerBudget budget;
        BotResponder::scan(d, client.connection(), QStringLiteral("Cid"), message, budget, 0);
        return sent().join(u'|').remove(QStringLiteral("PRIVMSG #c :"));
    }
};

TEST(BotResponder, EveryRowWhoseTriggerIsTheWholeMessageIgnoringCaseAnswersUpToTheFirstEmptyTrigger)
{
    const QStringList rows{"hi=hello", "Good Game=gg"};
    const std::tuple<QStringList, const char*, const char*> cases[] = {
        {rows, "HI", "hello"},
        {rows, "good game", "gg"},
        {rows, "hi there", ""},
        {rows, "hi ", ""},
        {{"hi=one", "yo=no", "HI=two:endl:three"}, "hi", "one|two:endl:three"},
        {{"a=1", "=x", "b=2"}, "b", ""},
    };
    for (const auto& [rows, message, sent] : cases)
        EXPECT_EQ(Bot(rows).answer(QString::fromLatin1(message)), sent) << '"' << message << '"';

    Bot full({});
    for (int i = 0; i < Declares::BotRows; ++i)
        full.d.BotTable[i] = {"t" + QString::number(i), "r" + QString::number(i)};
    EXPECT_EQ(full.answer("t1000"), "r1000") << "the last row is scanned too";
    full.transport.closeFromServer();
    EXPECT_EQ(full.answer("t1"), "") << "replies are dropped while not connected";
}

TEST(BotResponder, AnswersEachSenderWithinItsBudgetAndHoldsBackSilently)
{
    Bot bot({"hi=one", "HI=two"});
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
