#include "../lobby/qtprint.h"
#include "app/botfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<QString, QString>>;

// Loads bot.dat with exactly these bytes into the table.
BotFile::LoadResult load(Declares& d, const QByteArray& bytes)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("bot.dat")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write(bytes), bytes.size());
    file.close();
    return BotFile::LoadBotTable(d, dir.path());
}

void expectRows(const Declares& d, const Rows& rows, const char* what)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(d.BotTable[i][0], rows[i].first) << what << " row " << i;
        EXPECT_EQ(d.BotTable[i][1], rows[i].second) << what << " row " << i;
    }
    // The row after the last one stored is untouched (empty in a fresh table).
    if (rows.size() < Declares::BotRows)
        EXPECT_TRUE(d.BotTable[rows.size()][0].isEmpty() && d.BotTable[rows.size()][1].isEmpty()) << what;
}

// Records "t0|r0" to "t<count-1>|r<count-1>" and the rows they make.
QByteArray records(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "t" + QByteArray::number(i) + "|r" + QByteArray::number(i) + "\r\n";
    return bytes;
}
Rows numberedRows(int count)
{
    Rows rows;
    for (int i = 0; i < count; ++i)
        rows.emplace_back("t" + QString::number(i), "r" + QString::number(i));
    return rows;
}

TEST(LoadBotTable, ReadsRecordsAndFaultsKeepEarlierRows)
{
    using F = BotFile::Fault;
    QByteArray high; // 0x80 to 0xFF are text like any other byte (the old 8-bit code page)
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
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
        {"every byte one character",
         high + "|" + high + "\r\n",
         F::None,
         {{QString::fromLatin1(high), QString::fromLatin1(high)}}},
        {"unterminated last record",
         "one|1\r\ntwo|2\r\nthree|3",
         F::Unterminated,
         {{"one", "1"}, {"two", "2"}}},
        {"unterminated rest of three", "one|1\r\nx|y", F::Unterminated, {{"one", "1"}}},
        {"record without bar", "one|1\r\nnobar\r\nthree|3\r\n", F::NoSeparator, {{"one", "1"}}},
        {"empty line among records", "one|1\r\n\r\nthree|3\r\n", F::NoSeparator, {{"one", "1"}}},
        {"two extra line ends", "one|1\r\n\r\n\r\n", F::NoSeparator, {{"one", "1"}}},
        // The table holds rows 0 to 1000.
        {"a full table", records(1001), F::None, numberedRows(1001)},
        {"one record too many", records(1002), F::TooManyRecords, numberedRows(1001)},
    };
    for (const auto& c : cases) {
        Declares d;
        const BotFile::LoadResult result = load(d, c.bytes);
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
    EXPECT_EQ(BotFile::LoadBotTable(d, dir.path()).fault, BotFile::Fault::Unreadable);
    expectRows(d, {{"old", "row"}}, "missing file");
}

TEST(LoadBotTable, ReloadOverwritesOnlyTheRowsItReads)
{
    Declares d;
    ASSERT_TRUE(load(d, "a|1\r\nb|2\r\nc|3\r\nd|4\r\ne|5\r\n").ok());
    ASSERT_TRUE(load(d, "x|7\r\ny|8\r\nz|9\r\n").ok());
    expectRows(d, {{"x", "7"}, {"y", "8"}, {"z", "9"}, {"d", "4"}, {"e", "5"}}, "reload");

    // A fault on reload keeps the rows read before it and the old rows after.
    EXPECT_FALSE(load(d, "p|0\r\nbroken\r\n").ok());
    expectRows(d, {{"p", "0"}, {"y", "8"}, {"z", "9"}, {"d", "4"}, {"e", "5"}}, "faulty reload");
}

} // namespace
