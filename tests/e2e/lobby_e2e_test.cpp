// Lobby clients built from the core (lobbysim's players), against a real
// ngIRCd on loopback.
#include "lobbysim.h"
#include "rostersnapshot.h"
#include "simplayer.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include "app/login.h"

#include <QTcpSocket>

#include <csignal>

#include <memory>

#include <gtest/gtest.h>

namespace {

const QString Lobby0 = QStringLiteral("#ZentharaNET_0");
constexpr int Wait = 20000;

// A server that takes nicknames of 20 characters, fewer than the client's own limit.
class LobbyOnServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.setMaxNickLength(20);
        ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    }
    SimPlayer& add(const QString& name, const QString& channel = Lobby0)
    {
        players.push_back(
            std::make_unique<SimPlayer>(name, SimTarget{server.host(), server.port(), channel}));
        players.back()->enter();
        return *players.back();
    }
    bool everyone(const std::function<bool(const SimPlayer&)>& holds)
    {
        const auto holdsForAll = [&] {
            return std::all_of(players.begin(), players.end(), [&](const auto& p) { return holds(*p); });
        };
        return waitUntil(holdsForAll, Wait);
    }

    NgircdServer server;
    std::vector<std::unique_ptr<SimPlayer>> players;
};

// A plain IRC user who changes nickname again as soon as the server relays
// the last change: NICK lines all the time, in the same reads as the rest.
struct NickChanger {
    QTcpSocket irc;
    const QByteArray base;
    int changes = 0;

    NickChanger(int number, quint16 port) : base("noise" + QByteArray::number(10 + number)) // none a prefix
    {
        QObject::connect(&irc, &QTcpSocket::readyRead, [this] {
            while (irc.canReadLine()) {
                const QByteArray line = irc.readLine();
                const bool own = line.startsWith(':' + base) && line.contains(" NICK :");
                changes += own;
                if (line.startsWith("PING "))
                    irc.write("PONG " + line.mid(5));
                else if (line.contains(" 001 "))
                    irc.write("JOIN " + Lobby0.toLatin1() + "\r\n");
                else if (own || line.contains(" 366 ")) // its own change relayed, or its join
                    irc.write("NICK :" + base + (changes % 2 ? "a" : "b") + "\r\n");
            }
        });
        irc.connectToHost(QStringLiteral("127.0.0.1"), port);
        irc.write("NICK " + base + "a\r\nUSER " + base + " 0 * :" + base + "\r\n");
    }
};

TEST_F(LobbyOnServer, EveryLaunchReachesItsHutWhileTwentyOthersChangeNicknames)
{
    for (const char* name : {"Ann", "Bob", "Cid", "Hal"})
        add(QString::fromLatin1(name));
    ASSERT_TRUE(everyone([](const SimPlayer& p) { return p.view().chatList().size() == 4; }));

    std::vector<std::unique_ptr<NickChanger>> noise;
    for (int n = 0; n < 20; ++n)
        noise.push_back(std::make_unique<NickChanger>(n, server.port()));
    const auto allChanged = [&](int times) {
        return std::all_of(noise.begin(), noise.end(), [&](const auto& c) { return c->changes > times; });
    };
    ASSERT_TRUE(waitUntil([&] { return allChanged(2); }, Wait));

    players[2]->client().Hut_Click(11); // Cid, in another hut, never starts
    for (int game = 1; game <= 2; ++game) {
        SCOPED_TRACE(game);
        // After a game everyone sees the hut empty again, Cid's the only seat taken.
        ASSERT_TRUE(everyone([](const SimPlayer& p) { return RosterSnapshot::of(p).occupiedSlots() == 1; }));
        players[3]->client().Hut_Click(20); // Hal hosts
        players[0]->client().Hut_Click(21);
        players[1]->client().Hut_Click(23);
        players[3]->client().Launch_Click(2);
        ASSERT_TRUE(everyone([game](const SimPlayer& p) {
            return p.shell().started().size() == (p.name() == "Cid" ? 0 : game);
        }));
    }
    EXPECT_TRUE(allChanged(3)); // and went on changing during the games
}

// The names the real server takes: suffixes in the order it takes them, and one longer than it
// takes ends at the login (the window's part is the window tests').
TEST_F(LobbyOnServer, NamesTheServerTakesOrRefuses)
{
    const QStringList shown{"Bob", "Bob_", "Bob_2"};
    for (int i = 0; i < 3; ++i) {
        const SimPlayer& bob = add(QStringLiteral("Bob"));
        ASSERT_TRUE(waitUntil([&] { return bob.view().chatList().size() == i + 1; }, Wait));
        EXPECT_EQ(bob.state().MyNick, "MM_aaFFF" + shown[i]);
    }
    const SimPlayer& player = add(QStringLiteral("abcdefghijklmnopqrst"));
    ASSERT_TRUE(waitUntil([&] { return !player.shell().messages().isEmpty(); }, Wait));
    EXPECT_EQ(player.shell().messages(), QStringList{Login::RefusedMessage});
}

