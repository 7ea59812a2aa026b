// A recorded ngIRCd session replayed through a client with fake ports.
#include "../lobby/fakelobby.h"
#include "testdata.h"

#include <gtest/gtest.h>

namespace {

// Bob in lobby 0 gets the session in the reads `cut` makes of each part, and
// clicks hut 0 slot 1 between them; returns everything it leaves behind.
template <typename Cut> QStringList replay(ConnectedLobby& r, const QByteArray (&parts)[2], Cut cut)
{
    for (const QByteArray& piece : cut(parts[0]))
        r.receive(piece);
    r.client.Hut_Click(1);
    for (const QByteArray& piece : cut(parts[1]))
        r.receive(piece);
    QStringList huts;
    for (int h = 0; h < 5; ++h)
        for (int slot = 0; slot < 4; ++slot)
            huts << r.d.HutTable[h][slot].mid(5);
    return {r.view.chat,     r.view.chatList.join(u','),     r.view.playList.join(u','),
            huts.join(u','), QString::number(r.d.UserCount), QString::fromLatin1(r.transport.sent())};
}

// Each line with its CR LF; or byte by byte, so every line is cut in every
// place, its line end too.
QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines)
        line += '\n';
    return lines;
}
QList<QByteArray> bytesOf(const QByteArray& bytes)
{
    QList<QByteArray> pieces;
    for (char c : bytes)
        pieces.append(QByteArray(1, c));
    return pieces;
}

TEST(Transcript, ASessionLineByLineOrByteByByteBuildsTheSameBusyLobby)
{
    // Split where the server confirms the client's own hut click.
    const QByteArray session = readTestData(QStringLiteral("ngircd_session.txt"));
    const qsizetype at = session.lastIndexOf("\r\n", session.indexOf("NICK :MM_aa001Bob")) + 2;
    ASSERT_GT(at, 1000);
    const QByteArray parts[2] = {session.left(at), session.mid(at)};

    ConnectedLobby whole(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#ZentharaNET_0"));
    const QStringList expected = replay(whole, parts, linesOf);
    // CASEMAPPING in the 005 line holds "ping": the client answers it too.
    EXPECT_TRUE(expected[5].startsWith("JOIN #ZentharaNET_0\r\nMODE #ZentharaNET_0\r\npong\r\n"
                                       "NAMES #ZentharaNET_0\r\n"));
    EXPECT_TRUE(expected[0].startsWith(QStringLiteral("<--WELCOME TO ZentharaNET hosted by localhost,")));
    EXPECT_TRUE(expected[0].endsWith(QStringLiteral("Ann> hello lobby, hut 0 starts soon\r\n")));
    EXPECT_EQ(whole.d.UserCount, 43);
    EXPECT_EQ(expected[2], "PersephoneVale,OctavianGreymantle,NiamhEmberglow,MorwennaStarfall,"
                           "LysanderBrightwater,KestrelDuskwalker");
    EXPECT_EQ(whole.view.chatList.size(), 37);
    EXPECT_EQ(whole.view.chatList.filter(QStringLiteral("(Away)")).size(), 4);
    EXPECT_EQ(whole.view.chatList.filter(QStringLiteral("(BRB)")).size(), 4);
    EXPECT_EQ(expected[3],
              "Ann,Bob,AldricStormborn,BrennaOakenshield,CaspianWindrider,Dee,DelphineMoonwhisper,"
              "EzekielIronhand,FenwickAshgrove,GwendolynFrostveil,HrothgarBearclaw,,IsoldeNightbloom,"
              "JarethSilverthorn,,,,,,");

    ConnectedLobby cut(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#ZentharaNET_0"));
    EXPECT_EQ(replay(cut, parts, bytesOf), expected);
}

} // namespace
