#include "../lobby/fakelobby.h"
#include "bot/botresponder.h"
#include "irc/connection.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<QString, QString>>;

// Bob's connection to lobby #c, with the given bot rows.
struct Bot {
    Declares d;
    FakeTransport transport;
    FakeView view;
    Connection connection{d, transport, view};

    explicit Bot(const Rows& rows)
    {
        d.MyNick = QStringLiteral("MM_aaFFFBob");
        d.CurrentChannel = QStringLiteral("#c");
        for (size_t i = 0; i < rows.size(); ++i)
            d.BotTable[i] = {rows[i].first, rows[i].second};
        connection.open();
        transport.acceptConnection();
        transport.takeLines();
    }
    QStringList answer(const QString& message)
    {
        BotResponder::scan(d, connection, message);
        return transport.takeLines();
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

TEST(BotResponder, EveryMatchingRowAnswersInRowOrder)
{
    Bot bot(Rows{{"hi", "one"}, {"yo", "no"}, {"HI", "two:endl:three"}});
    EXPECT_EQ(bot.answer("hi"), (QStringList{"PRIVMSG #c :one", "PRIVMSG #c :two:endl:three"}));
    EXPECT_EQ(bot.view.chat, "Bob> one\r\nBob> two:endl:three\r\n");
}

TEST(BotResponder, TheScanEndsAtTheFirstEmptyTrigger)
{
    Bot bot(Rows{{"a", "1"}, {"", "x"}, {"b", "2"}});
    EXPECT_EQ(bot.answer("a"), QStringList{"PRIVMSG #c :1"});
    EXPECT_TRUE(bot.answer("b").isEmpty());

    Bot empty(Rows{{"", "x"}, {"a", "1"}});
    EXPECT_TRUE(empty.answer("a").isEmpty());
    EXPECT_TRUE(empty.answer("").isEmpty());

    Bot last(Rows{});
    for (int i = 0; i < Declares::BotRows; ++i)
        last.d.BotTable[i] = {QStringLiteral("t") + QString::number(i),
                              QStringLiteral("r") + QString::number(i)};
    EXPECT_EQ(last.answer("t1000"), QStringList{"PRIVMSG #c :r1000"}) << "the last row is scanned too";
}

TEST(BotResponder, RepliesAreDroppedWhileNotConnected)
{
    Bot bot(Rows{{"hi", "hello"}});
    bot.transport.closeFromServer();
    EXPECT_TRUE(bot.answer("hi").isEmpty());
    EXPECT_TRUE(bot.view.chat.isEmpty());
}

TEST(BotResponder, AnswersOtherUsersInTheLobby)
{
    FakeLobby lobby;
    lobby.connect();
    lobby.d.BotTable[0] = {QStringLiteral("hi"), QStringLiteral("hello")};
    lobby.receive(chanMsg("Dan", "#ZentharaNET_3", "Hi"));
    lobby.receive(chanMsg("Dan", "#ZentharaNET_4", "hi"));
    lobby.receive(chanMsg("Dan", "MM_aaFFFBob", "hi"));
    EXPECT_EQ(lobby.sent(), QStringList{"PRIVMSG #ZentharaNET_3 :hello"});
    EXPECT_EQ(lobby.view.chat, "Dan> Hi\r\nBob> hello\r\n");
}

} // namespace
