#include "../lobby/qtprint.h"
#include "irc/controlmessage.h"

#include <gtest/gtest.h>

namespace {

using namespace ControlMessage;
const QString Sep = QStringLiteral("|||");

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
    const struct {
        const char* fields;
        const char* target; // none when the fields hold no vote
    } cases[] = {{"MM_aaFFFAl>Bob", "Bob"},
                 {"MM_aaFFFAl>B>ob", "B>ob"},
                 {"MM_aaFFFAl>", ""},
                 {"MM_aaFFFAl Bob", nullptr}};
    for (const auto& c : cases) {
        const auto vote = parseKick(QString::fromLatin1(c.fields));
        ASSERT_EQ(vote.has_value(), c.target != nullptr) << c.fields;
        if (vote) {
            EXPECT_EQ(vote->voterNick, "MM_aaFFFAl") << c.fields;
            EXPECT_EQ(vote->target, c.target) << c.fields;
        }
    }
}

// What one client builds, every other client reads back field for field.
TEST(ControlMessage, BuiltFramesAreReadBackWhole)
{
    const struct {
        QString line;
        QString tag;
        QString fields;
    } cases[] = {
        {launchLine("#ZentharaNET_0", 2, "10.0.0.7", Sep), launchTag(2), "10.0.0.7"},
        {kickLine("#ZentharaNET_0", "MM_aaFFFAnn", "Bob", Sep), KickTag, "MM_aaFFFAnn>Bob"},
        {linkLine("#ZentharaNET_0", "http://zen.test/a b", Sep), LinkTag, "http://zen.test/a b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.line, "PRIVMSG #ZentharaNET_0 :" + c.tag + ' ' + c.fields + Sep);
        EXPECT_EQ(fields(":MM_aaFFFAnn!a@h " + c.line + "\r\n", c.tag, Sep), c.fields) << c.line.toStdString();
    }
}

} // namespace
