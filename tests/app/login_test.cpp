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
    auto check = [](const QString& typed, Result result, const QString& box) {
        SCOPED_TRACE(typed.toStdString());
        const bool accepted = result == Accepted;
        Declares d;
        d.NickSuffix = QStringLiteral("stale");
        QString shown = typed;
        EXPECT_EQ(Login::logIn(d, shown), accepted);
        EXPECT_EQ(shown, box);
        EXPECT_EQ(d.MyNick, accepted ? "MM_aaFFF" + box : QString());
        EXPECT_EQ(d.NickPrefix, accepted ? "MM_aaFFF" : "");
        EXPECT_EQ(d.NickSuffix, accepted ? "" : "stale");
        EXPECT_EQ(d.CodeLetter, result == Reserved ? "" : "a");
    };
    for (const QString& typed :
         {QString(), QStringLiteral(" "), QStringLiteral("NightShade"), QStringLiteral("Night")})
        check(typed, Reserved, typed);

    // Other letter case is no reserved name; reserved tests look at the typed text.
    check("NIGHT", Accepted, "NIGHT");
    check("@NightShade", Accepted, "NightShade");
    check("@Night", Accepted, "Night");
    check(" NightShade", Accepted, "NightShade");
    check("#Night", Accepted, "Night");
    check("a ~#@_-*&^%$" + Pound + "!b", Accepted, "ab");
    check("!$%^&*-" + Pound + "~A", Accepted, "A");
    check("A ~#@_-*&^%$" + Pound + "!", Accepted, "A");
    check("AZaz09[]\\`{|}", Accepted, "AZaz09[]\\`{|}");
    // At most 20 characters, counted after cleaning.
    check("abcdefghijklmnopqrst", Accepted, "abcdefghijklmnopqrst");
    check("abcd_efgh_ijkl_mnop_qrst", Accepted, "abcdefghijklmnopqrst");
    check("abcde fghij klmno pqrstu", Refused, "abcdefghijklmnopqrstu");
    // Only what a server takes in a nickname, and something of it; what the
    // wire cannot carry shows as "?" in the box.
    check("  ", Refused, "");
    check("__", Refused, "");
    check("Bob\u4e2d", Refused, "Bob?");
    for (const QString typed :
         {"B.o.b", "0/1", "9:", "Ann,Bob", "Bob\t", "Jos\u00e9", "abcdefghijklmnopqrstu"})
        check(typed, Refused, typed);
}

TEST(LobbyChoice, ClanNameTakenAsTypedWhenTheServerCarriesItAsOneChannel)
{
    const QString accepted[] = {"Zen", "b_C#[]\\`^{|}-.!", "Jos\u00e9", "\u00d1and\u00fa",
                                "abcdefghijklmnopqrst"};
    for (const QString& typed : accepted)
        EXPECT_EQ(LobbyChoice::clanChannel(typed), "#ZenNETCLAN_" + typed) << typed.toStdString();
    const QString refused[] = {
        "", "My Clan", " ", "A,b", "a:b", "tab\t", "bell\a", "del\x7f", "abcdefghijklmnopqrstu"};
    for (const QString& typed : refused)
        EXPECT_EQ(LobbyChoice::clanChannel(typed), std::nullopt) << typed.toStdString();
    // The channel is what the server will be asked to join.
    EXPECT_EQ(LobbyChoice::clanChannel(QStringLiteral("\u0141\u00f3d\u017a")), "#ZenNETCLAN_?\u00f3d?");
}

} // namespace
