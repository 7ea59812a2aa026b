#include "irc/controlmessage.h"
#include "qtprint.h"

#include <gtest/gtest.h>

namespace {

using namespace ControlMessage;
const QString Sep = QStringLiteral("|||");

TEST(ControlMessage, FieldsRunFromOneAfterTheTagToBarsAndLineEnd)
{
    const std::pair<QString, std::optional<QString>> cases[] = {
        {":a!b@c PRIVMSG #c :[zenlnk] http://x/y|||\r\n", "http://x/y"},
        {"[ZENLNK]_A>B  c|||\r\n", "A>B  c"}, // any character after the tag is skipped
        {"[ZENLNK] a|||b|||\r\n", "a|||b"},
        {"x|||\r\n[ZENLNK] one|||\r\n[ZENLNK] two|||\r\n", "one"},
        {"[ZENLNK] |||\r\n", ""},
        {"[ZENLNK] http://x|||", std::nullopt},
        {"[ZENLNK] x||| \r\n", std::nullopt},
        {"abc [ZENLNK]", std::nullopt},
        {"PRIVMSG #c :hello|||\r\n", std::nullopt},
    };
    for (const auto& [block, expected] : cases)
        EXPECT_EQ(fields(block, LinkTag, Sep), expected) << block.toStdString();
}

TEST(ControlMessage, KickFieldsSplitAtTheFirstGreaterThan)
{
    const struct {
        const char* fields;
        const char* target; // none when the fields hold no vote
    } cases[] = {{"MM_aaFFFAl>B>ob", "B>ob"}, {"MM_aaFFFAl>", ""}, {"MM_aaFFFAl Bob", nullptr}};
    for (const auto& c : cases) {
        const auto vote = parseKick(QString::fromLatin1(c.fields));
        ASSERT_EQ(vote.has_value(), c.target != nullptr) << c.fields;
        if (vote)
            EXPECT_EQ(vote->voterNick + '/' + vote->target, QStringLiteral("MM_aaFFFAl/") + c.target);
    }
}

// What a launch or a link may carry to the launcher: nothing a shell would read as more.
TEST(ControlMessage, ALaunchAddressIsDottedIPv4AndALinkOneWord)
{
    for (const QString address : {"10.9.255.0", "0.0.0.0", "255.255.255.255", "001.02.3.4"})
        EXPECT_TRUE(isDottedIPv4(address)) << address.toStdString();
    for (const QString address : {"", "1.2.3", "1.2.3.4.5", "+1.2.3.4", "1.2.3.0004", "1.2.3.256", " 1.2.3.4",
                                  "1.2.3.4\tx", "1.2.3.4;id", "1..3.4", "$(id)"})
        EXPECT_FALSE(isDottedIPv4(address)) << address.toStdString();
    EXPECT_TRUE(isOneWord(QStringLiteral("http://x.test/?a=1;b=$(id)`x`|y>z&\u00e9")));
    for (const QString link : {"", "a b", "a\x7f", "a\u00a0", "a\x01", "a\u2003", "a\u0085"})
        EXPECT_FALSE(isOneWord(link)) << link.toStdString();
}

} // namespace
