// What a hostile or broken server can send: a names reply far beyond any real
// lobby, and single lines of a mebibyte. The client shows what it can, skips
// what it cannot read, and stays usable - quickly, and without a crash.
#include "fakelobby.h"

#include <gtest/gtest.h>

namespace {

const QString Channel = QStringLiteral("#ZentharaNET_0");
const QByteArray NamesHead = ":irc.zen.test 353 MM_aa020Bob = #ZentharaNET_0 :";
const QByteArray NamesEnd = ":irc.zen.test 366 MM_aa020Bob #ZentharaNET_0 :End of NAMES list\r\n";

struct Lobby : ConnectedLobby {
    Lobby() : ConnectedLobby(QStringLiteral("MM_aa020Bob"), Channel) { view.usersHandedOver = 0; }
    // In reads of `chunk` bytes; all in one read for 0.
    void deliver(const QByteArray& bytes, qsizetype chunk)
    {
        chunk = chunk > 0 ? chunk : bytes.size();
        for (qsizetype pos = 0; pos < bytes.size(); pos += chunk)
            receive(bytes.mid(pos, chunk));
    }
};

// 100,000 names, joined by `separator`: in turn playing and chatting in hut 0,
// slots 0 to 3; the last an operator.
QByteArray crowd(const QByteArray& separator)
{
    QByteArrayList entries;
    for (int i = 0; i < 99999; ++i)
        entries << (i % 2 ? "MM_abFFF" : "MM_aa00" + QByteArray::number(i / 2 % 4)) + "P" +
                       QByteArray::number(i);
    return NamesHead + entries.join(separator) + " @MM_aaFFFOp\r\n" + NamesEnd;
}

// Every block of the reply hands on only the names it brought. Were the whole
// lists handed on again for each block, a server sending one name a line and
// a line a read would cost the square of the crowd: minutes for these names.
TEST(HostileNamesReply, AHundredThousandNamesInOneLineOrANameALineAreListedPlacedAndCountedInSixteenBits)
{
    for (const auto& [bytes, chunk] : {std::pair{crowd(" "), 0}, {crowd("\r\n" + NamesHead), 64}}) {
        Lobby lobby;
        lobby.deliver(bytes, chunk);
        EXPECT_EQ(lobby.view.usersHandedOver, 100000) << "each user reached the lists once";
        ASSERT_EQ(lobby.view.playList.size(), 49999);
        EXPECT_EQ(lobby.view.playList.last() + lobby.view.chatList.last(), "P99997Op");
        // The last one named in a place holds it.
        EXPECT_EQ(lobby.d.HutTable[0][3] + lobby.d.HutTable[0][0], "aa003P99998aa000P99992");
        // The count stops at its largest value instead of wrapping round to a
        // negative count, which would let one vote kick.
        EXPECT_EQ(lobby.d.UserCount, 32767);
        lobby.receive(chanMsg("MM_aaFFFVoter", Channel, "[ZENKICK] MM_aaFFFVoter>Bob|||"));
        EXPECT_EQ(lobby.d.KickVotes, 1);
    }
}

QByteArray fromAnn(const QByteArray& text)
{
    return ":MM_aa000Ann!~ann@127.0.0.1 PRIVMSG #ZentharaNET_0 :" + text + "\r\n";
}

// Read in TCP segments, a line longer than the connection holds back goes on
// in pieces without a line end: none is shown, nor read as a names list.
TEST(HostileLongLine, AMebibyteLineIsShownWholeOrSkippedInTcpSegmentsAndAPingFloodAnsweredOncePerRead)
{
    for (const auto& [unit, shown] :
         {std::pair<QByteArray, QByteArray>{":endl:", "\r\n"}, {"\n", "\n"}, {"\r", "\r"}}) {
        for (const qsizetype chunk : {0, 1460}) {
            SCOPED_TRACE(unit.toStdString() + (chunk ? " in TCP segments" : " in one read"));
            Lobby lobby;
            const qsizetype count = (1 << 20) / unit.size();
            lobby.deliver(fromAnn(unit.repeated(count)), chunk);
            lobby.receive(fromAnn("after"));
            const QByteArray whole = chunk ? "" : "Ann> " + shown.repeated(count) + "\r\n";
            EXPECT_TRUE(lobby.view.chat == QString::fromLatin1(whole + "Ann> after\r\n"));
        }
    }
    Lobby lobby;
    lobby.receive(NamesHead + "MM_aaFFFBob MM_abFFFAnn\r\n" + NamesEnd);
    lobby.deliver(crowd(" "), 1460);
    EXPECT_EQ(lobby.view.chatList.join(u',') + '/' + lobby.view.playList.join(u','), "Bob/Ann");

    // A PING flood: one PONG for each read, not one for each line.
    lobby.sent();
    const QByteArray flood = QByteArray("PING :x\r\n").repeated((1 << 20) / 9);
    lobby.deliver(flood, 1460);
    const QStringList sent = lobby.sent();
    EXPECT_GE(sent.size(), 1);
    EXPECT_LE(sent.size(), flood.size() / 1460 + 1);
    EXPECT_EQ(sent.count(QStringLiteral("PONG :x")), sent.size());
}

} // namespace
