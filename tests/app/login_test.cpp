#include "../lobby/qtprint.h"
#include "app/lobbychoice.h"
#include "app/login.h"

#include <gtest/gtest.h>

namespace {

const QString Pound = QString(QChar(0x00A3));

TEST(Login, RefusesReservedNamesAsTypedAndCleansTheRest)
{
    const struct {
        QString typed;
        bool accepted;
        QString box; // what the login box shows afterwards
    } cases[] = {
        {"Bob", true, "Bob"}, {"", false, ""}, {" ", false, " "},
        {"NightShade", false, "NightShade"}, {"Night", false, "Night"},
        // Other letter case is no reserved name.
        {"nightshade", true, "nightshade"}, {"NIGHT", true, "NIGHT"},
        {"@NightShade", true, "NightShade"}, {"@Night", true, "Night"},
        // Reserved tests look at the typed text; cleaning comes after them.
        {" NightShade", true, "NightShade"}, {"Night_Shade", true, "NightShade"}, {"#Night", true, "Night"},
        {"@@Night", true, "Night"}, {"  Bob  ", true, "Bob"}, {"  ", true, ""},
        {"Bob!", true, "Bob"}, {"B.o.b", true, "B.o.b"}, {"Bob" + Pound + "5", true, "Bob5"},
        {"a ~#@_-*&^%$" + Pound + "!b", true, "ab"}, {"x+y=z'(1)", true, "x+y=z'(1)"},
        {QStringLiteral("Ren") + QChar(0xE9), true, QStringLiteral("Ren") + QChar(0xE9)},
        // At most 20 characters, counted after cleaning.
        {"abcdefghijklmnopqrst", true, "abcdefghijklmnopqrst"},
        {"abcdefghijklmnopqrstu", false, "abcdefghijklmnopqrstu"},
        {"abcd_efgh_ijkl_mnop_qrst", true, "abcdefghijklmnopqrst"},
        {"abcde fghij klmno pqrstu", false, "abcdefghijklmnopqrstu"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        Declares d;
        d.NickSuffix = QStringLiteral("stale");
        QString box = c.typed;
        EXPECT_EQ(Login::logIn(d, box), c.accepted);
        EXPECT_EQ(box, c.box);
        EXPECT_EQ(d.MyNick, c.accepted ? "MM_aaFFF" + c.box : QString());
        EXPECT_EQ(d.NickPrefix, c.accepted ? "MM_aaFFF" : "");
        EXPECT_EQ(d.NickSuffix, c.accepted ? "" : "stale");
        // Reserved names are refused before anything is set; a name too long
        // after cleaning has the code letter already.
        EXPECT_EQ(d.CodeLetter, c.accepted || box.size() > 20 ? "a" : "");
    }
}

TEST(Login, EachRemovedCharacterGoesEverywhereInTheName)
{
    const QString removed[] = {" ", "~", "#", "@", "_", "-", "*", "&", "^", "%", "$", Pound, "!"};
    for (const QString& c : removed) {
        Declares d;
        QString box = c + "Al" + c + "ex" + c;
        ASSERT_TRUE(Login::logIn(d, box)) << c.toStdString();
        EXPECT_EQ(box, "Alex") << c.toStdString();
    }
}

TEST(LobbyChoice, ClanNameTakenAsTypedUpToTwentyCharacters)
{
    const struct {
        const char* typed;
        bool accepted;
    } cases[] = {
        {"", false}, {"Zen", true}, {"My Clan", true}, {" ", true}, {"A,b_C#", true},
        {"abcdefghijklmnopqrst", true}, {"abcdefghijklmnopqrstu", false},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(c.typed);
        EXPECT_EQ(LobbyChoice::clanChannel(name),
                  c.accepted ? std::optional<QString>("#ZenNETCLAN_" + name) : std::nullopt)
            << c.typed;
    }
    // The channel is what the server will be asked to join.
    EXPECT_EQ(LobbyChoice::clanChannel(QStringLiteral("\u0141\u00f3d\u017a")), "#ZenNETCLAN_?\u00f3d?");
}

} // namespace
