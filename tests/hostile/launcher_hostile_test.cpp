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
constexpr int Wait = 10000;

// The desktop as the program has it, with the player answering Yes to a link.
class AgreeingShell : public QtShell {
public:
    void askYesNo(const QString&, const QString& text, std::function<void(bool yes)> answered) override
    {
        questions << text;
        answered(true);
    }
    QStringList questions;
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
    ASSERT_TRUE(waitUntil([&] { return view.chatList.contains(QStringLiteral("Host")); }, Wait))
        << view.chat.toStdString();

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
        QStringLiteral("http://lobby.test/?a=1;touch${IFS}%1linked&b=$(touch${IFS}%1sub)`touch${IFS}%1bq`|"
                       "touch${IFS}%1piped>%1redirected")
            .arg(m);
    host.sendLine(("PRIVMSG " + Channel + " :[ZENLNK] " + page + "|||").toLatin1());
    ASSERT_TRUE(launcher.waitForRuns(2));
    EXPECT_EQ(launcher.runOf(QStringLiteral("iexplore.exe")), (QStringList{"iexplore.exe", page}));

    // Both launcher runs have ended: anything a shell had made of the
    // addresses would have run by now.
    for (const RecordingLauncher::Run& run : launcher.starts())
        EXPECT_TRUE(launcher.waitForEnd(run.pid));
    EXPECT_EQ(launcher.starts().size(), 2);
    EXPECT_EQ(launcher.marksMade(), QStringList());
}

TEST(HostileAddress, OnlyADottedAddressStartsAGameAndALinkIsOneArgumentWordForWord)
{
    const QString launch = QStringLiteral("[ZENLAUNCH2] ");
    const QString link = QStringLiteral("[ZENLNK] ");
    const struct {
        QString kind;
        const char* address;
        QStringList words; // after the launcher and the program; empty: nothing starts
    } cases[] = {
        {launch, "1.2.3.4", {"/j", "tcp", "1.2.3.4", "/nBob", "/boundip", "10.0.0.5"}},
        {launch, "1.2.3.4;touch /tmp/x", {}},
        {launch, "$(id)", {}},
        {launch, "1.2.3.4 /h tcp /nEvil", {}},
        {launch, " 1.2.3.4", {}},
        {launch, "1.2.3.4\tx", {}},
        {launch, "1.2.3", {}},
        {launch, "1.2.3.4.5", {}},
        {launch, "+1.2.3.4", {}},
        {launch, "", {}},
        {link, "http://a.test/?q=$(id)&r=`id`;x|y>z", {"http://a.test/?q=$(id)&r=`id`;x|y>z"}},
        {link, "http://a.test/;touch /tmp/x", {}},
        {link, "file:///etc/passwd -extra", {}},
        {link, "http://a.test/\x7f", {}},
        {link, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind.toStdString() + c.address);
        FakeLobby lobby(QStringLiteral("MM_aa021Bob"), Channel);
        lobby.connect();
        lobby.receive(chanMsg(QStringLiteral("MM_aa020Host"), Channel,
                              c.kind + QString::fromLatin1(c.address) + "|||"));
        const QString program =
            c.kind == launch ? QStringLiteral("zen3.exe") : QStringLiteral("iexplore.exe");
        EXPECT_EQ(lobby.shell.started.size(), c.words.isEmpty() ? 0 : 1);
        if (!c.words.isEmpty())
            EXPECT_EQ(QtShell::splitCommandLine(lobby.shell.started[0]),
                      QStringList({"eaexec.exe", program}) + c.words);
        EXPECT_EQ(lobby.d.MyNick, c.kind == launch && !c.words.isEmpty() ? "MM_abFFFBob" : "MM_aa021Bob");
    }
}

TEST(HostileAddress, ALinkTooLongForTheSystemIsReportedInTheChatAndTheLobbyGoesOn)
{
    RecordingLauncher launcher;
    ASSERT_TRUE(launcher.isReady());
    FakeTransport transport;
    AgreeingShell shell;
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
    transport.deliver(chanMsg(QStringLiteral("MM_aaFFFAnn"), Channel,
                              QStringLiteral("[ZENLNK] ") + address + QStringLiteral("|||"))
                          .toLatin1());
    EXPECT_TRUE(view.chat.endsWith(QStringLiteral("Could Not Start eaexec.exe\r\n")))
        << view.chat.right(200).toStdString();
    EXPECT_TRUE(launcher.starts().isEmpty());

    transport.deliver(
        chanMsg(QStringLiteral("MM_aaFFFAnn"), Channel, QStringLiteral("still here")).toLatin1());
    EXPECT_TRUE(view.chat.endsWith(QStringLiteral("Ann> still here\r\n")));
}

} // namespace
