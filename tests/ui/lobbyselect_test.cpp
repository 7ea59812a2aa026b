// The lobby choice: nine lobby spots and the clan lobby, and the way back.
#include "uitest.h"

#include "eventwait.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
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
    // The rule's table is in tests/app; here one accepted name by Enter, one refused by Join.
    Desktop desktop;
    desktop.logIn(QStringLiteral("Bob"));
    auto* clan = control<QLineEdit>(desktop.select(), QStringLiteral("CLANLOBBY"));
    QTest::keyClicks(clan, QStringLiteral("abcdefghijklmnopqrstu"));
    click(control<QPushButton>(desktop.select(), QStringLiteral("Command1")));
    ASSERT_EQ(desktop.shell.messages.size(), 1u);
    EXPECT_EQ(desktop.shell.messages[0].title, QStringLiteral("ZenLobby"));
    EXPECT_EQ(desktop.shell.messages[0].text, QStringLiteral("Invalid Clan Channel Parameter"));
    EXPECT_TRUE(desktop.select()->isVisible());
    EXPECT_EQ(desktop.transport.connectCount, 0);

    clan->clear();
    QTest::keyClicks(clan, QStringLiteral("My Clan"));
    QTest::keyClick(clan, Qt::Key_Return);
    EXPECT_EQ(desktop.state().CurrentChannel, QStringLiteral("#ZenNETCLAN_My Clan"));
    EXPECT_FALSE(desktop.select()->isVisible());
    EXPECT_EQ(desktop.transport.connectCount, 1);
}

void typeInLobby(Desktop& desktop, const QString& text)
{
    auto* input = control<QLineEdit>(desktop.lobby(), QStringLiteral("OUTCHAT"));
    QTest::keyClicks(input, text);
    QTest::keyClick(input, Qt::Key_Return);
}

int lobbyWindows()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += widget->objectName() == QStringLiteral("Lobby") ? 1 : 0;
    return count;
}

TEST(LobbySelect, ChoosingAgainAfterSelectShowsTheSameLobbyWindowAtOnce)
{
    Desktop desktop;
    desktop.enterLobby(QStringLiteral("Bob"), 2);
    LobbyWindow* lobby = desktop.lobby();

    typeInLobby(desktop, QStringLiteral("/select"));
    EXPECT_FALSE(lobby->isVisible());
    EXPECT_TRUE(desktop.select()->isVisible());
    EXPECT_EQ(desktop.transport.state(), SocketState::Closed);

    click(control<QWidget>(desktop.select(), QStringLiteral("LBYSEL"), 4));
    EXPECT_EQ(desktop.state().CurrentChannel, QStringLiteral("#ZentharaNET_4"));
    EXPECT_TRUE(lobby->isVisible());
    EXPECT_EQ(desktop.lobby(), lobby);
    EXPECT_EQ(lobbyWindows(), 1);
    // No second load: the reconnect timer brings the connection back.
    EXPECT_EQ(desktop.transport.connectCount, 1);
}

TEST(LobbySelect, AReconnectWhileChoosingLeavesTheLobbyHidden)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.forms.client().setTimerIntervals(100000, 20);
    typeInLobby(desktop, QStringLiteral("/select"));
    ASSERT_TRUE(waitUntil([&] { return desktop.transport.connectCount == 2; }, 5000));
    desktop.transport.acceptConnection();
    EXPECT_FALSE(desktop.lobby()->isVisible());
    EXPECT_TRUE(desktop.select()->isVisible());
}

TEST(LobbySelect, ClosingItNeverLeavesTheProgramWithoutAWindow)
{
    {
        // Before any lobby: closing it ends the program, as the login's close does.
        Desktop desktop;
        desktop.logIn(QStringLiteral("Bob"));
        desktop.select()->close();
        EXPECT_EQ(desktop.shell.endCount, 1);
    }
    {
        // After "/select": back to the lobby, which reconnects on its own.
        Desktop desktop;
        desktop.enterLobby();
        typeInLobby(desktop, QStringLiteral("/select"));
        desktop.select()->close();
        EXPECT_EQ(desktop.shell.endCount, 0);
        EXPECT_FALSE(desktop.select()->isVisible());
        EXPECT_TRUE(desktop.lobby()->isVisible());
        EXPECT_EQ(desktop.state().CurrentChannel, QStringLiteral("#ZentharaNET_0"));
    }
}

} // namespace
