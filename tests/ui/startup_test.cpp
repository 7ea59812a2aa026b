// The start-up: configuration, the data files beside the program, and the
// failure path that still leads to the login window.
#include "uitest.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

TEST(StartUp, LoadsEverythingAndShowsTheLoginWindow)
{
    Desktop desktop;
    desktop.forms.Main();
    const Declares& d = desktop.state();
    EXPECT_EQ(d.AppTitle, QStringLiteral("Zenthara Razaz Aduda"));
    EXPECT_EQ(d.ServerPort, 6664);
    EXPECT_EQ(d.FieldSep, QStringLiteral("|||"));
    EXPECT_TRUE(desktop.shell.messages.empty());

    // The default pictures are JPEG files: decoding them needs Qt's JPEG plugin.
    const Pictures& pictures = desktop.forms.pictures();
    EXPECT_FALSE(pictures.BG1.isNull());
    EXPECT_FALSE(pictures.HUTSIMG.isNull());
    EXPECT_FALSE(pictures.SELECT1.isNull());
    EXPECT_EQ(d.BotTable[0][0], QStringLiteral("!help"));

    LoginForm* login = desktop.login();
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(control<QLabel>(login, QStringLiteral("BG1"))->pixmap().cacheKey(), pictures.BG1.cacheKey());
    EXPECT_EQ(control<QLabel>(login, QStringLiteral("LOGO"))->pixmap().cacheKey(), pictures.LOGO.cacheKey());
    EXPECT_FALSE(pictures.LOGO.isNull());
}

TEST(StartUp, AFileThatCannotBeReadStopsTheLoadingShowsOneMessageThenTheLogin)
{
    // Missing files here; pictures with hostile contents are in the hostile tests.
    const struct {
        const char* file;
        const char* contents; // null: the file is missing
        bool background, huts, select;
        QString firstTrigger;
    } cases[] = {
        {"bg.jpg", nullptr, false, false, false, {}},
        {"huts.jpg", nullptr, true, false, false, {}},
        {"bot.dat", nullptr, true, true, true, {}},
        {"bot.dat", "hi|hello\r\ngg|wp", true, true, true, QStringLiteral("hi")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.contents ? " spoilt" : " missing"));
        Desktop desktop;
        if (c.contents)
            desktop.folder.write(QString::fromLatin1(c.file), c.contents);
        else
            desktop.folder.remove(QString::fromLatin1(c.file));
        bool loginShownFirst = true;
        desktop.shell.onMessage = [&](const QString&) { loginShownFirst = desktop.login()->isVisible(); };
        desktop.forms.Main();

        ASSERT_EQ(desktop.shell.messages.size(), 1u);
        EXPECT_EQ(desktop.shell.messages[0].title, QStringLiteral("ZenLobby"));
        EXPECT_EQ(desktop.shell.messages[0].text, QStringLiteral("Could Not Load Data Files"));
        EXPECT_FALSE(loginShownFirst);
        EXPECT_TRUE(desktop.login()->isVisible());

        const Pictures& pictures = desktop.forms.pictures();
        EXPECT_EQ(!pictures.BG1.isNull(), c.background);
        EXPECT_EQ(!pictures.HUTSIMG.isNull(), c.huts);
        EXPECT_EQ(!pictures.SELECT1.isNull(), c.select);
        EXPECT_EQ(desktop.state().BotTable[0][0], c.firstTrigger);
        EXPECT_TRUE(desktop.state().BotTable[1][0].isEmpty());
    }
}

TEST(StartUp, TheLobbyCanStillBeUsedWithoutItsPictures)
{
    Desktop desktop;
    desktop.folder.remove(QStringLiteral("bg.jpg"));
    desktop.enterLobby();
    EXPECT_TRUE(desktop.lobby()->isVisible());
    EXPECT_TRUE(control<QLabel>(desktop.lobby(), QStringLiteral("BG1"))->pixmap().isNull());
}

} // namespace
