#include "app/lobbychoice.h"
#include "app/login.h"
#include "qtprint.h"

#include <gtest/gtest.h>

namespace {

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
        EXPECT_EQ(d.NickPrefix + '/' + d.NickSuffix, accepted ? "MM_aaFFF/" : "/stale");
        EXPECT_EQ(d.CodeLetter, result == Reserved ? "" : "a");
    };
    for (const QString typed : {"", " ", "NightShade", "Night"})
        check(typed, Reserved, typed);
    // Other letter case is no reserved name; reserved tests look at the typed text.
    check("NIGHT", Accepted, "NIGHT");
    check("@NightShade", Accepted, "NightShade");
    check(" NightShade", Accepted, "NightShade");
    check("a ~#@_-*&^%$" + QString(QChar(0x00A3)) + "!b", Accepted, "ab");
    check("AZaz09[]\\`{|}", Accepted, "AZaz09[]\\`{|}");
    // At most 20 characters, counted after cleaning.
    check("abcd_efgh_ijkl_mnop_qrst", Accepted, "abcdefghijklmnopqrst");
    check("abcde fghij klmno pqrstu", Refused, "abcdefghijklmnopqrstu");
    // Only what a server takes in a nickname; what the wire cannot carry shows as "?".
    check("__", Refused, "");
    check("Bob\u4e2d", Refused, "Bob?");
    for (const QString typed : {"B.o.b", "0/1", "9:", "Ann,Bob", "Bob\t", "Jos\u00e9"})
        check(typed, Refused, typed);
}

TEST(LobbyChoice, ClanNameTakenAsTypedWhenTheServerCarriesItAsOneChannel)
{
    for (const QString typed : {"Zen", "b_C#[]\\`^{|}-.!", "Jos\u00e9", "abcdefghijklmnopqrst"})
        EXPECT_EQ(LobbyChoice::clanChannel(typed), "#ZenNETCLAN_" + typed) << typed.toStdString();
    for (const QString typed : {"", "My Clan", "A,b", "a:b", "tab\t", "del\x7f", "abcdefghijklmnopqrstu"})
        EXPECT_EQ(LobbyChoice::clanChannel(typed), std::nullopt) << typed.toStdString();
    // The channel is what the server will be asked to join.
    EXPECT_EQ(LobbyChoice::clanChannel(QStringLiteral("\u0141\u00f3d\u017a")), "#ZenNETCLAN_?\u00f3d?");
}

} // namespace
