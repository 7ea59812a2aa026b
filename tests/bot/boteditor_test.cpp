#include "../lobby/qtprint.h"
#include "app/botfile.h"
#include "bot/boteditor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(BotEditor, AddAppendsOneRecordAsTyped)
{
    EXPECT_EQ(BotEditor::add("", "hi", "hello"), "hi|hello\r\n");
    EXPECT_EQ(BotEditor::add("hi|hello\r\n", "", ""), "hi|hello\r\n|\r\n");
    EXPECT_EQ(BotEditor::add("x", "a|b", "c"), "xa|b|c\r\n");
}

TEST(BotEditor, SavedTextIsLoadedBackAndReadByTheBot)
{
    QTemporaryDir dir;
    QString text = BotEditor::add("", "hi", "hello");
    text = BotEditor::add(text, "bye", "see you:endl:soon");
    text = BotEditor::add(text, QStringLiteral("caf") + QChar(0xE9), QString(QChar(0xA3)) + "5");
    ASSERT_TRUE(BotEditor::save(dir.path(), text));
    EXPECT_EQ(fileBytes(dir.filePath("bot.dat")), "hi|hello\r\nbye|see you:endl:soon\r\ncaf\xE9|\xA3"
                                                  "5\r\n");

    // Load and save again: the file does not grow.
    const auto loaded = BotEditor::load(dir.path());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, text);
    ASSERT_TRUE(BotEditor::save(dir.path(), *loaded));
    EXPECT_EQ(BotEditor::load(dir.path()), text);

    Declares d;
    ASSERT_TRUE(BotFile::LoadBotTable(d, dir.path()).ok());
    EXPECT_EQ(d.BotTable[1][0], "bye");
    EXPECT_EQ(d.BotTable[1][1], "see you:endl:soon");
    EXPECT_EQ(d.BotTable[2][0], QStringLiteral("caf") + QChar(0xE9));
    EXPECT_TRUE(d.BotTable[3][0].isEmpty());
}

TEST(BotEditor, ClearAndSaveLeavesAnEmptyFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(BotEditor::save(dir.path(), "hi|hello\r\n"));
    ASSERT_TRUE(BotEditor::save(dir.path(), ""));
    EXPECT_EQ(fileBytes(dir.filePath("bot.dat")), "");
    Declares d;
    EXPECT_TRUE(BotFile::LoadBotTable(d, dir.path()).ok());
    EXPECT_TRUE(d.BotTable[0][0].isEmpty());
}

TEST(BotEditor, LoadOfAMissingFileFailsAndSaveCreatesIt)
{
    QTemporaryDir dir;
    EXPECT_FALSE(BotEditor::load(dir.path()));
    EXPECT_TRUE(BotEditor::save(dir.path(), "a|b\r\n"));
    EXPECT_EQ(BotEditor::load(dir.path()), "a|b\r\n");
    EXPECT_EQ(BotEditor::LoadFailedMessage, "Could Not Load Data");
    EXPECT_EQ(BotEditor::SaveFailedMessage, "Could Not Save Data");
}

TEST(BotEditor, AFailedSaveReportsItAndKeepsTheOldFile)
{
    QTemporaryDir noFile;
    ASSERT_TRUE(QDir(noFile.path()).mkdir("bot.dat"));
    EXPECT_FALSE(BotEditor::save(noFile.path(), "a|b\r\n")) << "bot.dat is a folder";
    EXPECT_FALSE(BotEditor::save(noFile.path() + "/missing", "a|b\r\n")) << "no such folder";

    // A write that fails half-way (the file size limit) must not leave a
    // half-written bot.dat behind.
    QTemporaryDir dir;
    const QByteArray old = "old|file\r\n";
    ASSERT_TRUE(BotEditor::save(dir.path(), QString::fromLatin1(old)));
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = BotEditor::save(dir.path(), QString(4096, u'x') + "|y\r\n");
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(fileBytes(dir.filePath("bot.dat")), old);
}

} // namespace
