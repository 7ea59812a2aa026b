#include "../lobby/qtprint.h"
#include "app/botfile.h"
#include "bot/boteditor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// bot.dat in a folder of its own.
struct BotFolder {
    QTemporaryDir dir;
    QString path() const { return dir.path(); }
    void write(const QByteArray& bytes) const
    {
        QFile file(BotFile::path(path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray read() const
    {
        QFile file(BotFile::path(path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    BotFile::LoadResult load(Declares& d, const QByteArray& bytes) const
    {
        write(bytes);
        return BotFile::LoadBotTable(d, path());
    }
};

// The rows from the first, trigger and reply joined by "=", up to the first empty row.
QStringList rowsOf(const Declares& d)
{
    QStringList rows;
    for (int i = 0; i < Declares::BotRows && !(d.BotTable[i][0].isNull() && d.BotTable[i][1].isNull()); ++i)
        rows << d.BotTable[i][0] + '=' + d.BotTable[i][1];
    return rows;
}

QByteArray records(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "t" + QByteArray::number(i) + "|r" + QByteArray::number(i) + "\r\n";
    return bytes;
}

TEST(LoadBotTable, ReadsRecordsAndFaultsKeepEarlierRows)
{
    using F = BotFile::Fault;
    QByteArray high; // 0x80 to 0xFF are text like any other byte (the old 8-bit code page)
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    const struct {
        QByteArray bytes;
        F fault;
        QStringList rows;
    } cases[] = {
        {"a|b|c\r\n|x\r\nx|\r\n", F::None, {"a=b|c", "=x", "x="}},
        {"", F::None, {}},
        {"one|1\r\nx", F::None, {"one=1"}}, // a rest of two characters or fewer is no record
        {"one|1\r\nxy", F::None, {"one=1"}},
        {"one|1\r\n\r\n", F::None, {"one=1"}},
        {"a|b\nc|d\r\n", F::None, {"a=b\nc|d"}}, // a lone LF is no line end
        {high + "|" + QByteArrayLiteral("\0\r\n"),
         F::None,
         {QString::fromLatin1(high + "=" + QByteArray(1, '\0'))}},
        {"one|1\r\ntwo|2", F::Unterminated, {"one=1"}},
        {"one|1\r\nx|y", F::Unterminated, {"one=1"}},
        {"hi|hello\rgg|wp\r", F::Unterminated, {}},
        {"one|1\r\nnobar\r\nthree|3\r\n", F::NoSeparator, {"one=1"}},
        {"one|1\r\n\r\nthree|3\r\n", F::NoSeparator, {"one=1"}},
        {"one|1\r\n\r\n\r\n", F::NoSeparator, {"one=1"}},
    };
    for (const auto& c : cases) {
        BotFolder folder;
        Declares d;
        const BotFile::LoadResult result = folder.load(d, c.bytes);
        EXPECT_EQ(result.fault, c.fault) << c.bytes.toStdString();
        EXPECT_EQ(result.ok(), c.fault == F::None) << c.bytes.toStdString();
        EXPECT_EQ(result.rowsStored, c.rows.size()) << c.bytes.toStdString();
        EXPECT_EQ(rowsOf(d), c.rows);
    }

    // The table holds rows 0 to 1000.
    for (int count : {1001, 1002}) {
        BotFolder folder;
        Declares d;
        EXPECT_EQ(folder.load(d, records(count)).fault, count > 1001 ? F::TooManyRecords : F::None);
        EXPECT_EQ(rowsOf(d).size(), 1001);
        EXPECT_EQ(rowsOf(d).last(), "t1000=r1000");
    }
}

TEST(LoadBotTable, AMissingFileOrAReloadTouchesOnlyTheRowsItReads)
{
    BotFolder folder;
    Declares d;
    d.BotTable[0] = {QStringLiteral("old"), QStringLiteral("row")};
    EXPECT_EQ(BotFile::LoadBotTable(d, folder.path()).fault, BotFile::Fault::Unreadable);
    EXPECT_EQ(rowsOf(d), QStringList{"old=row"});

    ASSERT_TRUE(folder.load(d, "a|1\r\nb|2\r\nc|3\r\nd|4\r\n").ok());
    ASSERT_TRUE(folder.load(d, "x|7\r\ny|8\r\n").ok());
    EXPECT_EQ(rowsOf(d), (QStringList{"x=7", "y=8", "c=3", "d=4"}));
    EXPECT_FALSE(folder.load(d, "p|0\r\nbroken\r\n").ok());
    EXPECT_EQ(rowsOf(d), (QStringList{"p=0", "y=8", "c=3", "d=4"}));
}

TEST(BotEditor, AddsRecordsAsTypedAndSavesAndLoadsEveryByteBack)
{
    EXPECT_EQ(BotEditor::add("x", "a|b", ""), "xa|b|\r\n");
    BotFolder folder;
    EXPECT_FALSE(BotEditor::load(folder.path())) << "no bot.dat yet";
    const QString text = BotEditor::add(BotEditor::add("", "bye", "see you:endl:soon"),
                                        QStringLiteral("caf\u00e9"), QStringLiteral("\u00a35"));
    ASSERT_TRUE(BotEditor::save(folder.path(), text));
    EXPECT_EQ(folder.read(), "bye|see you:endl:soon\r\ncaf\xE9|\xA3"
                             "5\r\n");
    Declares d;
    ASSERT_TRUE(BotFile::LoadBotTable(d, folder.path()).ok());
    EXPECT_EQ(rowsOf(d), (QStringList{"bye=see you:endl:soon", QStringLiteral("caf\u00e9=\u00a35")}));

    // A file the loader refuses is still shown and saved byte for byte.
    const QByteArray odd = QByteArrayLiteral("hi\0you|\xff\r\n\0\n\r");
    folder.write(odd);
    const std::optional<QString> shown = BotEditor::load(folder.path());
    ASSERT_TRUE(shown.has_value());
    folder.write("something else\r\n");
    ASSERT_TRUE(BotEditor::save(folder.path(), *shown));
    EXPECT_EQ(folder.read(), odd);
    ASSERT_TRUE(BotEditor::save(folder.path(), ""));
    EXPECT_EQ(folder.read(), "");

    ASSERT_TRUE(QDir(folder.path()).mkpath("sub/bot.dat"));
    EXPECT_FALSE(BotEditor::save(folder.path() + "/sub", "a|b\r\n")) << "bot.dat is a folder";
    EXPECT_FALSE(BotEditor::save(folder.path() + "/missing", "a|b\r\n")) << "no such folder";
}

} // namespace
