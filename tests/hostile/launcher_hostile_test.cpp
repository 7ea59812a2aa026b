// Launch and link messages whose address carries shell syntax or extra words:
// the launcher gets those characters as plain arguments, and nothing else
// runs. Proven once for real - a server relays the messages, the desktop
// shell starts a recording stand-in for eaexec.exe - and for many addresses
// through the command line the client hands the desktop.
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
constexpr int Wait = 10000;

// The desktop as the program has it, with the player answering Yes to a link.
class AgreeingShell : public QtShell {
public:
    bool askYesNo(const QString&, const QString& text) override
    {
        questions << text;
        return true;
    }
    QStringList questions;
};

TEST(HostileAddressForReal,
     RelayedByAServerTheAddressReachesTheDetachedLauncherAsPlainArgumentsAndNothingElseRuns)
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
    Declares& d = client.state();
    d.ServerHost = server.host();
    d.ServerPort = qint16(server.port());
    d.CodeLetter = QStringLiteral("a");
    d.MyNick = QStringLiteral("MM_aa021Bob");
    d.CurrentChannel = Channel;
    client.Form_Load();

    RawIrcClient host;
    ASSERT_TRUE(host.connectTo(server.port()));
    ASSERT_TRUE(host.registerAs(QStringLiteral("MM_aa020Host")));
    ASSERT_TRUE(host.join(Channel));
    // Once Bob lists the host, the host's JOIN is behind it: the next line
    // comes in a read of its own.
    ASSERT_TRUE(waitUntil([&] { return view.chatList.contains(QStringLiteral("Host")); }, Wait))
        << view.chat.toStdString();

    const QString m = launcher.mark(QString());
    const QString address =
        QStringLiteral("1.2.3.4;touch %1semicolon $(touch %1substituted) `touch %1backquoted` "
                       "'single' \"double\" |touch %1piped && touch %1anded > %1redirected")
            .arg(m);
    host.sendLine(("PRIVMSG " + Channel + " :[ZENLAUNCH2] " + address + "|||").toLatin1());
    ASSERT_TRUE(launcher.waitForRuns(1));
    const RecordingLauncher::Run game = launcher.starts().value(0);
    // clang-format off
    EXPECT_EQ(game.arguments,
              (QStringList{"zen3.exe", "/j", "tcp", "1.2.3.4;touch", m + "semicolon", "$(touch", m + "substituted)",
                           "`touch", m + "backquoted`", "'single'", "\"double\"", "|touch", m + "piped", "&&", "touch",
                           m + "anded", ">", m + "redirected", "/nBob", "/boundip", "127.0.0.1"}));
    // clang-format on
    // The lobby goes on while the launcher is held: nobody waits for the game,
    // and the launcher is no child of the lobby's process.
    EXPECT_FALSE(launcher.hasEnded(game.pid));
    EXPECT_NE(game.parentPid, QCoreApplication::applicationPid());
    EXPECT_NE(game.parentPid, 0);
    EXPECT_FALSE(view.chat.contains(QStringLiteral("Could Not Start")));
    launcher.release();

    // The server echoes Bob's change to playing; a link after it is read on its own.
    ASSERT_TRUE(waitUntil([&] { return view.playList.contains(QStringLiteral("Bob")); }, Wait));
    const QString page =
        QStringLiteral("http://lobby.test/?a=1;touch %1linked&b=$(touch %1linkedsub) 'x y'").arg(m);
    host.sendLine(("PRIVMSG " + Channel + " :[ZENLNK] " + page + "|||").toLatin1());
    ASSERT_TRUE(launcher.waitForRuns(2));
    EXPECT_EQ(shell.questions,
              QStringList{QStringLiteral("A Link has been posted.. Visit Page:\r\n") + page + u'?'});
    EXPECT_EQ(launcher.runOf(QStringLiteral("iexplore.exe")),
              (QStringList{"iexplore.exe", "http://lobby.test/?a=1;touch", m + "linked&b=$(touch",
                           m + "linkedsub)", "'x", "y'"}));

    // Both launcher runs have ended: anything a shell had made of the
    // addresses would have run by now.
    for (const RecordingLauncher::Run& run : launcher.starts())
        EXPECT_TRUE(launcher.waitForEnd(run.pid));
    EXPECT_EQ(launcher.starts().size(), 2);
    EXPECT_EQ(launcher.marksMade(), QStringList());
}

