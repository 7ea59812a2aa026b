// The login window reaches the name rules (their table is in tests/app) and
// acts on the answer. Exit and closing the window are proven on the real
// process in the shell's tests.
#include "uitest.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(LoginForm, TheNameBoxWithLoginOrEnterReachesTheNameRules)
{
    const struct {
        QString typed;
        bool accepted;
        QString boxAfter;
        bool byEnter = false;
    } cases[] = {
        {QStringLiteral(" Night_Shade!"), true, QStringLiteral("NightShade")},
        {QStringLiteral("Ann"), true, QStringLiteral("Ann"), true},
        {QStringLiteral("Night"), false, QStringLiteral("Night")},
        {QStringLiteral("Night Shade Is A Long Name"), false, QStringLiteral("NightShadeIsALongName")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("typed \"" + c.typed.toStdString() + "\"");
        Desktop desktop;
        desktop.forms.Main();
        auto* box = control<QLineEdit>(desktop.login(), QStringLiteral("NICKNAMEBOX"));
        EXPECT_EQ(
            box->toolTip(),
            QStringLiteral("Up to 20 characters: A-Z, a-z, 0-9 and [ ] \\ ` { | } (no accented letters)"));
        QTest::keyClicks(box, c.typed);
        if (c.byEnter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            click(control<QWidget>(desktop.login(), QStringLiteral("Command1")));
        EXPECT_EQ(box->text(), c.boxAfter);
        EXPECT_EQ(desktop.state().MyNick, c.accepted ? "MM_aaFFF" + c.boxAfter : QString());
        EXPECT_EQ(desktop.login()->isVisible(), !c.accepted);
        EXPECT_EQ(desktop.select()->isVisible(), c.accepted);
        EXPECT_EQ(desktop.shell.endCount, 0) << "after a login the window is only hidden";
        ASSERT_EQ(desktop.shell.messages.size(), c.accepted ? 0u : 1u);
        if (!c.accepted) {
            EXPECT_EQ(desktop.shell.messages[0].title, QStringLiteral("ZenLobby"));
            EXPECT_EQ(desktop.shell.messages[0].text, QStringLiteral("Please Use a Valid UserName"));
            EXPECT_EQ(desktop.shell.messages[0].icon, Shell::Icon::None);
        }
    }
}

TEST(LoginForm, ComesBackWithTheNameWhenTheServerTakesNone)
{
    Desktop desktop;
    desktop.enterLobby(QStringLiteral("Bob"), 2);
    // Refused at a reconnect while the lobby choice is open: both windows go.
    desktop.type(QStringLiteral("/select"));
    desktop.forms.client().ReConnect_Timer();
    desktop.transport.acceptConnection();
    desktop.serverSends(QStringLiteral(":irc 432 * MM_aaFFFBob :Erroneous nickname"));
    EXPECT_FALSE(desktop.lobby()->isVisible());
    EXPECT_FALSE(desktop.select()->isVisible());
    EXPECT_TRUE(desktop.login()->isVisible());
    EXPECT_EQ(control<QLineEdit>(desktop.login(), QStringLiteral("NICKNAMEBOX"))->text(),
              QStringLiteral("Bob"));
    ASSERT_EQ(desktop.shell.messages.size(), 1u);
    EXPECT_EQ(desktop.shell.messages[0].text, QStringLiteral("Please Use a Valid UserName"));
}

} // namespace
