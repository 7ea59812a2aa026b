// Lobby clients built from the core (lobbysim's players), against a real
// ngIRCd on loopback.
#include "rostersnapshot.h"
#include "simplayer.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include "app/login.h"

#include <QTcpSocket>

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

} // namespace
