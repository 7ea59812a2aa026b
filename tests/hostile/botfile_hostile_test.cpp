// A save of bot.dat the disk cannot take fails and leaves the old file whole,
// with nothing half-written beside it. (What the loader makes of odd files is
// left to its table and its fuzz target.)
#include "filesizelimit.h"

#include "app/botfile.h"
#include "bot/boteditor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray records(int count, const QByteArray& reply)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "t" + QByteArray::number(i) + "|" + reply + "\r\n";
    return bytes;
}

TEST(HostileBotFile, ASaveThatCannotBeWrittenFailsAndLeavesTheOldFileWhole)
{
    const QByteArray old = records(40, "r");
    // A little more than the disk takes, and megabytes more.
    for (const QByteArray& text : {records(400, "reply"), records(1000 * 1000, "reply")}) {
        QTemporaryDir dir;
        QFile file(BotFile::path(dir.path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        bool saved = true;
        {
            FileSizeLimit limit(4096);
            ASSERT_TRUE(limit.ok());
            saved = BotEditor::save(dir.path(), QString::fromLatin1(text));
        }
        EXPECT_FALSE(saved) << text.size();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bot.dat"});
    }
}

} // namespace
