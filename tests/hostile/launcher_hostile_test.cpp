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

TEST(HostileAddressForReal, RelayedByAServerTheAddressReachesTheLauncherAsPlainArgumentsAndNothingElseRuns)
{
    RecordingLauncher launcher;
    ASSERT_TRUE(launcher.isReady());
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
    ASSERT_TRUE(waitUntil([&] { return view.chatList.contains(QStringLiteral("Host")); }, Wait)) << view.chat.toStdString();

    const QString m = launcher.mark(QString());
    const QString address = QStringLiteral("1.2.3.4;touch %1semicolon $(touch %1substituted) `touch %1backquoted` "
                                           "'single' \"double\" |touch %1piped && touch %1anded > %1redirected")
                                .arg(m);
    host.sendLine(("PRIVMSG " + Channel + " :[ZENLAUNCH2] " + address + "|||").toLatin1());
    ASSERT_TRUE(launcher.waitForRuns(1));
    EXPECT_EQ(launcher.runOf(QStringLiteral("zen3.exe")),
              (QStringList{"zen3.exe", "/j", "tcp", "1.2.3.4;touch", m + "semicolon", "$(touch", m + "substituted)",
                           "`touch", m + "backquoted`", "'single'", "\"double\"", "|touch", m + "piped", "&&", "touch",
                           m + "anded", ">", m + "redirected", "/nBob", "/boundip", "127.0.0.1"}));

    // The server echoes Bob's change to playing; a link after it is read on its own.
    ASSERT_TRUE(waitUntil([&] { return view.playList.contains(QStringLiteral("Bob")); }, Wait));
    const QString page = QStringLiteral("http://lobby.test/?a=1;touch %1linked&b=$(touch %1linkedsub) 'x y'").arg(m);
    host.sendLine(("PRIVMSG " + Channel + " :[ZENLNK] " + page + "|||").toLatin1());
    ASSERT_TRUE(launcher.waitForRuns(2));
    EXPECT_EQ(shell.questions, QStringList{QStringLiteral("A Link has been posted.. Visit Page:\r\n") + page + u'?'});
    EXPECT_EQ(launcher.runOf(QStringLiteral("iexplore.exe")),
              (QStringList{"iexplore.exe", "http://lobby.test/?a=1;touch", m + "linked&b=$(touch", m + "linkedsub)",
                           "'x", "y'"}));

    // Both launcher runs have ended: anything a shell had made of the
    // addresses would have run by now.
    for (const RecordingLauncher::Run& run : launcher.starts())
        EXPECT_TRUE(launcher.waitForEnd(run.pid));
    EXPECT_EQ(launcher.marksMade(), QStringList());
}

// The program and arguments the desktop makes of a command line.
QStringList startedAs(const QString& commandLine)
{
    return QtShell::splitCommandLine(commandLine);
}

TEST(HostileAddress, LaunchAddressesBecomeArgumentsWordForWord)
{
    const QStringList before{"eaexec.exe", "zen3.exe", "/j", "tcp"};
    const QStringList after{"/nBob", "/boundip", "10.0.0.5"};
    const struct {
        const char* address;
        QStringList words;
    } cases[] = {
        {"1.2.3.4;touch /tmp/x", {"1.2.3.4;touch", "/tmp/x"}},
        {"$(id)", {"$(id)"}},
        {"`id`", {"`id`"}},
        {"'1.2.3.4'", {"'1.2.3.4'"}},
        {"\"1.2.3.4\" \"\"", {"\"1.2.3.4\"", "\"\""}},
        {"1.2.3.4 /h tcp /nEvil", {"1.2.3.4", "/h", "tcp", "/nEvil"}},
        {"   1.2.3.4    x  ", {"1.2.3.4", "x"}},
        {"1.2.3.4\tx\ny", {"1.2.3.4\tx\ny"}},
        {"${HOME} %PATH% ~ *", {"${HOME}", "%PATH%", "~", "*"}},
        {"a|b||c", {"a|b||c"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        FakeLobby lobby(QStringLiteral("MM_aa021Bob"), Channel);
        lobby.connect();
        lobby.receive(chanMsg(QStringLiteral("MM_aa020Host"), Channel,
                              QStringLiteral("[ZENLAUNCH2] ") + QString::fromLatin1(c.address) + QStringLiteral("|||")));
        ASSERT_EQ(lobby.shell.started.size(), 1);
        EXPECT_EQ(startedAs(lobby.shell.started[0]), before + c.words + after);
    }
}

TEST(HostileAddress, LinkAddressesBecomeArgumentsWordForWord)
{
    const struct {
        const char* address;
        QStringList words;
    } cases[] = {
        {"http://a.test/;touch /tmp/x", {"http://a.test/;touch", "/tmp/x"}},
        {"http://a.test/?q=$(id)&r=`id`", {"http://a.test/?q=$(id)&r=`id`"}},
        {"\"http://a.test/\" 'b'", {"\"http://a.test/\"", "'b'"}},
        {"file:///etc/passwd -extra --words", {"file:///etc/passwd", "-extra", "--words"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        FakeLobby lobby(QStringLiteral("MM_aa021Bob"), Channel);
        lobby.connect();
        lobby.receive(chanMsg(QStringLiteral("MM_aaFFFAnn"), Channel,
                              QStringLiteral("[ZENLNK] ") + QString::fromLatin1(c.address) + QStringLiteral("|||")));
        ASSERT_EQ(lobby.shell.started.size(), 1);
        EXPECT_EQ(startedAs(lobby.shell.started[0]), QStringList({"eaexec.exe", "iexplore.exe"}) + c.words);
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
    EXPECT_TRUE(view.chat.endsWith(QStringLiteral("Could Not Start eaexec.exe\r\n"))) << view.chat.right(200).toStdString();
    EXPECT_EQ(d.MyNick, QStringLiteral("MM_abFFFBob"));
    EXPECT_TRUE(launcher.runs().isEmpty());

    transport.deliver(chanMsg(QStringLiteral("MM_aaFFFAnn"), Channel, QStringLiteral("still here")).toLatin1());
    EXPECT_TRUE(view.chat.endsWith(QStringLiteral("Ann> still here\r\n")));
}

} // namespace
