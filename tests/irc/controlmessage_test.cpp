#include "../lobby/qtprint.h"
#include "irc/controlmessage.h"

#include <gtest/gtest.h>

namespace {

using namespace ControlMessage;
const QString Sep = QStringLiteral("|||");

TEST(ControlMessage, BuildsTheThreeFramesAsSent)
{
    EXPECT_EQ(launchLine("#ZentharaNET_3", 2, "10.0.0.2", Sep),
              "PRIVMSG #ZentharaNET_3 :[ZENLAUNCH2] 10.0.0.2|||");
    EXPECT_EQ(launchLine("#c", 0, "1.2.3.4", Sep), "PRIVMSG #c :[ZENLAUNCH0] 1.2.3.4|||");
    EXPECT_EQ(kickLine("#c", "MM_aa021Al", "Bob ", Sep), "PRIVMSG #c :[ZENKICK] MM_aa021Al>Bob |||");
    EXPECT_EQ(kickLine("#c", "MM_aaFFFAl", "", Sep), "PRIVMSG #c :[ZENKICK] MM_aaFFFAl>|||");
    EXPECT_EQ(linkLine("#c", "http://zen.test/a b", Sep), "PRIVMSG #c :[ZENLNK] http://zen.test/a b|||");
    EXPECT_EQ(KickTag, "[ZENKICK]");
    EXPECT_EQ(LinkTag, "[ZENLNK]");
    for (int hut = 0; hut <= 3; ++hut)
        EXPECT_EQ(launchTag(hut), QStringLiteral("[ZENLAUNCH") + QChar(u'0' + hut) + u']');
}

TEST(ControlMessage, FieldsRunFromOneAfterTheTagToBarsAndLineEnd)
{
    const struct {
        const char* what;
        QString block;
        QString tag;
        std::optional<QString> fields;
    } cases[] = {
        {"link", ":a!b@c PRIVMSG #c :[ZENLNK] http://x/y|||\r\n", "[ZENLNK]", "http://x/y"},
        {"tag in lower case", ":a!b@c PRIVMSG #c :[zenlnk] x|||\r\n", "[ZENLNK]", "x"},
        {"any character after the tag is skipped", "[ZENKICK]_A>B|||\r\n", "[ZENKICK]", "A>B"},
        {"blanks inside stay", "[ZENLNK] a b  c|||\r\n", "[ZENLNK]", "a b  c"},
        {"bars without line end do not end it", "[ZENLNK] a|||b|||\r\n", "[ZENLNK]", "a|||b"},
        {"only the first tag counts", "[ZENLNK] one|||\r\n[ZENLNK] two|||\r\n", "[ZENLNK]", "one"},
        {"terminator before the tag does not count", "x|||\r\n[ZENLNK] y|||\r\n", "[ZENLNK]", "y"},
        {"launch address", "PRIVMSG #c :[ZENLAUNCH2] 10.0.0.2|||\r\nNICK :x\r\n", "[ZENLAUNCH2]", "10.0.0.2"},
        {"empty field", "[ZENLNK] |||\r\n", "[ZENLNK]", ""},
        {"cut short", "[ZENLNK] http://x|||", "[ZENLNK]", std::nullopt},
        {"bars then a blank", "[ZENLNK] x||| \r\n", "[ZENLNK]", std::nullopt},
        {"tag at the very end", "abc [ZENLNK]", "[ZENLNK]", std::nullopt},
        {"no tag", "PRIVMSG #c :hello|||\r\n", "[ZENLNK]", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fields(c.block, c.tag, Sep), c.fields) << c.what;
}

TEST(ControlMessage, KickFieldsSplitAtTheFirstGreaterThan)
{
    const auto plain = parseKick("MM_aaFFFAl>Bob");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->voterNick, "MM_aaFFFAl");
    EXPECT_EQ(plain->target, "Bob");

    const auto twice = parseKick("MM_aaFFFAl>B>ob");
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->voterNick, "MM_aaFFFAl");
    EXPECT_EQ(twice->target, "B>ob");

    const auto emptyTarget = parseKick("MM_aaFFFAl>");
    ASSERT_TRUE(emptyTarget);
    EXPECT_EQ(emptyTarget->target, "");

    EXPECT_FALSE(parseKick("MM_aaFFFAl Bob"));
}

} // namespace
