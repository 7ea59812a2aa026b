// bot.dat as a careless editor, a broken disk or a prankster may leave it: the
// loader stores what it can and names the fault; the editor shows and saves
// the bytes exactly; a save that cannot be written leaves the old file whole.
#include "filesizelimit.h"
#include "qtprint.h"

#include "app/botfile.h"
#include "bot/boteditor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using BotFile::Fault;

constexpr int TenMegabytes = 10 * 1000 * 1000;

QByteArray records(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "t" + QByteArray::number(i) + "|r" + QByteArray::number(i) + "\r\n";
    return bytes;
}

QByteArray tenMegabytesOfRecords()
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < TenMegabytes; ++i)
        bytes += "t" + QByteArray::number(i) + "|reply number " + QByteArray::number(i) + " of many\r\n";
    return bytes;
}

struct Case {
    const char* what;
    QByteArray bytes;
    Fault fault;
    int rows;
    // The last row stored, when there is one.
    QByteArray lastTrigger;
    QByteArray lastReply;
};

class BotFolder {
public:
    QString path() const { return m_dir.path(); }
    QString file() const { return BotFile::path(m_dir.path()); }
    void write(const QByteArray& bytes) const
    {
        QFile out(file());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(bytes), bytes.size());
    }
    QByteArray read() const
    {
        QFile in(file());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

TEST(HostileBotFile, TheLoaderStoresTheRowsBeforeAFaultAndTheEditorShowsAndSavesEveryByte)
{
    const Case cases[] = {
        {"10 MB of records", tenMegabytesOfRecords(), Fault::TooManyRecords, 1001, "t1000",
         "reply number 1000 of many"},
        {"10 MB in one record", "big|" + QByteArray(TenMegabytes, 'r') + "\r\n", Fault::None, 1, "big",
         QByteArray(TenMegabytes, 'r')},
        {"10 MB without a line end", QByteArray(TenMegabytes, 'z'), Fault::Unterminated, 0, {}, {}},
        {"5,000 records", records(5000), Fault::TooManyRecords, 1001, "t1000", "r1000"},
        {"1,001 records exactly", records(1001), Fault::None, 1001, "t1000", "r1000"},
        {"NUL bytes inside records", QByteArrayLiteral("hi\0you|re\0ply\r\n\0|\0\r\n"), Fault::None, 2,
         QByteArray(1, '\0'), QByteArray(1, '\0')},
        {"a mebibyte of NUL bytes", QByteArray(1 << 20, '\0'), Fault::Unterminated, 0, {}, {}},
        {"no line end at all", "hi|hello", Fault::Unterminated, 0, {}, {}},
        {"line feeds only, as a Unix editor writes", "hi|hello\ngg|wp\n", Fault::Unterminated, 0, {}, {}},
        {"carriage returns only", "hi|hello\rgg|wp\r", Fault::Unterminated, 0, {}, {}},
        {"5,000 empty lines", QByteArray("\r\n").repeated(5000), Fault::NoSeparator, 0, {}, {}},
        {"bytes above 127", "\xe9t\xe9|\xff\xfe\r\n", Fault::None, 1, "\xe9t\xe9", "\xff\xfe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BotFolder folder;
        folder.write(c.bytes);
        Declares d;
        const BotFile::LoadResult result = BotFile::LoadBotTable(d, folder.path());
        EXPECT_EQ(result.fault, c.fault);
        ASSERT_EQ(result.rowsStored, c.rows);
        if (c.rows > 0) {
            const auto& last = d.BotTable[c.rows - 1];
            EXPECT_TRUE(last[0] == QString::fromLatin1(c.lastTrigger))
                << "trigger " << last[0].size() << " characters";
            EXPECT_TRUE(last[1] == QString::fromLatin1(c.lastReply))
                << "reply " << last[1].size() << " characters";
        }
        if (c.rows < Declares::BotRows)
            EXPECT_TRUE(d.BotTable[c.rows][0].isNull());

        const std::optional<QString> shown = BotEditor::load(folder.path());
        ASSERT_TRUE(shown.has_value());
        EXPECT_EQ(shown->size(), c.bytes.size());
        folder.write("something else\r\n");
        ASSERT_TRUE(BotEditor::save(folder.path(), *shown));
        EXPECT_TRUE(folder.read() == c.bytes) << "the saved file differs from the file loaded";
    }
}

TEST(HostileBotFile, ASaveThatCannotBeWrittenFailsAndLeavesTheOldFileWhole)
{
    const QByteArray old = records(40);
    const struct {
        const char* what;
        QString text;
    } saves[] = {
        {"a little more than the disk takes", QString::fromLatin1(records(400))},
        {"10 MB", QString::fromLatin1(tenMegabytesOfRecords())},
    };
    for (const auto& s : saves) {
        SCOPED_TRACE(s.what);
        BotFolder folder;
        folder.write(old);
        bool saved = true;
        {
            FileSizeLimit limit(4096);
            ASSERT_TRUE(limit.ok());
            saved = BotEditor::save(folder.path(), s.text);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(folder.read(), old);
        // Nothing half-written is left beside it.
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bot.dat"});
    }
}

} // namespace
