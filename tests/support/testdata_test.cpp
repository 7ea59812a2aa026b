#include "testdata.h"

#include <gtest/gtest.h>

// The recorded sessions are only worth replaying while they are the bytes the
// server sent: CR LF everywhere, nothing lost to an editor or a checkout.
TEST(RecordedSessions, KeepTheirBytes)
{
    const struct {
        const char* file;
        int lines;
        const char* lastLine;
    } cases[] = {
        {"ngircd_register.txt", 15, " 376 MM_aaFFFBob :End of MOTD command"},
        {"ngircd_join.txt", 3, " 366 MM_aaFFFBob #ZentharaNET_0 :End of NAMES list"},
        {"ngircd_other_join.txt", 1, " JOIN :#ZentharaNET_0"},
        {"ngircd_nick.txt", 1, " NICK :MM_aa011Dee"},
        {"ngircd_own_nick.txt", 1, " NICK :MM_aa001Bob"},
        {"ngircd_privmsg.txt", 1, " PRIVMSG #ZentharaNET_0 :hello lobby, hut 0 starts soon"},
        {"ngircd_quit.txt", 1, " QUIT :\"game over\""},
        {"ngircd_names_busy.txt", 4, " 366 MM_aa001Bob #ZentharaNET_0 :End of NAMES list"},
        {"ngircd_session.txt", 67, " 366 MM_aa001Bob #ZentharaNET_0 :End of NAMES list"},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = readTestData(QString::fromLatin1(c.file));
        ASSERT_FALSE(bytes.isEmpty()) << c.file;
        EXPECT_EQ(bytes.count("\r\n"), c.lines) << c.file;
        EXPECT_EQ(bytes.count('\n'), c.lines) << c.file << ": a line end without CR";
        EXPECT_EQ(bytes.count('\r'), c.lines) << c.file << ": a CR without LF";
        EXPECT_TRUE(bytes.endsWith(QByteArray(c.lastLine) + "\r\n")) << c.file;
    }
}

TEST(RecordedSessions, TheSessionHoldsEveryScene)
{
    const QByteArray session = readTestData(QStringLiteral("ngircd_session.txt"));
    QByteArray opening;
    for (const char* scene : {"register", "join", "other_join", "nick", "own_nick", "privmsg", "quit"})
        opening += readTestData(QStringLiteral("ngircd_%1.txt").arg(QLatin1String(scene)));
    EXPECT_TRUE(session.startsWith(opening));
    const QByteArray names = readTestData(QStringLiteral("ngircd_names_busy.txt"));
    EXPECT_TRUE(session.endsWith(names));
    EXPECT_EQ(names.count(" 353 MM_aa001Bob = #ZentharaNET_0 :"), 3);
    EXPECT_EQ(session.count(" JOIN :#ZentharaNET_0\r\n"), 2 + 40);
}
