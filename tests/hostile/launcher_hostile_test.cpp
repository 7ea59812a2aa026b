// Launch and link messages whose address carries shell syntax or extra words:
// a launch needs a dotted IPv4 address and a link one word, and a link's word
// reaches the launcher as one plain argument while nothing else runs. Proven
// once for real - a server relays the messages, the desktop shell starts a
// recording stand-in for eaexec.exe - and for many addresses through the
// command line the client hands the desktop.
#include "eventwait.h"
#include "fakelobby.h"
#include "ngircdserver.h"
#include "rawircclient.h"
#include "recordinglauncher.h"

#include "irc/tcptransport.h"
#include "ui/qtshell.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

const QString Channel = QStringLiteral("#ZentharaNET_0");

// The desktop as the program has it, with the player answering Yes to a link.
class AgreeingShell : public QtShell {
public:
    void askYesNo(const QString&, const QString&, std::function<void(bool yes)> answered) override
    {
        answered(true);
    }
};

TEST(HostileAddressForReal,
     RelayedByAServerTheAddressesReachTheDetachedLauncherAsPlainArgumentsAndNothingElseRuns)
{
    RecordingLauncher launcher;
    ASSERT_TRUE(launcher.isReady());
    launcher.holdStarts();
    NgircdServer server;
    server.setFloodPenalties(false);
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    TcpTransport transport;
    AgreeingShell shell;
    FakeView view;
    LobbyClient client(transport, shell, view);
    client.state().ServerHost = server.host();
    client.state().ServerPort = qint16(server.port());
    client.state().CodeLetter = "a";
    client.state().MyNick = "MM_aa021Bob";
    client.state().CurrentChannel = Channel;
    client.Form_Load();
    RawIrcClient host;
    ASSERT_TRUE(host.connectTo(server.port()));
    ASSERT_TRUE(host.registerAs("MM_aa020Host"));
    ASSERT_TRUE(host.join(Channel));
    ASSERT_TRUE(waitUntil([&] { return view.chatList.contains("Host"); }, 10000));

    const QString m = launcher.mark(QString());
    host.sendLine(("PRIVMSG " + Channel + " :[ZENLAUNCH2] 1.2.3.4;touch " + m + "semicolon|||").toLatin1());
    host.sendLine(("PRIVMSG " + Channel + " :[ZENLAUNCH2] 10.0.0.2|||").toLatin1());
    ASSERT_TRUE(launcher.waitForRuns(1));
    const RecordingLauncher::Run game = launcher.starts().value(0);
    EXPECT_EQ(game.arguments,
              (QStringList{"zen3.exe", "/j", "tcp", "10.0.0.2", "/nBob", "/boundip", "127.0.0.1"}));
    // The lobby goes on while the launcher is held: nobody waits for the game,
    // and the launcher is no child of the lobby's process.
    EXPECT_FALSE(launcher.hasEnded(game.pid));
    EXPECT_NE(game.parentPid, QCoreApplication::applicationPid());
    EXPECT_NE(game.parentPid, 0);
    launcher.release();

    const QString page =
        QString("http://lobby.test/?a=1;touch${IFS}%1linked&b=$(touch${IFS}%1sub)`touch${IFS}%1bq`|"
                "touch${IFS}%1piped>%1redirected")
            .arg(m);
    host.sendLine(("PRIVMSG " + Channel + " :[ZENLNK] " + page + "|||").toLatin1());
    ASSERT_TRUE(launcher.waitForRuns(2));
    EXPECT_EQ(launcher.runOf("iexplore.exe"), (QStringList{"iexplore.exe", page}));
    // Both runs have ended: anything a shell had made of the addresses would have run by now.
    for (const RecordingLauncher::Run& run : launcher.starts())
        EXPECT_TRUE(launcher.waitForEnd(run.pid));
    EXPECT_EQ(launcher.starts().size(), 2);
    EXPECT_EQ(launcher.marksMade(), QStringList());
}

// The words after the launcher a message from the host of hut 2 starts; none when nothing starts.
QStringList started(const QString& message)
{
    FakeLobby lobby("MM_aa021Bob", Channel);
    lobby.connect();
    lobby.receive(chanMsg("MM_aa020Host", Channel, message + "|||"));
    const bool game = message.startsWith("[ZENLAUNCH") && !lobby.shell.started.isEmpty();
    EXPECT_EQ(lobby.d.MyNick, game ? "MM_abFFFBob" : "MM_aa021Bob") << message.toStdString();
    return lobby.shell.started.isEmpty() ? QStringList()
                                         : QtShell::splitCommandLine(lobby.shell.started[0]).mid(1);
}

TEST(HostileAddress, OnlyADottedAddressStartsAGameAndALinkIsOneArgumentWordForWord)
{
    EXPECT_EQ(started("[ZENLAUNCH2] 1.2.3.4"),
              (QStringList{"zen3.exe", "/j", "tcp", "1.2.3.4", "/nBob", "/boundip", "10.0.0.5"}));
    for (const char* address :
         {"1.2.3.4;touch /tmp/x", "$(id)", "1.2.3.4 /h tcp /nEvil", " 1.2.3.4", "1.2.3.4\tx", "1.2.3",
          "1.2.3.4.5", "+1.2.3.4", "1.2.3.0004", "1.2.3.256", ""})
        EXPECT_EQ(started(QString("[ZENLAUNCH2] ") + address), QStringList()) << address;
    const QString link = "http://a.test/?q=$(id)&r=`id`;x|y>z";
    EXPECT_EQ(started("[ZENLNK] " + link), (QStringList{"iexplore.exe", link}));
    for (const char* address :
         {"http://a.test/;touch /tmp/x", "file:///etc/passwd -extra", "http://a.test/\x7f", ""})
        EXPECT_EQ(started(QString("[ZENLNK] ") + address), QStringList()) << address;
}

} // namespace
