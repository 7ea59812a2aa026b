#include "eventwait.h"
#include "fakelobby.h"
#include "lobby/gamelaunch.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString Chan = QStringLiteral("#ZentharaNET_3");
const QString Launching = QStringLiteral(
    "LAUNCHING GAME\r\n"
    "You are currently set to Playing, start chatting,join a hut or type /in to get out of this mode\r\n");

// Sent by the host of the tag's hut.
QString launch(const QString& tag, const QString& address = QStringLiteral("1.1.1.1"))
{
    return chanMsg(QStringLiteral("MM_aa0") + tag.at(10) + QStringLiteral("0Hal"), Chan,
                   tag + ' ' + address + "|||");
}

QString vote(const QString& voterNick, const QString& target)
{
    return chanMsg(voterNick, Chan, "[ZENKICK] " + voterNick + ">" + target + "|||");
}

TEST(LaunchReceiver, OnlyTheOwnHutNumberCounts)
{
    // starts: at 1.1.1.1
    const std::tuple<const char*, QString, bool> cases[] = {
        {"MM_aa020Bob", launch("[ZENLAUNCH2]"), true},
        {"MM_aa031Bob", launch("[ZENLAUNCH2]"), false},
        {"MM_aa121Bob", launch("[ZENLAUNCH2]"), false},
        {"MM_aaFFFBob", launch("[ZENLAUNCH3]"), false},
        {"MM_aa011Bob", launch("[zenlaunch1]"), true},
        {"MM_aa001Bob", launch("[ZENLAUNCH0]"), true},
        // Cut short: no address, nothing started.
        {"MM_aa021Bob", chanMsg("MM_aa020Hal", Chan, "[ZENLAUNCH2] 10.0.0.2"), false},
        // A member of hut 1, playing after the first, is in no hut for the second.
        {"MM_aa011Bob", launch("[ZENLAUNCH1]") + launch("[ZENLAUNCH1]", "2.2.2.2"), true},
    };
    for (const auto& [nick, block, starts] : cases) {
        ConnectedLobby lobby(nick);
        lobby.receive(block);
        EXPECT_EQ(lobby.shell.started.join(""),
                  starts ? "eaexec.exe zen3.exe /j tcp 1.1.1.1 /nBob /boundip 10.0.0.5" : "")
            << nick << block.toStdString();
        EXPECT_EQ(lobby.d.MyNick == "MM_abFFFBob", starts) << nick;
    }
}

TEST(LaunchClick, OnlyTheOccupantOfSlotZeroOfThatHutTellsTheHutAndStartsAsHost)
{
    const std::tuple<const char*, int, bool> cases[] = {
        {"MM_aa021Bob", 2, false}, {"MM_aa020Bob", 1, false}, {"MM_aa020Bob", 2, true},
        {"MM_aa000Bob", 0, true},  {"MM_aa030Bob", 3, true},  {"MM_aaFFFBob", 0, false},
        {"MM_abFFFBob", 3, false}, {"MM_aa001Bob", 0, false}, {"MM_aa100Bob", 1, false},
    };
    for (const auto& [nick, hut, launches] : cases) {
        SCOPED_TRACE(nick + (" hut " + std::to_string(hut)));
        ConnectedLobby lobby(nick);
        lobby.transport.setLocalIP(QStringLiteral("10.1.2.3"));
        lobby.client.Launch_Click(hut);
        const QString tells = QStringLiteral("PRIVMSG #ZentharaNET_3 :[ZENLAUNCH%1] 10.1.2.3|||").arg(hut);
        EXPECT_EQ(lobby.sent().join(""), launches ? tells : "");
        EXPECT_EQ(lobby.shell.started.join(""),
                  launches ? "eaexec.exe zen3.exe /h tcp /nBob /boundip 10.1.2.3" : "");
        EXPECT_EQ(lobby.view.chat, launches ? Launching : QString());
        EXPECT_EQ(lobby.d.MyNick, launches ? QStringLiteral("MM_abFFFBob") : nick);
    }
}

