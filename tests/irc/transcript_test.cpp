// Recorded ngIRCd sessions replayed through a client with fake ports.
#include "../lobby/fakelobby.h"
#include "testdata.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// Bob, connected to lobby 0.
struct Replay : ConnectedLobby {
    Replay() : ConnectedLobby(QStringLiteral("MM_aaFFFBob"), QStringLiteral("#ZentharaNET_0")) {}
    void deliverFile(const char* name)
    {
        const QByteArray bytes = readTestData(QString::fromLatin1(name));
        ASSERT_FALSE(bytes.isEmpty()) << name;
        receive(bytes);
    }
};

// The lines of a recording, each with its CR LF (recordings hold no lone LF).
QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // the nothing after the last line end
    for (QByteArray& line : lines)
        line += '\n';
    return lines;
}

TEST(Transcript, SceneBySceneTheClientJoinsChatsAndBuildsABusyRoster)
{
    Replay r;
    r.deliverFile("ngircd_register.txt");
    // CASEMAPPING in the 005 line after the welcome holds "ping": the client answers it too.
    EXPECT_EQ(r.sent(), (QStringList{"JOIN #ZentharaNET_0", "MODE #ZentharaNET_0", "pong"}));
    EXPECT_TRUE(r.view.chat.startsWith(QStringLiteral("<--WELCOME TO ZentharaNET hosted by localhost,")));

    // The own JOIN comes in the same read as the names reply: the client asks
    // again and lists the reply that came with it.
    r.deliverFile("ngircd_join.txt");
    EXPECT_EQ(r.sent(), QStringList{"NAMES #ZentharaNET_0"});
    EXPECT_EQ(r.view.chatList, (QStringList{"Bob", "Ann"}));

    r.deliverFile("ngircd_privmsg.txt");
    EXPECT_TRUE(r.view.chat.endsWith(QStringLiteral("Ann> hello lobby, hut 0 starts soon\r\n")));

    r.client.Hut_Click(1);
    r.sent();
    r.deliverFile("ngircd_own_nick.txt");
    EXPECT_EQ(r.sent(), QStringList{"NAMES #ZentharaNET_0"});

    r.deliverFile("ngircd_names_busy.txt");
    EXPECT_EQ(r.d.UserCount, 43);
    EXPECT_EQ(r.view.playList, (QStringList{"PersephoneVale", "OctavianGreymantle", "NiamhEmberglow",
                                            "MorwennaStarfall", "LysanderBrightwater", "KestrelDuskwalker"}));
    EXPECT_EQ(r.view.chatList.size(), 37);
    EXPECT_EQ(r.view.chatList.filter(QStringLiteral("(Away)")).size(), 4);
    EXPECT_EQ(r.view.chatList.filter(QStringLiteral("(BRB)")).size(), 4);
    // Names from every line of the reply reach the huts.
    QStringList huts;
    for (int h = 0; h < 4; ++h)
        for (int s = 0; s < 4; ++s)
            huts << r.d.HutTable[h][s].mid(5);
    EXPECT_EQ(huts, (QStringList{"Ann", "Bob", "AldricStormborn", "BrennaOakenshield", "CaspianWindrider",
                                 "Dee", "DelphineMoonwhisper", "EzekielIronhand", "FenwickAshgrove",
                                 "GwendolynFrostveil", "HrothgarBearclaw", "", "IsoldeNightbloom",
                                 "JarethSilverthorn", "", ""}));
}

// Everything the session leaves behind, shown as text.
QStringList endState(Replay& r)
{
    QStringList huts;
    for (int h = 0; h < 5; ++h)
        for (int slot = 0; slot < 4; ++slot)
            huts << r.d.HutTable[h][slot];
    return {r.view.chat, r.view.chatList.join(u','), r.view.playList.join(u','), huts.join(u','),
            QString::number(r.d.UserCount), QString::fromLatin1(r.transport.sent())};
}

// Random cut points inside and across lines, but never two line ends in one
// delivery, so every block the dispatcher sees is one line, as with
// line-by-line delivery.
QList<QByteArray> cutInsideLines(const QByteArray& bytes, QRandomGenerator& random)
{
    QList<QByteArray> chunks;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        // A chunk that stopped between CR and LF leaves that line end next.
        const qsizetype nextEnd = bytes.indexOf("\r\n", qMax<qsizetype>(0, pos - 1));
        const qsizetype afterEnd = nextEnd < 0 ? bytes.size() : nextEnd + 2;
        const qsizetype secondEnd = bytes.indexOf("\r\n", afterEnd);
        // The chunk may run past the next line end, up to just before the one after.
        const qsizetype limit = secondEnd < 0 ? bytes.size() : secondEnd + 1;
        const qsizetype size = 1 + qsizetype(random.bounded(int(limit - pos)));
        chunks.append(bytes.mid(pos, size));
        pos += size;
    }
    return chunks;
}

TEST(Transcript, LinesCutAcrossReadsEndInTheSameStateAsWholeLines)
{
    // The session in two parts: before and from the server's confirmation of
    // the client's own hut click, which the replay makes between them.
    const QByteArray session = readTestData(QStringLiteral("ngircd_session.txt"));
    const qsizetype at = session.lastIndexOf("\r\n", session.indexOf("NICK :MM_aa001Bob")) + 2;
    const QByteArray parts[] = {session.left(at), session.mid(at)};
    ASSERT_GT(parts[0].size(), 1000);
    ASSERT_TRUE(parts[1].startsWith(":MM_aaFFFBob!"));
    auto replay = [&](Replay& r, auto pieces) {
        for (const QByteArray& piece : pieces(parts[0]))
            r.receive(piece);
        r.client.Hut_Click(1);
        for (const QByteArray& piece : pieces(parts[1]))
            r.receive(piece);
        return endState(r);
    };

    Replay whole;
    const QStringList expected = replay(whole, linesOf);
    ASSERT_EQ(whole.d.UserCount, 43);
    for (quint32 run = 1; run <= 20; ++run) {
        QRandomGenerator random(run);
        Replay cut;
        int reads = 0;
        EXPECT_EQ(replay(cut,
                         [&](const QByteArray& bytes) {
                             const auto chunks = cutInsideLines(bytes, random);
                             reads += chunks.size();
                             return chunks;
                         }),
                  expected)
            << "run " << run;
        EXPECT_GT(reads, linesOf(session).size()) << "some lines are cut";
    }
}

} // namespace
