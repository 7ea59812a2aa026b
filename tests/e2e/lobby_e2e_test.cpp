// Lobby clients built from the core, against a real ngIRCd on loopback.
#include "coreclient.h"
#include "ngircdserver.h"
#include "rawircclient.h"

#include <QElapsedTimer>

#include <climits>

#include <gtest/gtest.h>

namespace {

const QString Lobby0 = QStringLiteral("#ZentharaNET_0");

// Ann, Bob and Cid in lobby 0, all listing each other.
class LobbyOnServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.setFloodPenalties(false);
        ASSERT_TRUE(server.start()) << server.errorString().toStdString();
        for (const char* name : {"Ann", "Bob", "Cid"})
            add(QString::fromLatin1(name));
        ASSERT_TRUE(allSeeAll(clients, {"Ann", "Bob", "Cid"}));
    }
    CoreClient& add(const QString& name)
    {
        clients.push_back(std::make_unique<CoreClient>(name, Lobby0, server.port()));
        clients.back()->client.Form_Load();
        return *clients.back();
    }
    Declares& state(int i) { return clients[size_t(i)]->client.state(); }

    NgircdServer server;
    CoreClients clients;
};

TEST_F(LobbyOnServer, MirroredBotsAnswerOneTriggerAFewTimesAndStop)
{
    state(0).BotTable[0] = {QStringLiteral("hi"), QStringLiteral("hello")};
    state(1).BotTable[0] = {QStringLiteral("hello"), QStringLiteral("hi")};
    RawIrcClient watcher;
    ASSERT_TRUE(watcher.connectTo(server.port()) && watcher.registerAs("Watcher") && watcher.join(Lobby0));
    ASSERT_TRUE(settle(clients));
    // Counted for two seconds: both answer, at most ten times, none in the last second.
    QElapsedTimer clock;
    int answers = 0;
    qint64 lastMs = 0;
    QSet<QString> answering;
    watcher.onLine = [&](const QByteArray& line) {
        const QString from = QString::fromLatin1(line.mid(1, line.indexOf('!') - 1));
        if (RawIrcClient::commandOf(line) == "PRIVMSG" &&
            (from == state(0).MyNick || from == state(1).MyNick)) {
            ++answers;
            lastMs = clock.elapsed();
            answering.insert(from);
        }
    };
    clock.start();
    clients[2]->client.SEND_Click(QStringLiteral("hi"));
    waitUntil([&] { return answers > 10; }, 2000);
    EXPECT_LE(answers, 10);
    EXPECT_EQ(answering.size(), 2) << "both bots answered";
    EXPECT_LT(lastMs, 1000) << answers << " answers";
}

// A plain IRC user who changes nickname again as soon as the server relays
// the last change: NICK lines all the time, in the same reads as the rest.
struct NickChanger {
    RawIrcClient irc;
    QByteArray base;
    int changes = 0;

    NickChanger(int number, quint16 port) : base("noise" + QByteArray::number(number))
    {
        irc.onLine = [this](const QByteArray& line) {
            const bool joined = line.contains(" 366 ");
            if (joined || (line.startsWith(':' + nick(0) + '!') && line.contains(" NICK :"))) {
                changes += !joined;
                irc.sendLine("NICK :" + nick(1));
            }
        };
        irc.connectTo(port);
        irc.sendLine("NICK " + nick(0));
        irc.sendLine("USER n 0 * :n");
        irc.sendLine("JOIN " + Lobby0.toLatin1());
    }
    QByteArray nick(int ahead) const { return base + ((changes + ahead) % 2 ? "b" : "a"); }
};

TEST_F(LobbyOnServer, EveryMemberStartsEveryLaunchWhileTwentyOthersChangeNicknames)
{
    CoreClient& hal = add(QStringLiteral("Hal"));
    ASSERT_TRUE(allSeeAll(clients, {"Hal"}));
    std::vector<std::unique_ptr<NickChanger>> noise;
    for (int n = 0; n < 20; ++n)
        noise.push_back(std::make_unique<NickChanger>(n, server.port()));
    const auto leastChanges = [&] {
        int least = INT_MAX;
        for (const auto& c : noise)
            least = std::min(least, c->changes);
        return least;
    };
    ASSERT_TRUE(waitUntil([&] { return leastChanges() > 2; }, Wait));

    const QString joins = QStringLiteral("eaexec.exe zen3.exe /j tcp 127.0.0.1 /n%1 /boundip 127.0.0.1");
    clients[2]->client.Hut_Click(11); // Cid, in another hut, never starts
    for (int game = 1; game <= 10; ++game) {
        SCOPED_TRACE(game);
        // After a game the hut is seen empty again before it fills up.
        ASSERT_TRUE(waitForAll(clients, [](const CoreClient& c) {
            const auto& hut = c.client.state().HutTable[2];
            return std::all_of(hut.begin(), hut.begin() + 4,
                               [](const QString& cell) { return cell.isEmpty(); });
        }));
        hal.client.Hut_Click(20);
        clients[0]->client.Hut_Click(21);
        clients[1]->client.Hut_Click(23);
        hal.client.Launch_Click(2);
        for (int member : {0, 1}) {
            const FakeShell& shell = clients[size_t(member)]->shell;
            ASSERT_TRUE(waitUntil([&] { return shell.started.size() == game; }, Wait));
            EXPECT_EQ(shell.started.last(), joins.arg(clients[size_t(member)]->name()));
        }
        EXPECT_EQ(hal.shell.started.size(), game);
    }
    EXPECT_TRUE(clients[2]->shell.started.isEmpty());
    EXPECT_GT(leastChanges(), 20);
}

} // namespace
