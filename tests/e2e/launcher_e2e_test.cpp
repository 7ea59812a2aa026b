// The game started for real: the desktop shell hands the host's command line
// to a recording stand-in for eaexec.exe on the search path.
#include "fakes.h"
#include "recordinglauncher.h"

#include "lobby/lobbyclient.h"
#include "ui/qtshell.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

TEST(RealLauncher, TheHostsGameStartsDetachedWithTheCommandLineSplitAtBlanks)
{
    RecordingLauncher launcher;
    ASSERT_TRUE(launcher.isReady());
    launcher.holdStarts();

    FakeTransport transport;
    QtShell shell;
    FakeView view;
    LobbyClient client(transport, shell, view);
    Declares& d = client.state();
    d.CodeLetter = QStringLiteral("a");
    d.MyNick = QStringLiteral("MM_aa020Bob");
    d.CurrentChannel = QStringLiteral("#ZentharaNET_0");
    client.Form_Load();
    transport.acceptConnection();
    transport.setLocalIP(QStringLiteral("10.0.0.5"));

    client.Launch_Click(2);
    // The launch returned while the launcher is held: nobody waits for the game.
    ASSERT_TRUE(launcher.waitForRuns(1));
    const RecordingLauncher::Run run = launcher.starts().value(0);
    EXPECT_EQ(run.arguments, (QStringList{"zen3.exe", "/h", "tcp", "/nBob", "/boundip", "10.0.0.5"}));
    EXPECT_FALSE(launcher.hasEnded(run.pid));
    // Started detached: the launcher is no child of the lobby's process.
    EXPECT_NE(run.parentPid, QCoreApplication::applicationPid());
    EXPECT_NE(run.parentPid, 0);
    EXPECT_FALSE(view.chat.contains(QStringLiteral("Could Not Start")));

    launcher.release();
    EXPECT_TRUE(launcher.waitForEnd(run.pid));
    EXPECT_EQ(launcher.starts().size(), 1);
}

} // namespace
