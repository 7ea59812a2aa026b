// What a hostile or broken server can send: a names reply far beyond any real
// lobby, and single lines of a mebibyte. The client shows what it can, skips
// what it cannot read, and stays usable - quickly, and without a crash.
#include "fakelobby.h"

#include <gtest/gtest.h>

namespace {

const QString Channel = QStringLiteral("#ZentharaNET_0");
const QString Bob = QStringLiteral("MM_aa020Bob");
constexpr int NameCount = 100000;

// In reads of `chunk` bytes; all in one read for 0.
void deliver(FakeLobby& lobby, const QByteArray& bytes, qsizetype chunk)
{
    const qsizetype size = chunk > 0 ? chunk : bytes.size();
    for (qsizetype pos = 0; pos < bytes.size(); pos += size)
        lobby.receive(bytes.mid(pos, size));
}

// 100,000 names: four in five chatting, playing, away or back soon in turn;
// every fifth chatting in hut 0 or 1; then one operator and one plain IRC user.
struct Crowd {
    QStringList entries;
    int playing = 0;

    Crowd()
    {
        static const char* const codes[] = {"MM_aaFFF", "MM_abFFF", "MM_acFFF", "MM_adFFF"};
        for (int i = 0; i < NameCount - 2; ++i) {
            const QString name = QStringLiteral("P") + QString::number(i);
            if (i % 5 == 4) {
                const int hut = (i / 5) % 2;
                entries << QStringLiteral("MM_aa0%1%2").arg(hut).arg((i / 10) % 4) + name;
            } else {
                entries << QString::fromLatin1(codes[i % 5]) + name;
                playing += i % 5 == 1;
            }
        }
        entries << QStringLiteral("@MM_aaFFFOp") << QStringLiteral("plainuser");
    }

    // As ngIRCd sends it: lines of about 470 characters, then the end; or,
    // as a hostile server may, lines of `lineChars` or fewer.
    QByteArray serverLines(int lineChars = 470) const
    {
        QByteArray bytes;
        QByteArray line;
        for (const QString& entry : entries) {
            if (!line.isEmpty() && line.size() + entry.size() > lineChars) {
                bytes += header() + line + "\r\n";
                line.clear();
            }
            if (!line.isEmpty())
                line += ' ';
            line += entry.toLatin1();
        }
        bytes += header() + line + "\r\n" + end();
        return bytes;
    }

    // All names in one line of some 1.3 MB.
    QByteArray oneLine() const { return header() + entries.join(u' ').toLatin1() + "\r\n" + end(); }