// The server hangs (no close, nothing arrives) while Ann and Bob are in the lobby. Ann's
// client notices and says so, keeps what she types, and once the server runs again
// rejoins and sends it: Bob, whose link outlived the outage, reads each line once, in order.
TEST_F(LobbyOnServer, AHungServerIsNoticedAndWhatWasTypedMeanwhileArrivesOnceInOrder)
{
    SimPlayer& ann = add(QStringLiteral("Ann"));
    ann.client().setIntervals({100, 200, 500, 500, 50});
    const SimPlayer& bob = add(QStringLiteral("Bob"));
    ASSERT_TRUE(everyone([](const SimPlayer& p) { return p.view().chatList().size() == 2; }));

    server.signal(SIGSTOP);
    ASSERT_TRUE(waitUntil([&] { return ann.view().title().endsWith("(Server has kicked you)"); }, Wait));
    const QStringList typed{"gg 1", "gg 2", "gg 3"};
    for (const QString& line : typed)
        ann.client().SEND_Click(line);
    server.signal(SIGCONT);

    ASSERT_TRUE(waitUntil([&] { return bob.view().chat().contains("> gg 3\r\n"); }, Wait));
    // Each once, in order (the nickname may have taken a suffix: the old one was still there).
    QStringList said = bob.view().chat().split("\r\n").filter("> gg ");
    for (QString& line : said)
        line = line.section("> ", 1);
    EXPECT_EQ(said, typed);
}

// A plain IRC user who answers the lines it reads.
struct RawUser {
    QTcpSocket irc;
    bool joined = false;
    RawUser(quint16 port, const QByteArray& nick, std::function<QByteArray(const QByteArray&)> answer)
    {
        QObject::connect(&irc, &QTcpSocket::readyRead, [this, answer] {
            while (irc.canReadLine()) {
                const QByteArray line = irc.readLine();
                irc.write(answer(line));
                joined = joined || line.contains(" 366 ");
            }
        });
        irc.connectToHost(QStringLiteral("127.0.0.1"), port);
        irc.write("NICK " + nick + "\r\nUSER u 0 * :u\r\nJOIN #ZentharaNET_0\r\n");
    }
};

// Joins, renames, parts, kicks and quits around four lobby players, who take
// slots, go away and reconnect meanwhile: every one of them then shows what a
// fresh names reply gives.
TEST_F(LobbyOnServer, TheKeptMembersMatchAFreshNamesReplyAfterAChurn)
{
    // The first to join is the channel operator, who kicks.
    RawUser op(server.port(), "op", [](const QByteArray& line) {
        const int nick = line.indexOf(" NICK :x");
        return nick > 0 && line.at(nick + 8) % 2
                   ? "KICK #ZentharaNET_0 " + line.mid(nick + 7).trimmed() + "\r\n"
                   : QByteArray();
    });
    ASSERT_TRUE(waitUntil([&] { return op.joined; }, Wait));
    SimOptions options;
    options.target = {server.host(), server.port(), Lobby0};
    options.players = 4;
    options.actionIntervalMs = options.durationMs = 0;
    LobbySim sim(options);
    sim.start();
    ASSERT_TRUE(waitUntil([&] { return sim.allSeeAll(); }, Wait));

    std::vector<std::unique_ptr<RawUser>> churn;
    for (char n = '0'; n <= '7'; ++n) {
        const QByteArray x = QByteArray("x") + n;
        churn.push_back(
            std::make_unique<RawUser>(server.port(), "c" + x, [x, joins = 0](const QByteArray& line) mutable {
                if (line.contains(" 366 ") && joins++ == 0)
                    return "NICK :b" + x +
                           "\r\nPART #ZentharaNET_0 :bye\r\nJOIN #ZentharaNET_0\r\nNICK :" + x + "\r\n";
                const bool kicked = line.contains(" KICK #ZentharaNET_0 " + x);
                return kicked || (line.contains(" NICK :" + x) && x.at(1) % 2 == 0)
                           ? QByteArray(kicked ? "JOIN #ZentharaNET_0\r\nQUIT :done\r\n" : "QUIT :done\r\n")
                           : QByteArray();
            }));
    }
    sim.player(0).client().Hut_Click(0);
    sim.player(1).client().SEND_Click(QStringLiteral("/away"));
    sim.player(2).client().connection().close();
    sim.player(2).enter();
    sim.player(3).client().Hut_Click(0);
    const auto churned = [&] {
        return std::all_of(churn.begin(), churn.end(), [](const auto& u) { return u->irc.state() == 0; });
    };
    ASSERT_TRUE(waitUntil([&] { return churned() && sim.allSeeAll(); }, Wait));

    bool checked = false;
    sim.settle([&] { sim.checkFreshNames([&] { checked = true; }); });
    ASSERT_TRUE(waitUntil([&] { return checked; }, Wait));
    EXPECT_EQ(sim.freshNames().checkedPlayers(), 4);
    EXPECT_TRUE(sim.freshNames().differing().empty());
    EXPECT_TRUE(sim.rostersAgree());
    EXPECT_EQ(sim.player(0).state().UserCount, 5);
}

} // namespace
