#include "app/botfile.h"
#include "bot/boteditor.h"
#include "qtprint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

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
    const std::tuple<QByteArray, F, QStringList> cases[] = {
        {"a|b|c\r\n|x\r\nx|\r\n", F::None, {"a=b|c", "=x", "x="}},
        {"one|1\r\n\r\n", F::None, {"one=1"}},   // a rest of two characters or fewer is no record
        {"a|b\nc|d\r\n", F::None, {"a=b\nc|d"}}, // a lone LF is no line end
        // Bytes 0x80 to 0xFF are text like any other (the old 8-bit code page).
        {QByteArrayLiteral("\x80\xff|\0\r\n"), F::None, {QString::fromLatin1("\x80\xff=") + QChar(0)}},
        {"one|1\r\nx|y", F::Unterminated, {"one=1"}},
        {"hi|hello\rgg|wp\r", F::Unterminated, {}},
        {"one|1\r\nnobar\r\nthree|3\r\n", F::NoSeparator, {"one=1"}},
        {"one|1\r\n\r\n\r\n", F::NoSeparator, {"one=1"}},
        {"\r\nx|y\r\n", F::NoSeparator, {}},
    };
    for (const auto& [bytes, fault, rows] : cases) {
        Declares d;
        const BotFile::LoadResult result = BotFile::parseInto(d, QString::fromLatin1(bytes));
        EXPECT_EQ(result.fault, fault) << bytes.toStdString();
        EXPECT_EQ(result.rowsStored, rows.size()) << bytes.toStdString();
        EXPECT_EQ(rowsOf(d), rows);
    }
    // The table holds rows 0 to 1000.
    for (int count : {1001, 1002}) {
        Declares d;
        EXPECT_EQ(BotFile::parseInto(d, QString::fromLatin1(records(count))).fault,
                  count > 1001 ? F::TooManyRecords : F::None);
        EXPECT_EQ(rowsOf(d).mid(1000), QStringList{"t1000=r1000"});
    }
}

TEST(BotEditor, SavesRecordsAsTypedThatALoadReadsIntoTheFirstRowsAndNeverAHalfFile)
{
    EXPECT_EQ(BotEditor::add("x", "a|b", ""), "xa|b|\r\n");
    BotFolder folder;
    Declares d;
    ASSERT_TRUE(BotFile::parseInto(d, "o|0\r\no|1\r\no|2\r\n").ok());
    EXPECT_FALSE(BotEditor::load(folder.path())) << "no bot.dat yet";
    const BotFile::LoadResult missing = BotFile::LoadBotTable(d, folder.path());
    EXPECT_EQ(missing.fault, BotFile::Fault::Unreadable);
    EXPECT_EQ(missing.rowsStored, 0);

    const QString text = BotEditor::add(BotEditor::add("", "bye", "see you:endl:soon"),
                                        QStringLiteral("caf\u00e9"), QStringLiteral("\u00a35"));
    ASSERT_TRUE(BotEditor::save(folder.path(), text));
    EXPECT_EQ(folder.read(), "bye|see you:endl:soon\r\ncaf\xE9|\xA3"
                             "5\r\n");
    ASSERT_TRUE(BotFile::LoadBotTable(d, folder.path()).ok());
    const QString cafe = QStringLiteral("caf\u00e9=\u00a35");
    EXPECT_EQ(rowsOf(d), (QStringList{"bye=see you:endl:soon", cafe, "o=2"}));
    EXPECT_FALSE(BotFile::parseInto(d, "x|7\r\nbroken\r\n").ok());
    EXPECT_EQ(rowsOf(d), (QStringList{"x=7", cafe, "o=2"}));

    // A file the loader refuses is still shown byte for byte.
    const QByteArray odd = QByteArrayLiteral("hi\0you|\xff\r\n\0\n\r");
    folder.write(odd);
    EXPECT_EQ(BotEditor::load(folder.path()), QString::fromLatin1(odd));
    EXPECT_FALSE(BotEditor::save(folder.path() + "/missing", "a|b\r\n")) << "no such folder";

    // A save the disk cannot take fails and leaves the old file whole. Files
    // may grow to 4 KiB meanwhile, as on a full disk (for root too, unlike a
    // read-only folder), and a write past it fails instead of ending us.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit full = before;
    full.rlim_cur = 4096;
    std::signal(SIGXFSZ, SIG_IGN);
    // A little more than the disk takes (held back until the flush), and megabytes more.
    for (const int count : {500, 1000 * 1000}) {
        const QString tooLong = QString::fromLatin1(records(count));
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
        const bool saved = BotEditor::save(folder.path(), tooLong);
        setrlimit(RLIMIT_FSIZE, &before);
        EXPECT_FALSE(saved) << count;
        EXPECT_EQ(folder.read(), odd);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bot.dat"});
    }
}

} // namespace
