// Launch and link messages whose address carries shell syntax or extra words:
// a launch needs a dotted IPv4 address and a link one word, and a link's word
// reaches the launcher as one plain argument while nothing else runs. Proven
// for real: a server relays the messages, the desktop shell starts a
// recording stand-in for eaexec.exe.
#include "eventwait.h"
#include "fakes.h"
#include "ngircdserver.h"
#include "rawircclient.h"
#include "recordinglauncher.h"

#include "irc/tcptransport.h"
#include "lobby/lobbyclient.h"
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
    const auto say = [&](const QString& text) {
        host.sendLine(("PRIVMSG " + Channel + " :" + text + "|||").toLatin1());
    };
    // Only a dotted address starts a game and a link is one word: none of these starts anything.
    for (const QString& address :
         QStringList{"1.2.3.4;touch " + m + "semicolon", "$(id)", " 1.2.3.4", "1.2.3.4\tx", "1.2.3",
                     "1.2.3.4.5", "+1.2.3.4", "1.2.3.0004", "1.2.3.256", ""})
        say("[ZENLAUNCH2] " + address);
    for (const QString& address : QStringList{"http://a.test/;touch${IFS}" + m + "spaced x",
                                              "http://a.test/\x7f", "http://a.test/\u00a0", ""})
        say("[ZENLNK] " + address);
    say("[ZENLAUNCH2] 10.9.255.0");
    ASSERT_TRUE(launcher.waitForRuns(1));
    const RecordingLauncher::Run game = launcher.starts().value(0);
    EXPECT_EQ(game.arguments,
              (QStringList{"zen3.exe", "/j", "tcp", "10.9.255.0", "/nBob", "/boundip", "127.0.0.1"}));
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
    say("[ZENLNK] " + page);
    ASSERT_TRUE(launcher.waitForRuns(2));
    EXPECT_EQ(launcher.runOf("iexplore.exe"), (QStringList{"iexplore.exe", page}));
    // Both runs have ended: anything a shell had made of the addresses would have run by now.
    for (const RecordingLauncher::Run& run : launcher.starts())
        EXPECT_TRUE(launcher.waitForEnd(run.pid));
    EXPECT_EQ(launcher.starts().size(), 2);
    EXPECT_EQ(launcher.marksMade(), QStringList());
}

} // namespace
