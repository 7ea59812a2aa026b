// The login window: the name rules through the real name box and buttons.
#include "uitest.h"

#include "app/login.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString Pound = QString(QChar(0x00A3));

struct LoginCase {
    QString typed;
    bool accepted;
    QString boxAfter; // the name box after the click
};

QString letters(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'a' + i % 26);
    return text;
}

const LoginCase loginCases[] = {
    {QString(), false, QString()},
    {QStringLiteral(" "), false, QStringLiteral(" ")},
    {QStringLiteral("NightShade"), false, QStringLiteral("NightShade")},
    {QStringLiteral("Night"), false, QStringLiteral("Night")},
    {QStringLiteral("nightshade"), true, QStringLiteral("nightshade")},
    {QStringLiteral("NIGHT"), true, QStringLiteral("NIGHT")},
    {QStringLiteral("@NightShade"), true, QStringLiteral("NightShade")},
    {QStringLiteral("@Night"), true, QStringLiteral("Night")},
    {QStringLiteral(" NightShade"), true, QStringLiteral("NightShade")},
    {QStringLiteral("Night_Shade"), true, QStringLiteral("NightShade")},
    {QStringLiteral("#NightShade"), true, QStringLiteral("NightShade")},
    {QStringLiteral("  Bob  "), true, QStringLiteral("Bob")},
    {QStringLiteral("Bob!"), true, QStringLiteral("Bob")},
    {QStringLiteral("B.o.b"), true, QStringLiteral("B.o.b")},
    {QStringLiteral("Bob's[1]+"), true, QStringLiteral("Bob's[1]+")},
    {QStringLiteral("a b~c#d@e_f-g*h&i^j%k$l") + Pound + QStringLiteral("m!n"), true,
     QStringLiteral("abcdefghijklmn")},
    {letters(20), true, letters(20)},
    {letters(21), false, letters(21)},
    {QStringLiteral("abcde_fghij_klmno_pqrst_"), true, QStringLiteral("abcdefghijklmnopqrst")},
    {QStringLiteral("__") + letters(21), false, letters(21)},
};

TEST(LoginForm, AppliesTheNameRulesToWhatIsTypedInTheBox)
{
    for (const LoginCase& c : loginCases) {
        SCOPED_TRACE("typed \"" + c.typed.toStdString() + "\"");
        Desktop desktop;
        desktop.forms.Main();
        LoginForm* login = desktop.login();
        auto* box = control<QLineEdit>(login, QStringLiteral("NICKNAMEBOX"));
        ASSERT_NE(box, nullptr);
        QTest::keyClicks(box, c.typed);
        ASSERT_EQ(box->text(), c.typed);
        click(control<QPushButton>(login, QStringLiteral("Command1")));

        EXPECT_EQ(box->text(), c.boxAfter);
        const Declares& d = desktop.state();
        if (c.accepted) {
            EXPECT_TRUE(desktop.shell.messages.empty());
            EXPECT_EQ(d.MyNick, QStringLiteral("MM_aaFFF") + c.boxAfter);
            EXPECT_EQ(d.NickPrefix, QStringLiteral("MM_aaFFF"));
            EXPECT_TRUE(d.NickSuffix.isEmpty());
            EXPECT_FALSE(login->isVisible());
            EXPECT_TRUE(desktop.select()->isVisible());
        } else {
            ASSERT_EQ(desktop.shell.messages.size(), 1u);
            EXPECT_EQ(desktop.shell.messages[0].title, QStringLiteral("ZenLobby"));
            EXPECT_EQ(desktop.shell.messages[0].text, QStringLiteral("Please Use a Valid UserName"));
            EXPECT_EQ(desktop.shell.messages[0].icon, Shell::Icon::None);
            EXPECT_TRUE(d.MyNick.isEmpty());
            EXPECT_TRUE(login->isVisible());
            EXPECT_FALSE(desktop.select()->isVisible());
        }
    }
}

TEST(LoginForm, TheFirstNicknameOfBobIsElevenCharacters)
{
    Desktop desktop;
    desktop.logIn(QStringLiteral("Bob"));
    EXPECT_EQ(desktop.state().MyNick, QStringLiteral("MM_aaFFFBob"));
    EXPECT_EQ(desktop.state().CodeLetter, QStringLiteral("a"));
}

TEST(LoginForm, AnOverLongNameIsRefusedAfterCleaningAndTheCodeLetterIsAlreadySet)
{
    Desktop desktop;
    desktop.forms.Main();
    auto* box = control<QLineEdit>(desktop.login(), QStringLiteral("NICKNAMEBOX"));
    QTest::keyClicks(box, QStringLiteral("Night Shade Is A Long Name"));
    click(control<QPushButton>(desktop.login(), QStringLiteral("Command1")));
    EXPECT_EQ(box->text(), QStringLiteral("NightShadeIsALongName"));
    EXPECT_EQ(desktop.state().CodeLetter, QStringLiteral("a"));
    EXPECT_TRUE(desktop.state().MyNick.isEmpty());
    EXPECT_EQ(desktop.shell.messages.size(), 1u);
}

TEST(LoginForm, EnterInTheNameBoxLogsIn)
{
    Desktop desktop;
    desktop.forms.Main();
    auto* box = control<QLineEdit>(desktop.login(), QStringLiteral("NICKNAMEBOX"));
    QTest::keyClicks(box, QStringLiteral("Ann"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(desktop.state().MyNick, QStringLiteral("MM_aaFFFAnn"));
    EXPECT_TRUE(desktop.select()->isVisible());
}

TEST(LoginForm, ExitAndClosingTheWindowEndTheProgram)
{
    {
        Desktop desktop;
        desktop.forms.Main();
        click(control<QPushButton>(desktop.login(), QStringLiteral("Command2")));
        EXPECT_EQ(desktop.shell.endCount, 1);
    }
    {
        Desktop desktop;
        desktop.forms.Main();
        desktop.login()->close();
        EXPECT_EQ(desktop.shell.endCount, 1);
    }
    {
        // After a login the window is only hidden: the program goes on.
        Desktop desktop;
        desktop.logIn(QStringLiteral("Ann"));
        EXPECT_EQ(desktop.shell.endCount, 0);
    }
}

} // namespace