TEST(HostileAddress, LaunchAndLinkAddressesBecomeArgumentsWordForWord)
{
    const QString launch = QStringLiteral("[ZENLAUNCH2] ");
    const QString link = QStringLiteral("[ZENLNK] ");
    const QStringList game{"eaexec.exe", "zen3.exe", "/j", "tcp"};
    const QStringList browser{"eaexec.exe", "iexplore.exe"};
    const QStringList gameEnd{"/nBob", "/boundip", "10.0.0.5"};
    const struct {
        QString kind;
        const char* address;
        QStringList words;
    } cases[] = {
        {launch, "1.2.3.4;touch /tmp/x", {"1.2.3.4;touch", "/tmp/x"}},
        {launch, "$(id)", {"$(id)"}},
        {launch, "`id`", {"`id`"}},
        {launch, "'1.2.3.4'", {"'1.2.3.4'"}},
        {launch, "\"1.2.3.4\" \"\"", {"\"1.2.3.4\"", "\"\""}},
        {launch, "1.2.3.4 /h tcp /nEvil", {"1.2.3.4", "/h", "tcp", "/nEvil"}},
        {launch, "   1.2.3.4    x  ", {"1.2.3.4", "x"}},
        {launch, "1.2.3.4\tx\ny", {"1.2.3.4\tx\ny"}},
        {launch, "${HOME} %PATH% ~ *", {"${HOME}", "%PATH%", "~", "*"}},
        {launch, "a|b||c", {"a|b||c"}},
        {launch, "", {}},
        {link, "http://a.test/;touch /tmp/x", {"http://a.test/;touch", "/tmp/x"}},
        {link, "http://a.test/?q=$(id)&r=`id`", {"http://a.test/?q=$(id)&r=`id`"}},
        {link, "\"http://a.test/\" 'b'", {"\"http://a.test/\"", "'b'"}},
        {link, "file:///etc/passwd -extra --words", {"file:///etc/passwd", "-extra", "--words"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind.toStdString() + c.address);
        FakeLobby lobby(QStringLiteral("MM_aa021Bob"), Channel);
        lobby.connect();
        lobby.receive(chanMsg(QStringLiteral("MM_aa020Host"), Channel,
                              c.kind + QString::fromLatin1(c.address) + "|||"));
        ASSERT_EQ(lobby.shell.started.size(), 1);
        EXPECT_EQ(QtShell::splitCommandLine(lobby.shell.started[0]),
                  c.kind == launch ? game + c.words + gameEnd : browser + c.words);
    }
}

TEST(HostileAddress, AnAddressTooLongForTheSystemIsReportedInTheChatAndTheLobbyGoesOn)
{
    RecordingLauncher launcher;
    ASSERT_TRUE(launcher.isReady());
    FakeTransport transport;
    QtShell shell;
    FakeView view;
    LobbyClient client(transport, shell, view);
    Declares& d = client.state();
    d.CodeLetter = QStringLiteral("a");
    d.MyNick = QStringLiteral("MM_aa021Bob");
    d.CurrentChannel = Channel;
    client.Form_Load();
    transport.acceptConnection();

    // One argument longer than the system passes to a program (128 KiB on Linux).
    const QString address = QString(200 * 1024, u'1');
    transport.deliver(chanMsg(QStringLiteral("MM_aa020Host"), Channel,
                              QStringLiteral("[ZENLAUNCH2] ") + address + QStringLiteral("|||"))
                          .toLatin1());
    EXPECT_TRUE(view.chat.endsWith(QStringLiteral("Could Not Start eaexec.exe\r\n")))
        << view.chat.right(200).toStdString();
    EXPECT_EQ(d.MyNick, QStringLiteral("MM_abFFFBob"));
    EXPECT_TRUE(launcher.starts().isEmpty());

    transport.deliver(
        chanMsg(QStringLiteral("MM_aaFFFAnn"), Channel, QStringLiteral("still here")).toLatin1());
    EXPECT_TRUE(view.chat.endsWith(QStringLiteral("Ann> still here\r\n")));
}

} // namespace
