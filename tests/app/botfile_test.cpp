#include "../lobby/qtprint.h"
#include "app/botfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<QString, QString>>;

// A program folder holding bot.dat with exactly the given bytes.
struct BotFolder {
    QTemporaryDir dir;
    void write(const QByteArray& bytes)
    {
        QFile file(dir.filePath(QStringLiteral("bot.dat")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    BotFile::LoadResult load(Declares& d) { return BotFile::LoadBotTable(d, dir.path()); }
};

void expectRows(const Declares& d, const Rows& rows, const char* what)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(d.BotTable[i][0], rows[i].first) << what << " row " << i;
        EXPECT_EQ(d.BotTable[i][1], rows[i].second) << what << " row " << i;
    }
    // The row after the last one stored is untouched (empty in a fresh table).
    EXPECT_TRUE(d.BotTable[rows.size()][0].isEmpty()) << what;
    EXPECT_TRUE(d.BotTable[rows.size()][1].isEmpty()) << what;
}

TEST(LoadBotTable, ReadsRecordsAndFaultsKeepEarlierRows)
{
    using F = BotFile::Fault;
    const struct {
        const char* what;
        QByteArray bytes;
        F fault;
        Rows rows;
    } cases[] = {
        {"single record", "hi|hello\r\n", F::None, {{"hi", "hello"}}},
        {"split at the first bar", "a|b|c\r\n", F::None, {{"a", "b|c"}}},
        {"empty trigger", "|x\r\n", F::None, {{"", "x"}}},
        {"empty reply", "x|\r\n", F::None, {{"x", ""}}},
        {"empty file", "", F::None, {}},
        {"file order",
         "one|1\r\ntwo|2\r\nthree|3\r\n",
         F::None,
         {{"one", "1"}, {"two", "2"}, {"three", "3"}}},
        {"rest of one character ignored", "one|1\r\nx", F::None, {{"one", "1"}}},
        {"rest of two characters ignored", "one|1\r\nxy", F::None, {{"one", "1"}}},
        {"one extra line end ignored", "one|1\r\n\r\n", F::None, {{"one", "1"}}},
        {"lone LF is no line end", "a|b\nc|d\r\n", F::None, {{"a", "b\nc|d"}}},
        {"unterminated last record",
         "one|1\r\ntwo|2\r\nthree|3",
         F::Unterminated,
         {{"one", "1"}, {"two", "2"}}},
        {"unterminated rest of three", "one|1\r\nx|y", F::Unterminated, {{"one", "1"}}},
        {"record without bar", "one|1\r\nnobar\r\nthree|3\r\n", F::NoSeparator, {{"one", "1"}}},
        {"empty line among records", "one|1\r\n\r\nthree|3\r\n", F::NoSeparator, {{"one", "1"}}},
        {"two extra line ends", "one|1\r\n\r\n\r\n", F::NoSeparator, {{"one", "1"}}},
    };
    for (const auto& c : cases) {
        BotFolder folder;
        folder.write(c.bytes);
        Declares d;
        const BotFile::LoadResult result = folder.load(d);
        EXPECT_EQ(result.fault, c.fault) << c.what;
        EXPECT_EQ(result.ok(), c.fault == F::None) << c.what;
        EXPECT_EQ(result.rowsStored, int(c.rows.size())) << c.what;
        expectRows(d, c.rows, c.what);
    }
}

TEST(LoadBotTable, MissingFileIsAFaultAndTouchesNothing)
{
    QTemporaryDir dir;
    Declares d;
    d.BotTable[0] = {QStringLiteral("old"), QStringLiteral("row")};
    const BotFile::LoadResult result = BotFile::LoadBotTable(d, dir.path());
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.fault, BotFile::Fault::Unreadable);
    EXPECT_EQ(d.BotTable[0][0], "old");
    EXPECT_EQ(d.BotTable[0][1], "row");
}

TEST(LoadBotTable, HoldsRowsZeroToOneThousandAndFaultsOnTheNext)
{
    auto records = [](int count) {
        QByteArray bytes;
        for (int i = 0; i < count; ++i)
            bytes += "t" + QByteArray::number(i) + "|r" + QByteArray::number(i) + "\r\n";
        return bytes;
    };
    {
        BotFolder folder;
        folder.write(records(1001));
        Declares d;
        EXPECT_TRUE(folder.load(d).ok());
        EXPECT_EQ(d.BotTable[1000][0], "t1000");
        EXPECT_EQ(d.BotTable[1000][1], "r1000");
    }
    {
        BotFolder folder;
        folder.write(records(1002));
        Declares d;
        const BotFile::LoadResult result = folder.load(d);
        EXPECT_EQ(result.fault, BotFile::Fault::TooManyRecords);
        EXPECT_EQ(result.rowsStored, 1001);
        EXPECT_EQ(d.BotTable[0][0], "t0");
        EXPECT_EQ(d.BotTable[1000][0], "t1000");
        EXPECT_EQ(d.BotTable[1000][1], "r1000");
    }
}

TEST(LoadBotTable, ReloadOverwritesOnlyTheRowsItReads)
{
    BotFolder folder;
    Declares d;
    folder.write("a|1\r\nb|2\r\nc|3\r\nd|4\r\ne|5\r\n");
    ASSERT_TRUE(folder.load(d).ok());
    folder.write("x|7\r\ny|8\r\nz|9\r\n");
    ASSERT_TRUE(folder.load(d).ok());
    expectRows(d, {{"x", "7"}, {"y", "8"}, {"z", "9"}, {"d", "4"}, {"e", "5"}}, "reload");

    // A fault on reload keeps the rows read before it and the old rows after.
    folder.write("p|0\r\nbroken\r\n");
    EXPECT_FALSE(folder.load(d).ok());
    expectRows(d, {{"p", "0"}, {"y", "8"}, {"z", "9"}, {"d", "4"}, {"e", "5"}}, "faulty reload");
}

TEST(LoadBotTable, EveryByteIsOneCharacter)
{
    BotFolder folder;
    // 0x80 to 0xFF are text like any other byte (the old 8-bit code page).
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    folder.write("caf\xE9|\xA3"
                 "5 \xFF\r\n" +
                 high + "|" + high + "\r\n");
    Declares d;
    ASSERT_TRUE(folder.load(d).ok());
    EXPECT_EQ(d.BotTable[0][0], QStringLiteral("caf") + QChar(0xE9));
    EXPECT_EQ(d.BotTable[0][1], QString(QChar(0xA3)) + QStringLiteral("5 ") + QChar(0xFF));
    EXPECT_EQ(d.BotTable[1][0].size(), 128);
    EXPECT_EQ(d.BotTable[1][0].toLatin1(), high);
    EXPECT_EQ(d.BotTable[1][1].toLatin1(), high);
}

} // namespace