// The playing status goes out after a pause, behind the launch message,
// unless the player changed the nickname meanwhile.
TEST(Launch, ThePlayingStatusFollowsAfterAPauseUnlessTheNicknameChangedMeanwhile)
{
    ConnectedLobby host("MM_aa000Bob"), joiner("MM_aa021Bob"), backHost("MM_aa020Bob"),
        movedJoiner("MM_aa021Cid");
    host.client.Launch_Click(0);
    joiner.transport.setLocalIP(QStringLiteral("10.1.2.3"));
    joiner.receive(launch("[ZENLAUNCH2]", "10.0.0.2"));
    EXPECT_EQ(joiner.view.chat, Launching) << "the launch message itself is never shown";
    EXPECT_EQ(joiner.shell.started.join(""), "eaexec.exe zen3.exe /j tcp 10.0.0.2 /nBob /boundip 10.1.2.3");
    backHost.client.Launch_Click(2);
    movedJoiner.receive(launch("[ZENLAUNCH2]", "10.0.0.2"));
    host.sent();
    EXPECT_TRUE(joiner.sent().isEmpty());
    backHost.sent();
    backHost.client.OUTCHAT_GotFocus();
    EXPECT_EQ(backHost.sent(), QStringList{"NICK :MM_aaFFFBob"});
    movedJoiner.client.Hut_Click(33);
    EXPECT_EQ(movedJoiner.sent().value(0), "NICK :MM_aa033Cid");

    bool pauseOver = false;
    QTimer::singleShot(GameLaunch::PlayingAnnounceDelayMs + 100, [&] { pauseOver = true; });
    ASSERT_TRUE(waitUntil([&] { return pauseOver; }, 10 * GameLaunch::PlayingAnnounceDelayMs));
    EXPECT_EQ(host.sent(), QStringList{"NICK :MM_abFFFBob"});
    EXPECT_EQ(joiner.sent(), QStringList{"NICK :MM_abFFFBob"});
    EXPECT_TRUE(backHost.sent().isEmpty());
    EXPECT_TRUE(movedJoiner.sent().isEmpty());
    host.client.Launch_Click(0);
    EXPECT_TRUE(host.sent().isEmpty()) << "a second click finds no slot digit 0";
    EXPECT_EQ(host.shell.started.size(), 1);

    FakeLobby offline(QStringLiteral("MM_aa030Bob")); // not connected, the host still plays
    offline.shell.startSucceeds = false;
    offline.client.Launch_Click(3);
    EXPECT_EQ(offline.d.MyNick + offline.view.chat,
              "MM_abFFFBob" + Launching + "Could Not Start eaexec.exe\r\n");
    EXPECT_EQ(offline.shell.started.size(), 1);
}

TEST(KickReceiver, CountsEachVoterOnceAgainstThisPlayer)
{
    ConnectedLobby lobby("MM_aa021Bob");
    lobby.d.UserCount = 20;
    lobby.receive(vote("MM_aaFFFAlice", "Bob"));
    lobby.receive(vote("MM_abFFFCid", "bOB"));
    EXPECT_EQ(lobby.d.KickVotes, 2);
    EXPECT_EQ(lobby.d.KickVoters, "Alice\r\nCid\r\n");
    EXPECT_EQ(lobby.view.chat, "Alice> [ZENKICK] MM_aaFFFAlice>Bob|||\r\nAlice Has Voted To Kick You\r\n"
                               "Cid> [ZENKICK] MM_abFFFCid>bOB|||\r\nCid Has Voted To Kick You\r\n");
    EXPECT_EQ(lobby.view.refreshCount, 4);

    lobby.view.chat.clear();
    // The same voter in another status or case, "Al" found inside "Alice", votes against others.
    for (const char* voter : {"MM_acFFFAlice", "MM_aaFFFALICE", "MM_aaFFFAl"})
        lobby.receive(vote(voter, "Bob"));
    for (const char* target : {"Bobby", "Bo", "Bob ", "MM_aa021Bob"})
        lobby.receive(vote("MM_aaFFFDan", target));
    EXPECT_EQ(lobby.d.KickVotes, 2);
    EXPECT_EQ(lobby.d.KickVoters, "Alice\r\nCid\r\n");
    EXPECT_FALSE(lobby.view.chat.contains("Has Voted To Kick You"));
}

