#include "../lobby/qtprint.h"
#include "app/botfile.h"
#include "bot/boteditor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

TEST(BotEditor, SavedRecordsAreLoadedBackAsTheyWereAndReadByTheBot)
{
    QTemporaryDir dir;
    EXPECT_FALSE(BotEditor::load(dir.path())) << "no bot.dat yet";
    QString text = BotEditor::add("", "hi", "hello");
    text = BotEditor::add(text, "bye", "see you:endl:soon");
    text = BotEditor::add(text, QStringLiteral("caf") + QChar(0xE9), QString(QChar(0xA3)) + "5");
    ASSERT_TRUE(BotEditor::save(dir.path(), text));
    EXPECT_EQ(fileBytes(dir.filePath("bot.dat")), "hi|hello\r\nbye|see you:endl:soon\r\ncaf\xE9|\xA3"
                                                  "5\r\n");
    EXPECT_EQ(BotEditor::load(dir.path()), text);

    Declares d;
    ASSERT_TRUE(BotFile::LoadBotTable(d, dir.path()).ok());
    EXPECT_EQ(d.BotTable[1][0], "bye");
    EXPECT_EQ(d.BotTable[1][1], "see you:endl:soon");
    EXPECT_EQ(d.BotTable[2][0], QStringLiteral("caf") + QChar(0xE9));
    EXPECT_TRUE(d.BotTable[3][0].isEmpty());

    // Cleared and saved, the file is empty and loads as no rows at all.
    ASSERT_TRUE(BotEditor::save(dir.path(), ""));
    EXPECT_EQ(fileBytes(dir.filePath("bot.dat")), "");
    Declares cleared;
    EXPECT_TRUE(BotFile::LoadBotTable(cleared, dir.path()).ok());
    EXPECT_TRUE(cleared.BotTable[0][0].isEmpty());
}

TEST(BotEditor, ASaveThatCannotBeWrittenFails)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("bot.dat"));
    EXPECT_FALSE(BotEditor::save(dir.path(), "a|b\r\n")) << "bot.dat is a folder";
    EXPECT_FALSE(BotEditor::save(dir.path() + "/missing", "a|b\r\n")) << "no such folder";
}

} // namespace
