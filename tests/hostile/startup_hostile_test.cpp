// The program's own files turned hostile, through the windows' start-up and
// the bot editor: one message where one is due, never a crash or a hang.
#include "uitest.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// A real JPEG whose frame header claims 65,000 by 65,000 pixels: 17 GB to decode.
QByteArray hugeDeclaredJpeg(QByteArray jpeg)
{
    // Height, then width, after the frame marker, its length and the precision.
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    EXPECT_GT(frame, 0);
    return jpeg.replace(frame + 5, 4, "\xFD\xE8\xFD\xE8");
}

TEST(HostileStartUp, AFileThatCannotBeReadStopsTheLoadingWithOneMessageThenTheLoginAndTheLobbyStillOpen)
{
    using Spoil = QByteArray (*)(QByteArray original); // null: the file becomes a folder
    // The file spoilt (none: all as built), the backdrops loaded before the stop, the first bot trigger.
    for (const auto& [file, spoil, pictures, trigger] :
         {std::tuple<const char*, Spoil, int, const char*>{"", nullptr, 3, "!help"},
          {"bg.jpg", nullptr, 0, ""},
          {"huts.jpg", [](QByteArray jpeg) { return jpeg.left(300); }, 1, ""},
          {"select.jpg", hugeDeclaredJpeg, 2, ""},
          {"bot.dat", [](QByteArray) { return QByteArray("hi|hello\r\ngg|wp"); }, 3, "hi"},
          {"bot.dat", [](QByteArray) { return QByteArray(10'000'000, 'z'); }, 3, ""}}) {
        Desktop desktop;
        if (*file) {
            const QByteArray original = desktop.folder.read(file);
            desktop.folder.remove(file);
            spoil ? desktop.folder.write(file, spoil(original))
                  : void(QDir(desktop.folder.path()).mkdir(file));
        }
        bool loginFirst = false;
        desktop.shell.onMessage = [&](const QString&) { loginFirst = desktop.login()->isVisible(); };
        desktop.forms.Main();
        EXPECT_EQ(desktop.messages(), *file ? QStringList{"Could Not Load Data Files"} : QStringList())
            << file;
        EXPECT_FALSE(loginFirst) << "the message comes before the login";
        EXPECT_TRUE(desktop.login()->isVisible());
        const Pictures& loaded = desktop.forms.pictures();
        EXPECT_EQ(QList<bool>({loaded.BG1.isNull(), loaded.HUTSIMG.isNull(), loaded.SELECT1.isNull()}),
                  QList<bool>({pictures < 1, pictures < 2, pictures < 3}))
            << file;
        EXPECT_EQ(desktop.state().BotTable[0][0], trigger);
        desktop.enterLobby();
        desktop.editor()->open(); // shows the file as it is, however large
        EXPECT_EQ(desktop.editor()->text().size(), desktop.folder.read("bot.dat").size());
    }
}

} // namespace
