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

struct ClanCase {
    QString typed;
    QString channel; // empty: refused
};

TEST(LobbySelect, TheClanLobbyTakesANameOfOneToTwentyCharactersAsTyped)
{
    const ClanCase cases[] = {
        {QString(), QString()},
        {QStringLiteral("abcdefghijklmnopqrst"), QStringLiteral("#ZenNETCLAN_abcdefghijklmnopqrst")},
        {QStringLiteral("abcdefghijklmnopqrstu"), QString()},
        {QStringLiteral("My Clan"), QStringLiteral("#ZenNETCLAN_My Clan")},
        {QStringLiteral("Red,Team_#1"), QStringLiteral("#ZenNETCLAN_Red,Team_#1")},
        {QStringLiteral(" "), QStringLiteral("#ZenNETCLAN_ ")},
    };
    for (const ClanCase& c : cases) {
        SCOPED_TRACE("typed \"" + c.typed.toStdString() + "\"");
        Desktop desktop;
        desktop.logIn(QStringLiteral("Bob"));
        auto* clan = control<QLineEdit>(desktop.select(), QStringLiteral("CLANLOBBY"));
        ASSERT_NE(clan, nullptr);
        QTest::keyClicks(clan, c.typed);
        click(control<QPushButton>(desktop.select(), QStringLiteral("Command1")));

        if (c.channel.isEmpty()) {
            ASSERT_EQ(desktop.shell.messages.size(), 1u);
            EXPECT_EQ(desktop.shell.messages[0].title, QStringLiteral("ZenLobby"));
            EXPECT_EQ(desktop.shell.messages[0].text, QStringLiteral("Invalid Clan Channel Parameter"));
            EXPECT_TRUE(desktop.state().CurrentChannel.isEmpty());
            EXPECT_TRUE(desktop.select()->isVisible());
            EXPECT_EQ(desktop.transport.connectCount, 0);
        } else {
            EXPECT_TRUE(desktop.shell.messages.empty());
            EXPECT_EQ(desktop.state().CurrentChannel, c.channel);
            EXPECT_FALSE(desktop.select()->isVisible());
            EXPECT_EQ(desktop.transport.connectCount, 1);
        }
    }
}

TEST(LobbySelect, EnterInTheClanBoxJoins)
{
    Desktop desktop;
    desktop.logIn(QStringLiteral("Bob"));
    auto* clan = control<QLineEdit>(desktop.select(), QStringLiteral("CLANLOBBY"));
    QTest::keyClicks(clan, QStringLiteral("Zen"));
    QTest::keyClick(clan, Qt::Key_Return);
    EXPECT_EQ(desktop.state().CurrentChannel, QStringLiteral("#ZenNETCLAN_Zen"));
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
