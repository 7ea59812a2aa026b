// What a hostile or broken server can send: a names reply far beyond any real
// lobby, and single lines of a mebibyte. The client shows what it can, skips
// what it cannot read, and stays usable - quickly, and without a crash.
#include "fakelobby.h"

#include <gtest/gtest.h>

namespace {

const QString Channel = QStringLiteral("#ZentharaNET_0");
const QString Bob = QStringLiteral("MM_aa020Bob");
const QByteArray NamesHead = ":irc.zen.test 353 MM_aa020Bob = #ZentharaNET_0 :";
const QByteArray NamesEnd = ":irc.zen.test 366 MM_aa020Bob #ZentharaNET_0 :End of NAMES list\r\n";
constexpr int NameCount = 100000;

struct Lobby : FakeLobby {
    Lobby() : FakeLobby(Bob, Channel)
    {
        connect();
        view.usersHandedOver = 0;
    }
    // In reads of `chunk` bytes; all in one read for 0.
    void deliver(const QByteArray& bytes, qsizetype chunk)
    {
        for (qsizetype pos = 0; pos<bytes.size(); pos += chunk> 0 ? chunk : bytes.size())
            receive(bytes.mid(pos, chunk > 0 ? chunk : bytes.size()));
    }
};

// 100,000 names: in turn chatting, playing, away, back soon and chatting in
// hut 0 or 1; the last an operator. Joined by `separator`.
QByteArray crowd(const QByteArray& separator)
{
    QByteArrayList entries;
    for (int i = 0; i < NameCount - 1; ++i) {
        const QByteArray place = "a0" + QByteArray::number((i / 5) % 2) + QByteArray::number((i / 10) % 4);
        const QByteArray code[] = {"aFFF", "bFFF", "cFFF", "dFFF", place};
        entries << "MM_a" + code[i % 5] + "P" + QByteArray::number(i);
    }
    return NamesHead + entries.join(separator) + " @MM_aaFFFOp\r\n" + NamesEnd;
}

// Every block of the reply hands on only the names it brought. Were the whole
// lists handed on again for each block, a server sending one name a line and
// a line a read would cost the square of the crowd: minutes for these names.
TEST(HostileNamesReply, AHundredThousandNamesInOneLineOrANameALineAreListedPlacedAndCountedInSixteenBits)
{
    const struct {
        QByteArray bytes;
        qsizetype chunk;
    } deliveries[] = {{crowd(" "), 0}, {crowd("\r\n" + NamesHead), 64}};
    for (const auto& c : deliveries) {
        Lobby lobby;
        lobby.deliver(c.bytes, c.chunk);
        const FakeView& view = lobby.view;
        EXPECT_EQ(view.usersHandedOver, NameCount) << "each user reached the lists once";
        ASSERT_EQ(view.playList.size(), NameCount / 5);
        ASSERT_EQ(view.chatList.size(), NameCount - NameCount / 5);
        EXPECT_EQ(view.chatList.mid(0, 4), (QStringList{"P0", "(Away)P2", "(BRB)P3", "P4"}));
        EXPECT_EQ(view.playList.first() + view.chatList.last(), "P1Op");
        // The last one named in a place holds it.
        EXPECT_EQ(lobby.d.HutTable[0][3] + lobby.d.HutTable[1][2], "aa003P99994aa012P99989");
        EXPECT_TRUE(lobby.d.HutTable[2][0].isEmpty());

        // The count stops at its largest value instead of wrapping round to a
        // negative count, which would let one vote kick.
        EXPECT_EQ(lobby.d.UserCount, 32767);
        lobby.receive(chanMsg("MM_aaFFFVoter", Channel, "[ZENKICK] MM_aaFFFVoter>Bob|||"));
        EXPECT_EQ(lobby.d.KickVotes, 1);
        EXPECT_FALSE(lobby.client.hasEnded());
    }
}

QByteArray fromAnn(const QByteArray& text)
{
    return ":MM_aa000Ann!~ann@127.0.0.1 PRIVMSG #ZentharaNET_0 :" + text + "\r\n";
}

// Read in TCP segments, a line longer than the connection holds back goes on
// in pieces without a line end: none is shown, nor read as a names list.
TEST(HostileLongLine, AMebibyteLineInOneReadIsShownWholeInTcpSegmentsSkippedAndTheLobbyGoesOn)
{
    const struct {
        QByteArray unit, shown;
    } units[] = {{":endl:", "\r\n"}, {"\n", "\n"}, {"\r", "\r"}};
    for (const auto& u : units) {
        for (const qsizetype chunk : {0, 1460}) {
            SCOPED_TRACE(u.unit.toStdString() + (chunk ? " in TCP segments" : " in one read"));
            Lobby lobby;
            lobby.deliver(fromAnn(u.unit.repeated((1 << 20) / u.unit.size())), chunk);
            lobby.receive(fromAnn("after"));
            const QByteArray shown =
                chunk ? "" : "Ann> " + u.shown.repeated((1 << 20) / u.unit.size()) + "\r\n";
            EXPECT_TRUE(lobby.view.chat == QString::fromLatin1(shown + "Ann> after\r\n"));
        }
    }

    Lobby lobby;
    lobby.receive(NamesHead + "MM_aaFFFBob MM_abFFFAnn\r\n" + NamesEnd);
    lobby.deliver(crowd(" "), 1460);
    EXPECT_EQ(lobby.view.chatList.join(u',') + '/' + lobby.view.playList.join(u','), "Bob/Ann");
    lobby.receive(NamesHead + "MM_aaFFFBob MM_aa031Cid\r\n" + NamesEnd);
    EXPECT_EQ(lobby.view.chatList.join(u',') + '/' + lobby.view.playList.join(u','), "Bob,Cid/");
    EXPECT_EQ(lobby.d.HutTable[3][1], QStringLiteral("aa031Cid"));
}

TEST(HostileLongLine, APingFloodInOneLineIsAnsweredOncePerBlockNotOncePerWord)
{
    Lobby lobby;
    const QByteArray line = fromAnn(QByteArray("ping ").repeated((1 << 20) / 5));
    lobby.deliver(line, 1460);
    const QStringList sent = lobby.sent();
    // One pong for each piece the connection hands on: pieces of just over
    // what it holds back, and the rest with the line end.
    EXPECT_GE(sent.size(), 1);
    EXPECT_LE(sent.size(), line.size() / Connection::MaxHeldTail + 1);
    EXPECT_EQ(sent.count(QStringLiteral("pong")), sent.size());
}

} // namespace
