#include "app/commandhelp.h"
#include "fakelobby.h"
#include "lobby/attention.h"
#include "lobby/playercommands.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Chan = QStringLiteral("#ZentharaNET_3");

TEST(Calling, TheNameCallsAsAWordOfItsOwnInAnyCase)
{
    const struct {
        const char* name;
        const char* text;
        bool calls;
    } cases[] = {{"Bob", "bob: hut 2?", true}, {"Bob", "hey BOB!", true},   {"Bob", "Bob's hut", true},
                 {"Bob", "Bobby", false},      {"Bob", "ImBob", false},     {"Bob", "Bob2 or Bob_", false},
                 {"Bob", "-Bob|", false},      {"Bob", "Bobby, bob", true}, {"[Bo]", "hi [bo]!", true},
                 {"[Bo]", "hi Bo", false},     {"[Bo]", "x[Bo]", false},    {"B\\o`b", "B\\O`B?", true},
                 {"^Bo^", "a ^bo^ b", true},   {"{Bo}|", "{Bo}|x", false},  {"Bo-b", "Bo-b.", true},
                 {"Bo", "Bo}", false},         {"Bo", "{Bo", false},        {"", "anything", false}};
    for (const auto& c : cases)
        EXPECT_EQ(holdsName(QString::fromLatin1(c.text), QString::fromLatin1(c.name)), c.calls) << c.text;
}

// The window asks for attention when something calls the player while it is
// behind others, alerts are on and the player is not in a game.
TEST(Attention, ACallALaunchOrANewGuestAsksWhileTheWindowIsBehindAndNoGameRuns)
{
    const QString names = QStringLiteral(":irc 353 Bob = #ZentharaNET_3 :MM_aa000Bob MM_aa003Dee %1\r\n"
                                         ":irc 366 Bob #ZentharaNET_3 :End of NAMES list\r\n");
    // A reply begun in one read and ended in the next: who sat before is no news at its end.
    const QString part = QStringLiteral(":irc 353 Bob = #ZentharaNET_3 :MM_aa000Bob\r\n");
    const struct {
        const char* nick;
        QStringList before; // reads
        QString event;
        bool active, alertsOff;
        int alerts;
    } cases[] = {
        {"MM_aaFFFBob", {}, chanMsg("MM_aaFFFAnn", Chan, "bob, hut 2?"), false, false, 1},
        {"MM_aaFFFBob", {}, chanMsg("MM_aaFFFAnn", Chan, "bob, hut 2?"), true, false, 0},
        {"MM_abFFFBob", {}, chanMsg("MM_aaFFFAnn", Chan, "bob, hut 2?"), false, false, 0},
        {"MM_aa011Bob", {}, chanMsg("MM_aa010Hal", Chan, "[ZENLAUNCH1] 1.1.1.1|||"), false, false, 1},
        {"MM_aa000Bob", {names.arg("")}, names.arg("MM_aa001Cid"), false, false, 1},
        {"MM_aa000Bob", {names.arg("MM_aa001Cid")}, names.arg("MM_aa001Cid"), false, false, 0},
        {"MM_aa000Bob", {names.arg("")}, names.arg("MM_aa001Cid"), false, true, 0},
        {"MM_aa001Bob", {names.arg("")}, names.arg("MM_aa002Cid"), false, false, 0},
        {"MM_aa000Bob", {names.arg("MM_aa001Cid"), part}, names.arg("MM_aa001Cid"), false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nick + c.event.toStdString());
        ConnectedLobby lobby{QString::fromLatin1(c.nick)};
        lobby.view.active = c.active;
        if (c.alertsOff) // a command sets a playing player to chatting first
            lobby.client.SEND_Click("/Alerts OFF");
        for (const QString& read : c.before)
            lobby.receive(read);
        lobby.receive(c.event);
        EXPECT_EQ(lobby.view.alerts, c.alerts);
        EXPECT_EQ(lobby.view.calling, c.event.contains("bob,") ? "Ann> bob, hut 2?\r\n" : "");
    }
}

// An ignored player's chat, bot triggers, links and calls are gone; his
// launches and votes still count. The list and the alerts are kept.
TEST(Ignore, SilencesAPlayerWhateverHisStatusButNotHisLaunchOrVoteAndIsKept)
{
    QTemporaryDir dir;
    QSettings store(dir.filePath("ZenLobby.conf"), QSettings::IniFormat);
    ConnectedLobby lobby(QStringLiteral("MM_aa011Bob"));
    lobby.client.setSettingsStore(&store);
    lobby.d.BotTable[0] = {"hi", "hello"};
    const struct {
        const char* typed;
        QString answer;
    } commands[] = {
        {"/ignore", PlayerCommands::IgnoringNobody},    {"/ignore Amy", "You Are Ignoring Amy"},
        {"/IGNORE  hal_2 ", "You Are Ignoring hal"},    {"/ignore Hal", "You Are Ignoring Hal"},
        {"/ignore", "You Are Ignoring: Amy, hal"},      {"/unignore amy", "You Are No Longer Ignoring amy"},
        {"/unignore amy", "You Were Not Ignoring amy"}, {"/unignore", CommandHelp::Unignore},
        {"/alerts ON", PlayerCommands::AlertsOn},       {"/alerts off", PlayerCommands::AlertsOff},
        {"/alerts of", CommandHelp::Alerts}};
    for (const auto& c : commands) {
        lobby.view.chat.clear();
        lobby.client.SEND_Click(c.typed);
        EXPECT_EQ(lobby.view.chat, c.answer + "\r\n") << c.typed;
        EXPECT_EQ(lobby.sent(), QStringList()) << c.typed;
    }
    lobby.client.SEND_Click("/ignorance");
    EXPECT_EQ(lobby.sent(), QStringList{"PRIVMSG #ZentharaNET_3 :/ignorance"});

    lobby.view.chat.clear();
    for (const char* hal : {"MM_acFFFHal", "MM_aa012Hal_", "Hal"}) {
        for (const char* text : {"hi", "Bob?", "[ZENLNK] http://x.test|||"})
            lobby.receive(chanMsg(hal, Chan, text));
    }
    EXPECT_EQ(lobby.view.chat, "");
    EXPECT_EQ(lobby.sent(), QStringList());
    EXPECT_TRUE(lobby.shell.questions.empty());
    lobby.d.UserCount = 20;
    lobby.receive(chanMsg("MM_aa010Hal", Chan, "[ZENKICK] MM_aa010Hal>Bob|||") +
                  chanMsg("MM_aa010Hal", Chan, "[ZENLAUNCH1] 1.1.1.1|||"));
    EXPECT_EQ(lobby.d.KickVotes, 1);
    EXPECT_EQ(lobby.shell.started.size(), 1);
    lobby.receive(chanMsg("MM_aaFFFAnn", Chan, "hi"));
    EXPECT_EQ(lobby.sent(), QStringList{"PRIVMSG #ZentharaNET_3 :hello"});

    FakeLobby nextRun;
    nextRun.client.setSettingsStore(&store);
    nextRun.client.SEND_Click("/ignore");
    nextRun.client.SEND_Click("/alerts");
    EXPECT_EQ(nextRun.view.chat, "You Are Ignoring: hal\r\n" + PlayerCommands::AlertsOff + "\r\n");
}

} // namespace
