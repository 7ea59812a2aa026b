#include "../lobby/qtprint.h"
#include "app/lobbychoice.h"
#include "app/login.h"

#include <gtest/gtest.h>

namespace {

const QString Pound = QString(QChar(0x00A3));

TEST(Login, RefusesReservedNamesAsTypedAndCleansTheRest)
{
    // Reserved names are refused as typed, before anything is set; the other
    // refusals come after cleaning, with the code letter already set.
    enum Result { Accepted, Reserved, Refused };
    const struct {
        QString typed;
        Result result;
        QString box; // what the login box shows afterwards
    } cases[] = {
        {"Bob", Accepted, "Bob"},
        {"", Reserved, ""},
        {" ", Reserved, " "},
        {"NightShade", Reserved, "NightShade"},
        {"Night", Reserved, "Night"},
        // Other letter case is no reserved name.
        {"nightshade", Accepted, "nightshade"},
        {"NIGHT", Accepted, "NIGHT"},
        {"@NightShade", Accepted, "NightShade"},
        {"@Night", Accepted, "Night"},
        // Reserved tests look at the typed text; cleaning comes after them.
        {" NightShade", Accepted, "NightShade"},
        {"Night_Shade", Accepted, "NightShade"},
        {"#Night", Accepted, "Night"},
        {"@@Night", Accepted, "Night"},
        {"  Bob  ", Accepted, "Bob"},
        {"Bob!", Accepted, "Bob"},
        {"Bob" + Pound + "5", Accepted, "Bob5"},
        {"a ~#@_-*&^%$" + Pound + "!b", Accepted, "ab"},
        {"!$%^&*-" + Pound + "~A", Accepted, "A"},
        {"A ~#@_-*&^%$" + Pound + "!", Accepted, "A"},
        // Only what a server takes in a nickname, and something of it.
        {"AZaz09[]\\`{|}", Accepted, "AZaz09[]\\`{|}"},
        {"  ", Refused, ""},
        {"__", Refused, ""},
        {"B.o.b", Refused, "B.o.b"},
        {"x+y=z'(1)", Refused, "x+y=z'(1)"},
        {"0/1", Refused, "0/1"},
        {"9:", Refused, "9:"},
        {"Ann,Bob", Refused, "Ann,Bob"},
        {"Bob\t", Refused, "Bob\t"},
        {QStringLiteral("Jos\u00e9"), Refused, QStringLiteral("Jos\u00e9")},
        {QStringLiteral("J\u00fcrgen"), Refused, QStringLiteral("J\u00fcrgen")},
        {QStringLiteral("\u00d1and\u00fa"), Refused, QStringLiteral("\u00d1and\u00fa")},
        // What the wire cannot carry shows as "?" in the box.
        {QStringLiteral("Bob\u4e2d"), Refused, QStringLiteral("Bob?")},
        // At most 20 characters, counted after cleaning.
        {"abcdefghijklmnopqrst", Accepted, "abcdefghijklmnopqrst"},
        {"abcdefghijklmnopqrstu", Refused, "abcdefghijklmnopqrstu"},
        {"abcd_efgh_ijkl_mnop_qrst", Accepted, "abcdefghijklmnopqrst"},
        {"abcde fghij klmno pqrstu", Refused, "abcdefghijklmnopqrstu"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const bool accepted = c.result == Accepted;
        Declares d;
        d.NickSuffix = QStringLiteral("stale");
        QString box = c.typed;
        EXPECT_EQ(Login::logIn(d, box), accepted);
        EXPECT_EQ(box, c.box);
        EXPECT_EQ(d.MyNick, accepted ? "MM_aaFFF" + c.box : QString());
        EXPECT_EQ(d.NickPrefix, accepted ? "MM_aaFFF" : "");
        EXPECT_EQ(d.NickSuffix, accepted ? "" : "stale");
        EXPECT_EQ(d.CodeLetter, c.result == Reserved ? "" : "a");
    }
}

TEST(LobbyChoice, ClanNameTakenAsTypedWhenTheServerCarriesItAsOneChannel)
{
    const struct {
        QString typed;
        bool accepted;
    } cases[] = {
        {"", false},
        {"Zen", true},
        {"b_C#[]\\`^{|}-.!", true},
        {QStringLiteral("Jos\u00e9"), true},
        {QStringLiteral("J\u00fcrgen"), true},
        {QStringLiteral("\u00d1and\u00fa"), true},
        {"My Clan", false},
        {" ", false},
        {"A,b", false},
        {"a:b", false},
        {"tab\t", false},
        {"bell\a", false},
        {"del\x7f", false},
        {"abcdefghijklmnopqrst", true},
        {"abcdefghijklmnopqrstu", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LobbyChoice::clanChannel(c.typed),
                  c.accepted ? std::optional<QString>("#ZenNETCLAN_" + c.typed) : std::nullopt)
            << c.typed.toStdString();
    }
    // The channel is what the server will be asked to join.
    EXPECT_EQ(LobbyChoice::clanChannel(QStringLiteral("\u0141\u00f3d\u017a")), "#ZenNETCLAN_?\u00f3d?");
}

} // namespace
