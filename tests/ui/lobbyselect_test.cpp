// The lobby choice: nine lobby spots and the clan lobby, and the way back.
#include "uitest.h"

#include "eventwait.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(LobbySelect, EachLobbySpotPicksItsChannelAndOpensTheLobbyOnceConnected)
{
    for (int index = 0; index < 9; ++index) {
        SCOPED_TRACE(index);
        Desktop desktop;
        desktop.logIn(QStringLiteral("Bob"));
        click(control<QWidget>(desktop.select(), QStringLiteral("LBYSEL"), index));
        EXPECT_EQ(desktop.state().CurrentChannel, QStringLiteral("#ZentharaNET_%1").arg(index));
        EXPECT_FALSE(desktop.select()->isVisible());
        // Loading the lobby connects; the window waits for the connection.
        EXPECT_EQ(desktop.transport.connectCount, 1);
        EXPECT_FALSE(desktop.lobby()->isVisible());
        desktop.transport.acceptConnection();
        EXPECT_TRUE(desktop.lobby()->isVisible());
        EXPECT_EQ(desktop.transport.takeLines().value(0), QStringLiteral("NICK MM_aaFFFBob"));
    }
}

TEST(LobbySelect, TheClanBoxReachesTheClanRule)
{
    // The rule's table is on the core; here one name refused by Join, one accepted by Enter.
    Desktop desktop;
    desktop.logIn(QStringLiteral("Bob"));
    auto* clan = control<QLineEdit>(desktop.select(), QStringLiteral("CLANLOBBY"));
    QTest::keyClicks(clan, QStringLiteral("abcdefghijklmnopqrstu"));
    click(control<QWidget>(desktop.select(), QStringLiteral("Command1")));
    ASSERT_EQ(desktop.shell.messages.size(), 1u);
    EXPECT_EQ(desktop.shell.messages[0].title, QStringLiteral("ZenLobby"));
    EXPECT_EQ(desktop.shell.messages[0].text, QStringLiteral("Invalid Clan Channel Parameter"));
    EXPECT_TRUE(desktop.select()->isVisible());
    EXPECT_EQ(desktop.transport.connectCount, 0);

    clan->clear();
    QTest::keyClicks(clan, QStringLiteral("My_Clan"));
    QTest::keyClick(clan, Qt::Key_Return);
    EXPECT_EQ(desktop.state().CurrentChannel, QStringLiteral("#ZenNETCLAN_My_Clan"));
    EXPECT_FALSE(desktop.select()->isVisible());
    EXPECT_EQ(desktop.transport.connectCount, 1);
}

int lobbyWindows()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += widget->objectName() == QStringLiteral("Lobby") ? 1 : 0;
    return count;
}

TEST(LobbySelect, AfterSelectTheSameLobbyWindowComesBackOnlyWhenChosenOrClosed)
{
    Desktop desktop;
    desktop.enterLobby(QStringLiteral("Bob"), 2);
    LobbyWindow* lobby = desktop.lobby();
    desktop.type(QStringLiteral("/select"));
    EXPECT_FALSE(lobby->isVisible());
    EXPECT_TRUE(desktop.select()->isVisible());
    EXPECT_EQ(desktop.transport.state(), SocketState::Closed);

    // Choosing shows the same window at once and connects to the lobby chosen.
    click(control<QWidget>(desktop.select(), QStringLiteral("LBYSEL"), 4));
    EXPECT_EQ(desktop.state().CurrentChannel, QStringLiteral("#ZentharaNET_4"));
    EXPECT_TRUE(lobby->isVisible());
    EXPECT_EQ(desktop.lobby(), lobby);
    EXPECT_EQ(lobbyWindows(), 1);
    EXPECT_EQ(desktop.transport.connectCount, 2);
    desktop.transport.acceptConnection();

    // A reconnect while choosing leaves the lobby hidden; closing the choice
    // goes back to it, never leaving the program without a window.
    desktop.forms.client().setTimerIntervals(100000, 20);
    desktop.type(QStringLiteral("/select"));
    ASSERT_TRUE(waitUntil([&] { return desktop.transport.connectCount == 3; }, 5000));
    desktop.transport.acceptConnection();
    EXPECT_FALSE(lobby->isVisible());
    EXPECT_TRUE(desktop.select()->isVisible());
    desktop.select()->close();
    EXPECT_EQ(desktop.shell.endCount, 0);
    EXPECT_EQ(desktop.transport.connectCount, 3) << "the connection is in that lobby already";
    EXPECT_FALSE(desktop.select()->isVisible());
    EXPECT_TRUE(lobby->isVisible());
    EXPECT_EQ(desktop.state().CurrentChannel, QStringLiteral("#ZentharaNET_4"));
}

TEST(LobbySelect, ClosingItBeforeAnyLobbyEndsTheProgram)
{
    Desktop desktop;
    desktop.logIn(QStringLiteral("Bob"));
    desktop.select()->close();
    EXPECT_EQ(desktop.shell.endCount, 1);
}

} // namespace
