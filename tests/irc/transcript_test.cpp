// Recorded ngIRCd sessions replayed through a client with fake ports.
#include "fakes.h"
#include "lobby/lobbyclient.h"
#include "testdata.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

const QString Channel = QStringLiteral("#ZentharaNET_0");

struct Replay {
    FakeTransport transport;
    FakeShell shell;
    FakeView view;
    LobbyClient client{transport, shell, view};

    Replay()
    {
        Declares& d = client.state();
        d.CodeLetter = QStringLiteral("a");
        d.MyNick = QStringLiteral("MM_aaFFFBob");
        d.CurrentChannel = Channel;
        client.Form_Load();
        transport.acceptConnection();
        transport.takeLines();
    }

    void deliverFile(const char* name)
    {
        const QByteArray bytes = readTestData(QString::fromLatin1(name));
        ASSERT_FALSE(bytes.isEmpty()) << name;
        transport.deliver(bytes);
    }
};

// The lines of a recording, each with its CR LF.
QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf("\r\n", pos);
        end = end < 0 ? bytes.size() : end + 2;
        lines.append(bytes.mid(pos, end - pos));
        pos = end;
    }
    return lines;
}

TEST(Transcript, SceneBySceneTheClientJoinsChatsAndBuildsABusyRoster)
{
    Replay r;
    r.deliverFile("ngircd_register.txt");
    // CASEMAPPING in the 005 line holds "ping": the client answers it too.
    EXPECT_EQ(r.transport.takeLines(), (QStringList{QStringLiteral("pong"), QStringLiteral("JOIN #ZentharaNET_0"),
                                                    QStringLiteral("MODE #ZentharaNET_0")}));
    EXPECT_TRUE(r.view.chat.startsWith(QStringLiteral("<--WELCOME TO ZentharaNET hosted by localhost,")));

    // The own JOIN comes in the same read as the names reply: the client asks
    // again and reads the answer from the next block only.
    r.deliverFile("ngircd_join.txt");
    EXPECT_EQ(r.transport.takeLines(), QStringList{QStringLiteral("NAMES #ZentharaNET_0")});
    EXPECT_EQ(r.view.chatList, QStringList{QStringLiteral("Getting User List...")});

    r.deliverFile("ngircd_privmsg.txt");
    EXPECT_TRUE(r.view.chat.endsWith(QStringLiteral("Ann> hello lobby, hut 0 starts soon\r\n")));

    r.client.Hut_Click(1);
    r.transport.takeLines();
    r.deliverFile("ngircd_own_nick.txt");
    EXPECT_EQ(r.transport.takeLines(), QStringList{QStringLiteral("NAMES #ZentharaNET_0")});

    r.deliverFile("ngircd_names_busy.txt");
    const Declares& d = r.client.state();
    EXPECT_EQ(d.UserCount, 43);
    EXPECT_EQ(r.view.chatList.size() + r.view.playList.size(), 43);
    EXPECT_EQ(d.HutTable[0][1], QStringLiteral("aa001Bob"));
    EXPECT_TRUE(r.view.chatList.contains(QStringLiteral("Bob")));
    int away = 0, brb = 0, huts = 0;
    for (const QString& name : r.view.chatList) {
        away += name.startsWith(QStringLiteral("(Away)"));
        brb += name.startsWith(QStringLiteral("(BRB)"));
    }
    for (int h = 0; h < 4; ++h)
        for (int s = 0; s < 4; ++s)
            huts += !d.HutTable[h][s].isEmpty();
    EXPECT_GT(away, 0);
    EXPECT_GT(brb, 0);
    EXPECT_GT(r.view.playList.size(), 0);
    EXPECT_GT(huts, 4); // names from every line of the reply reach the huts
}

// The session in two parts: before and from the server's confirmation of the
// client's own hut click, which the replay makes between them.
struct Session {
    QByteArray beforeOwnNick;
    QByteArray fromOwnNick;
};

Session recordedSession()
{
    const QByteArray bytes = readTestData(QStringLiteral("ngircd_session.txt"));
    const qsizetype at = bytes.lastIndexOf("\r\n", bytes.indexOf("NICK :MM_aa001Bob")) + 2;
    return {bytes.left(at), bytes.mid(at)};
}

struct EndState {
    QString chat;
    QStringList chatList, playList;
    QStringList huts;
    int userCount;
    QByteArray sent;
    bool operator==(const EndState& o) const
    {
        return chat == o.chat && chatList == o.chatList && playList == o.playList && huts == o.huts &&
               userCount == o.userCount && sent == o.sent;
    }
};

EndState endState(Replay& r)
{
    EndState s{r.view.chat, r.view.chatList, r.view.playList, {}, r.client.state().UserCount, r.transport.sent()};
    for (int h = 0; h < 5; ++h)
        for (int slot = 0; slot < 4; ++slot)
            s.huts << r.client.state().HutTable[h][slot];
    return s;
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
    const Session session = recordedSession();
    ASSERT_GT(session.beforeOwnNick.size(), 1000);
    ASSERT_TRUE(session.fromOwnNick.startsWith(":MM_aaFFFBob!"));

    Replay whole;
    for (const QByteArray& line : linesOf(session.beforeOwnNick))
        whole.transport.deliver(line);
    whole.client.Hut_Click(1);
    for (const QByteArray& line : linesOf(session.fromOwnNick))
        whole.transport.deliver(line);
    const EndState expected = endState(whole);
    ASSERT_EQ(expected.userCount, 43);

    for (quint32 run = 1; run <= 20; ++run) {
        QRandomGenerator random(run);
        Replay cut;
        const auto first = cutInsideLines(session.beforeOwnNick, random);
        const auto second = cutInsideLines(session.fromOwnNick, random);
        ASSERT_GT(first.size() + second.size(), linesOf(session.beforeOwnNick + session.fromOwnNick).size());
        for (const QByteArray& chunk : first)
            cut.transport.deliver(chunk);
        cut.client.Hut_Click(1);
        for (const QByteArray& chunk : second)
            cut.transport.deliver(chunk);
        EXPECT_TRUE(endState(cut) == expected) << "run " << run;
    }
}

TEST(Transcript, ArbitraryChunksReachTheDispatcherAsWholeLinesNoneLostNoneTwice)
{
    const QByteArray session = readTestData(QStringLiteral("ngircd_session.txt"));
    for (quint32 run = 1; run <= 20; ++run) {
        QRandomGenerator random(run);
        Replay r;
        QByteArray handed;
        bool allWhole = true;
        QObject::connect(&r.client.connection(), &Connection::blockReceived, [&](const QString& block) {
            handed += block.toLatin1();
            allWhole = allWhole && block.endsWith(QStringLiteral("\r\n"));
        });
        qsizetype pos = 0;
        while (pos < session.size()) {
            const qsizetype size = 1 + random.bounded(700);
            r.transport.deliver(session.mid(pos, size));
            pos += size;
        }
        EXPECT_EQ(handed, session) << "run " << run;
        EXPECT_TRUE(allWhole) << "run " << run;
    }
}

} // namespace