// A kicked player announces it, tells the user and ends; nothing after the
// kick is handled.
TEST(KickReceiver, HalfOfTheLastNamesListKicks)
{
    const struct {
        int users;
        int votesToKick;
    } cases[] = {{4, 2}, {5, 3}, {0, 1}, {1, 1}, {2, 1}, {3, 2}, {9, 5}};
    for (const auto& c : cases) {
        ConnectedLobby lobby;
        lobby.d.UserCount = qint16(c.users);
        for (int v = 1; v <= c.votesToKick; ++v) {
            EXPECT_EQ(lobby.shell.endCount, 0) << c.users << " users, vote " << v;
            lobby.receive(vote("MM_aaFFFVoter" + QString(QChar(u'A' + v)), "Bob") +
                          chanMsg("MM_aaFFFAnn", Chan, "[ZENLNK] http://zen.test|||"));
        }
        EXPECT_EQ(lobby.shell.endCount, 1) << c.users << " users";
        EXPECT_EQ(lobby.transport.state(), SocketState::Closed);
        EXPECT_EQ(lobby.sent().join(""), "PRIVMSG #ZentharaNET_3 :-=MM_aaFFFBob Has been kicked=-");
        EXPECT_TRUE(
            lobby.view.chat.endsWith(" Has Voted To Kick You\r\nBob> -=MM_aaFFFBob Has been kicked=-\r\n"));
        ASSERT_EQ(lobby.shell.messages.size(), 1u);
        EXPECT_EQ(lobby.shell.messages[0].title + lobby.shell.messages[0].text,
                  "ZenLobby50% of the users has voted and have kicked you!");
        EXPECT_EQ(lobby.shell.questions.size(), size_t(c.votesToKick - 1));
    }
}

TEST(LinkReceiver, OneQuestionAtATimeAndTheLobbyGoesOnBehindIt)
{
    ConnectedLobby lobby("MM_aa021Bob");
    lobby.shell.holdQuestions = true;
    QString flood;
    for (int n = 1; n <= 20; ++n)
        flood += chanMsg("Spam", Chan, QStringLiteral("[ZENLNK] http://spam.example/%1|||").arg(n));
    lobby.receive(flood + chanMsg("MM_aaFFFAnn", Chan, "still here") + launch("[ZENLAUNCH2]"));
    ASSERT_EQ(lobby.shell.questions.size(), 1u);
    EXPECT_EQ(lobby.shell.questions[0].title + '|' + lobby.shell.questions[0].text,
              "ZentharaNET IRC|A Link has been posted.. Visit Page:\r\nhttp://spam.example/1?");
    EXPECT_EQ(lobby.view.chat.count("Spam> [ZENLNK]"), 20);
    EXPECT_TRUE(lobby.view.chat.contains("Ann> still here\r\n"));
    EXPECT_EQ(lobby.shell.started.size(), 1) << "the launch is not held back";

    lobby.shell.answer(false);
    lobby.receive(chanMsg("Spam", Chan, "[ZENLNK] http://spam.example/21|||"));
    ASSERT_EQ(lobby.shell.questions.size(), 2u) << "answered, the next link asks again";
    lobby.shell.answer(true);
    EXPECT_EQ(lobby.shell.started.mid(1), QStringList{"eaexec.exe iexplore.exe http://spam.example/21"});
}

} // namespace