    static QByteArray header() { return (":irc.zen.test 353 " + Bob + " = " + Channel + " :").toLatin1(); }
    static QByteArray end()
    {
        return (":irc.zen.test 366 " + Bob + " " + Channel + " :End of NAMES list\r\n").toLatin1();
    }
};

// Every block of the reply hands on only the names it brought. Were the whole
// lists handed on again for each block, a server sending one name a line and
// a line a read would cost the square of the crowd: minutes for these names.
TEST(HostileNamesReply,
     AHundredThousandNamesInOneReadOrSmallReadsAreListedPlacedAndCountedWithinTheSixteenBitCount)
{
    const Crowd crowd;
    const struct {
        const char* what;
        QByteArray bytes;
        qsizetype chunk;
    } deliveries[] = {
        {"ngIRCd's lines in one read", crowd.serverLines(), 0},
        {"a single line in one read", crowd.oneLine(), 0},
        {"ngIRCd's lines in TCP segments", crowd.serverLines(), 1460},
        {"a name a line, a line a read", crowd.serverLines(1), 64},
    };
    for (const auto& c : deliveries) {
        SCOPED_TRACE(c.what);
        FakeLobby lobby(Bob, Channel);
        lobby.connect();
        const qsizetype handedBefore = lobby.view.usersHandedOver;
        deliver(lobby, c.bytes, c.chunk);

        const FakeView& view = lobby.view;
        // However the reply was cut, each user reached the lists once.
        EXPECT_EQ(view.usersHandedOver - handedBefore, NameCount);
        ASSERT_EQ(view.playList.size(), crowd.playing);
        ASSERT_EQ(view.chatList.size(), NameCount - crowd.playing);
        EXPECT_EQ(view.chatList.mid(0, 4), (QStringList{"P0", "(Away)P2", "(BRB)P3", "P4"}));
        EXPECT_EQ(view.playList.first(), QStringLiteral("P1"));
        EXPECT_EQ(view.chatList.mid(view.chatList.size() - 2), (QStringList{"Op", "plainuser"}));
        // The last one named in a place holds it.
        EXPECT_EQ(lobby.d.HutTable[0][3], QStringLiteral("aa003P99994"));
        EXPECT_EQ(lobby.d.HutTable[1][2], QStringLiteral("aa012P99989"));
        EXPECT_EQ(lobby.d.HutTable[2][0], QString());

        // The count is 16-bit: it stops at its largest value instead of
        // wrapping round to a negative count, which would let one vote kick.
        EXPECT_EQ(lobby.d.UserCount, 32767);
        lobby.receive(chanMsg(QStringLiteral("MM_aaFFFVoter"), Channel,
                              QStringLiteral("[ZENKICK] MM_aaFFFVoter>Bob|||")));
        EXPECT_EQ(lobby.d.KickVotes, 1);
        EXPECT_EQ(lobby.shell.endCount, 0);
        EXPECT_FALSE(lobby.client.hasEnded());
    }
}

TEST(HostileNamesReply, ASingleLineTooLongToHoldIsSkippedAndTheNextReplyIsRead)
{
    const Crowd crowd;
    FakeLobby lobby(Bob, Channel);
    lobby.connect();
    lobby.receive(Crowd::header() + "MM_aaFFFBob MM_abFFFAnn\r\n" + Crowd::end());
    ASSERT_EQ(lobby.view.chatList, QStringList{"Bob"});

    // Read in TCP segments, the line outgrows what the connection holds back
    // and goes to the dispatcher in pieces without a line end: none is a
    // names list it can read.
    deliver(lobby, crowd.oneLine(), 1460);
    EXPECT_EQ(lobby.view.chatList, QStringList{"Bob"});
    EXPECT_EQ(lobby.view.playList, QStringList{"Ann"});

    lobby.receive(Crowd::header() + "MM_aaFFFBob MM_aa031Cid\r\n" + Crowd::end());
    EXPECT_EQ(lobby.view.chatList, (QStringList{"Bob", "Cid"}));
    EXPECT_TRUE(lobby.view.playList.isEmpty());
    EXPECT_EQ(lobby.d.HutTable[3][1], QStringLiteral("aa031Cid"));
}

// One channel message of a mebibyte of text, made of `unit` over and over;
// shown, each unit reads as `shownUnit`.
struct LongLine {
    const char* what;
    QByteArray unit;
    QByteArray shownUnit;
};

const LongLine longLines[] = {
    {"letters", "x", "x"},
    {"line-break markers", ":endl:", "\r\n"},
    {"bare line feeds", "\n", "\n"},
    {"bare carriage returns", "\r", "\r"},
    {"NUL bytes", QByteArray(1, '\0'), QByteArray(1, '\0')},
    {"bytes above 127", "\xfe\xff", "\xfe\xff"},
};

QByteArray mebibyteOf(const QByteArray& unit)
{
    return unit.repeated((1 << 20) / unit.size());
}

QByteArray fromAnn(const QByteArray& text)
{
    return ":MM_aa000Ann!~ann@127.0.0.1 PRIVMSG " + Channel.toLatin1() + " :" + text + "\r\n";
}

TEST(HostileLongLine, AMebibyteLineInOneReadIsShownWholeInTcpSegmentsSkippedAndTheLobbyGoesOn)
{
    for (const LongLine& c : longLines) {
        for (const qsizetype chunk : {0, 1460}) {
            SCOPED_TRACE(std::string(c.what) + (chunk ? " in TCP segments" : " in one read"));
            FakeLobby lobby(Bob, Channel);
            lobby.connect();
            deliver(lobby, fromAnn(mebibyteOf(c.unit)), chunk);
            lobby.receive(fromAnn("after"));

            // Read in segments, the line outgrows what the connection holds
            // back and goes on in pieces without a line end: none is shown.
            QString expected = QStringLiteral("Ann> after\r\n");
            if (chunk == 0)
                expected.prepend(QStringLiteral("Ann> ") +
                                 QString::fromLatin1(mebibyteOf(c.unit))
                                     .replace(QString::fromLatin1(c.unit), QString::fromLatin1(c.shownUnit)) +
                                 QStringLiteral("\r\n"));
            EXPECT_EQ(lobby.view.chat.size(), expected.size());
            EXPECT_TRUE(lobby.view.chat == expected) << "the chat pane differs";
            EXPECT_FALSE(lobby.client.hasEnded());
        }
    }
}

TEST(HostileLongLine, APingFloodInOneLineIsAnsweredOncePerBlockNotOncePerWord)
{
    FakeLobby lobby(Bob, Channel);
    lobby.connect();
    const QByteArray line = fromAnn(mebibyteOf("ping "));
    deliver(lobby, line, 1460);
    const QStringList sent = lobby.sent();
    // One pong for each piece the connection hands on: pieces of just over
    // what it holds back, and the rest with the line end.
    EXPECT_GE(sent.size(), 1);
    EXPECT_LE(sent.size(), line.size() / Connection::MaxHeldTail + 1);
    EXPECT_EQ(sent.count(QStringLiteral("pong")), sent.size());
}

} // namespace
