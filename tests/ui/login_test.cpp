// The login window reaches the name rules (their table is in tests/app) and acts on the answer.
#include "uitest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(LoginForm, TheNameBoxAndLoginButtonReachTheNameRules)
{
    const struct {
        QString typed;
        bool accepted;
        QString boxAfter;
    } cases[] = {
        {QStringLiteral(" Night_Shade!"), true, QStringLiteral("NightShade")},
        {QStringLiteral("Night"), false, QStringLiteral("Night")},
        {QStringLiteral("Night Shade Is A Long Name"), false, QStringLiteral("NightShadeIsALongName")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("typed \"" + c.typed.toStdString() + "\"");
        Desktop desktop;
        desktop.forms.Main();
        auto* box = control<QLineEdit>(desktop.login(), QStringLiteral("NICKNAMEBOX"));
        QTest::keyClicks(box, c.typed);
        click(control<QPushButton>(desktop.login(), QStringLiteral("Command1")));
        EXPECT_EQ(box->text(), c.boxAfter);
        EXPECT_EQ(desktop.state().MyNick, c.accepted ? "MM_aaFFF" + c.boxAfter : QString());
        EXPECT_EQ(desktop.login()->isVisible(), !c.accepted);
        EXPECT_EQ(desktop.select()->isVisible(), c.accepted);
        ASSERT_EQ(desktop.shell.messages.size(), c.accepted ? 0u : 1u);
        if (!c.accepted) {
            EXPECT_EQ(desktop.shell.messages[0].title, QStringLiteral("ZenLobby"));
            EXPECT_EQ(desktop.shell.messages[0].text, QStringLiteral("Please Use a Valid UserName"));
            EXPECT_EQ(desktop.shell.messages[0].icon, Shell::Icon::None);
        }
    }
}

TEST(LoginForm, EnterLogsInAndExitOrCloseEndTheProgram)
{
    Desktop entered;
    entered.forms.Main();
    auto* box = control<QLineEdit>(entered.login(), QStringLiteral("NICKNAMEBOX"));
    QTest::keyClicks(box, QStringLiteral("Ann"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(entered.state().MyNick, QStringLiteral("MM_aaFFFAnn"));
    EXPECT_EQ(entered.shell.endCount, 0) << "after a login the window is only hidden";

    Desktop exited;
    exited.forms.Main();
    click(control<QPushButton>(exited.login(), QStringLiteral("Command2")));
    EXPECT_EQ(exited.shell.endCount, 1);
    Desktop closed;
    closed.forms.Main();
    closed.login()->close();
    EXPECT_EQ(closed.shell.endCount, 1);
}

} // namespace
