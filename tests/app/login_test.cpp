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
        {"Bob", true, "Bob"},
        {"", false, ""},
        {" ", false, " "},
        {"NightShade", false, "NightShade"},
        {"Night", false, "Night"},
        // Other letter case is no reserved name.
        {"nightshade", true, "nightshade"},
        {"NIGHT", true, "NIGHT"},
        {"@NightShade", true, "NightShade"},
        {"@Night", true, "Night"},
        // Reserved tests look at the typed text; cleaning comes after them.
        {" NightShade", true, "NightShade"},
        {"Night_Shade", true, "NightShade"},
        {"#Night", true, "Night"},
        {"@@Night", true, "Night"},
        {"  Bob  ", true, "Bob"},
        {"  ", true, ""},
        {"Bob!", true, "Bob"},
        {"B.o.b", true, "B.o.b"},
        {"Bob" + Pound + "5", true, "Bob5"},
        {"a ~#@_-*&^%$" + Pound + "!b", true, "ab"},
        {"x+y=z'(1)", true, "x+y=z'(1)"},
        {QStringLiteral("Ren") + QChar(0xE9), true, QStringLiteral("Ren") + QChar(0xE9)},
        // At most 20 characters, counted after cleaning.
        {"abcdefghijklmnopqrst", true, "abcdefghijklmnopqrst"},
        {"abcdefghijklmnopqrstu", false, "abcdefghijklmnopqrstu"},
        {"abcd_efgh_ijkl_mnop_qrst", true, "abcdefghijklmnopqrst"},
        {"abcde fghij klmno pqrstu", false, "abcdefghijklmnopqrstu"},
    };
    for (const auto& c : cases) {
        Declares d;
        QString box = c.typed;
        EXPECT_EQ(Login::logIn(d, box), c.accepted) << c.typed.toStdString();
        EXPECT_EQ(box, c.box) << c.typed.toStdString();
        if (c.accepted)
            EXPECT_EQ(d.MyNick, "MM_aaFFF" + c.box) << c.typed.toStdString();
        else
            EXPECT_TRUE(d.MyNick.isEmpty()) << c.typed.toStdString();
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

TEST(Login, BuildsTheFirstNickname)
{
    Declares d;
    d.NickSuffix = QStringLiteral("stale");
    QString box = QStringLiteral("Bob");
    ASSERT_TRUE(Login::logIn(d, box));
    EXPECT_EQ(d.MyNick, "MM_aaFFFBob");
    EXPECT_EQ(d.MyNick.size(), 11);
    EXPECT_EQ(d.CodeLetter, "a");
    EXPECT_EQ(d.NickPrefix, "MM_aaFFF");
    EXPECT_TRUE(d.NickSuffix.isEmpty());
}

TEST(Login, RefusalAfterCleaningHasAlreadySetTheCodeLetter)
{
    Declares d;
    QString box = QStringLiteral("abcdefghij_klmnopqrstu");
    EXPECT_FALSE(Login::logIn(d, box));
    EXPECT_EQ(box, "abcdefghijklmnopqrstu");
    EXPECT_EQ(d.CodeLetter, "a");
    EXPECT_TRUE(d.MyNick.isEmpty());
    EXPECT_EQ(Login::RefusedMessage, "Please Use a Valid UserName");
}

TEST(LobbyChoice, ButtonsZeroToEightNameTheirChannels)
{
    const char* const captions[] = {
        "Lobby 1 - Main/New Players", "Lobby 2 - Brave Grade",  "Lobby 3 - Spy Grade",
        "Lobby 4 - Warrior Grade",    "Lobby 5 - Priest Grade", "Lobby 6 - Fireworker Grade",
        "Lobby 7 - Shaman Grade",     "Lobby 8 - Demo Players", "Lobby 9 - Anything Goes",
    };
    for (int i = 0; i <= 8; ++i) {
        EXPECT_EQ(LobbyChoice::lobbyChannel(i), QStringLiteral("#ZentharaNET_") + QChar(u'0' + i));
        EXPECT_EQ(LobbyChoice::lobbyCaption(i), captions[i]);
    }
}

TEST(LobbyChoice, ClanNameTakenAsTypedUpToTwentyCharacters)
{
    const struct {
        QString typed;
        bool accepted;
    } cases[] = {
        {"", false},
        {"Zen", true},
        {"My Clan", true},
        {" ", true},
        {"A,b_C#", true},
        {"abcdefghijklmnopqrst", true},
        {"abcdefghijklmnopqrstu", false},
    };
    for (const auto& c : cases) {
        const auto channel = LobbyChoice::clanChannel(c.typed);
        ASSERT_EQ(channel.has_value(), c.accepted) << c.typed.toStdString();
        if (channel)
            EXPECT_EQ(*channel, "#ZenNETCLAN_" + c.typed);
    }
    EXPECT_EQ(LobbyChoice::ClanRefusedMessage, "Invalid Clan Channel Parameter");
}

} // namespace
