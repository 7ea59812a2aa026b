// Lobby clients built from the core, against a real ngIRCd on loopback.
#include "coreclient.h"
#include "ngircdserver.h"
#include "rawircclient.h"

#include <QElapsedTimer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

const QString Lobby0 = QStringLiteral("#ZentharaNET_0");
constexpr int Wait = 10000;

// Ann, Bob and Cid load their lobby windows and wait until all of them are in
// the channel and see each other as chatting.
class LobbyOnServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.setFloodPenalties(false);
        ASSERT_TRUE(server.start()) << server.errorString().toStdString();
        for (const char* name : {"Ann", "Bob", "Cid"}) {
            clients.push_back(std::make_unique<CoreClient>(QString::fromLatin1(name), Lobby0, server.port()));
            clients.back()->client.Form_Load();
        }
        ASSERT_TRUE(waitForLobby({"Ann", "Bob", "Cid"})) << dump();
    }

    // Waits until `holds` for every client.
    bool waitForAll(const std::function<bool(const CoreClient&)>& holds) const
    {
        return waitUntil(
            [&] {
                return std::all_of(clients.begin(), clients.end(), [&](const auto& c) { return holds(*c); });
            },
            Wait);
    }
    // Waits until every client's hut tables hold all `cells`, each "aa0" + hut + slot + name.
    bool waitForHuts(const QStringList& cells) const
    {
        return waitForAll([&](const CoreClient& c) {
            return std::all_of(cells.begin(), cells.end(), [&](const QString& cell) {
                return c.client.state().HutTable[cell[3].digitValue()][cell[4].digitValue()] == cell;
            });
        });
    }
    bool waitForLobby(const QStringList& names) const
    {
        return waitUntil([&] { return allSeeAll(clients, names); }, Wait);
    }

    std::string dump() const
    {
        QString text;
        for (const auto& c : clients)
            text +=
                c->name() + ": " + c->view.chatList.join(u',') + " / " + c->view.playList.join(u',') + '\n';
        return text.toStdString();
    }

    NgircdServer server;
    std::vector<std::unique_ptr<CoreClient>> clients;
    CoreClient& ann() { return *clients[0]; }
    CoreClient& bob() { return *clients[1]; }
    CoreClient& cid() { return *clients[2]; }
};

TEST_F(LobbyOnServer, ClientsRegisterJoinAndSeeEachOther)
{
    for (const auto& c : clients) {
        EXPECT_TRUE(c->welcomed()) << c->view.chat.toStdString();
        EXPECT_EQ(c->client.state().UserCount, 3);
        EXPECT_TRUE(c->view.playList.isEmpty());
        EXPECT_EQ(c->client.socketState(), SocketState::Connected);
    }
}

TEST_F(LobbyOnServer, HutChatAndBotReachTheOthers)
{
    ann().client.Hut_Click(21);
    EXPECT_TRUE(waitForHuts({"aa021Ann"}));
    // Still listed as chatting, now in a hut.
    EXPECT_TRUE(bob().inChatList(QStringLiteral("Ann")));
    ASSERT_TRUE(settle(clients, Wait));

    const QString hello = QStringLiteral("Bob> hello there\r\n");
    bob().client.SEND_Click(QStringLiteral("hello there"));
    EXPECT_TRUE(waitForAll([&](const CoreClient& c) { return c.view.chat.contains(hello); }));
    EXPECT_TRUE(bob().view.chat.endsWith(hello));

    const QString answer = QStringLiteral("Cid> hello friend\r\n");
    cid().client.state().BotTable[0] = {QStringLiteral("hi"), QStringLiteral("hello friend")};
    ann().client.SEND_Click(QStringLiteral("HI"));
    EXPECT_TRUE(waitForAll([&](const CoreClient& c) { return c.view.chat.contains(answer); }));
    // Bob has no bot rows: one answer only.
    EXPECT_EQ(ann().view.chat.count(QStringLiteral("> hello friend")), 1);
}

TEST_F(LobbyOnServer, MirroredBotsAnswerOneTriggerAFewTimesAndStop)
{
    ann().client.state().BotTable[0] = {QStringLiteral("hi"), QStringLiteral("hello")};
    bob().client.state().BotTable[0] = {QStringLiteral("hello"), QStringLiteral("hi")};
    RawIrcClient watcher;
    ASSERT_TRUE(watcher.connectTo(server.port()));
    ASSERT_TRUE(watcher.registerAs(QStringLiteral("Watcher")));
    ASSERT_TRUE(watcher.join(Lobby0));
    ASSERT_TRUE(settle(clients, Wait));

    const QList<QByteArray> bots = {":" + ann().client.state().MyNick.toLatin1() + "!",
                                    ":" + bob().client.state().MyNick.toLatin1() + "!"};
    const auto botAnswer = [&](const QByteArray& line) {
        return RawIrcClient::commandOf(line) == "PRIVMSG" &&
               std::any_of(bots.begin(), bots.end(), [&](const QByteArray& b) { return line.startsWith(b); });
    };
    cid().client.SEND_Click(QStringLiteral("hi"));
    // The watcher counts for two seconds; the last one must be quiet.
    constexpr qint64 WindowMs = 2000;
    constexpr qint64 QuietMs = 1000;
    QElapsedTimer clock;
    clock.start();
    int answers = 0;
    qint64 lastMs = 0;
    QSet<QByteArray> answering;
    while (answers <= 10 && clock.elapsed() < WindowMs) {
        const auto line = watcher.waitForLine(botAnswer, int(WindowMs - clock.elapsed()));
        if (!line)
            break;
        ++answers;
        lastMs = clock.elapsed();
        answering.insert(line->left(line->indexOf('!')));
    }
    EXPECT_LE(answers, 10);
    EXPECT_EQ(answering.size(), 2) << "both bots answered";
    EXPECT_LT(lastMs, WindowMs - QuietMs) << answers << " answers";
}

// A plain IRC user in the lobby who changes his nickname again as soon as the
// server has relayed the last change: NICK lines all the time, in the same
// reads as everything else.
class NickChanger {
public:
    NickChanger(int number, quint16 port) : m_base(QByteArray("noise") + QByteArray::number(number))
    {
        QObject::connect(&m_socket, &QTcpSocket::readyRead, [this] { read(); });
        m_socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        m_socket.write("NICK " + nick() + "\r\nUSER n 0 * :n\r\nJOIN " + Lobby0.toLatin1() + "\r\n");
    }
    int changes() const { return m_changes; }

private:
    QByteArray nick(int change = 0) const { return m_base + ((m_changes + change) % 2 ? "b" : "a"); }
    void read()
    {
        m_buffer += m_socket.readAll();
        for (qsizetype end; (end = m_buffer.indexOf("\r\n")) >= 0; m_buffer.remove(0, end + 2)) {
            const QByteArray line = m_buffer.left(end);
            if (line.startsWith("PING"))
                m_socket.write("PONG" + line.mid(4) + "\r\n");
            const bool joined = line.contains(" 366 ");
            if (joined || line.startsWith(":" + nick() + "!") && line.contains(" NICK :")) {
                m_changes += !joined;
                m_socket.write("NICK :" + nick(1) + "\r\n");
            }
        }
    }

    QTcpSocket m_socket;
    QByteArray m_base;
    QByteArray m_buffer;
    int m_changes = 0;
};

TEST_F(LobbyOnServer, EveryMemberStartsEveryLaunchWhileTwentyOthersChangeNicknames)
{
    clients.push_back(std::make_unique<CoreClient>(QStringLiteral("Hal"), Lobby0, server.port()));
    CoreClient& hal = *clients.back();
    hal.client.Form_Load();
    ASSERT_TRUE(waitForLobby({"Hal"}));
    std::vector<std::unique_ptr<NickChanger>> noise;
    for (int n = 0; n < 20; ++n)
        noise.push_back(std::make_unique<NickChanger>(n, server.port()));
    ASSERT_TRUE(waitUntil(
        [&] { return std::all_of(noise.begin(), noise.end(), [](auto& c) { return c->changes() > 2; }); },
        Wait));

    const QString joins = QStringLiteral("eaexec.exe zen3.exe /j tcp 127.0.0.1 /n%1 /boundip 127.0.0.1");
    cid().client.Hut_Click(11); // in another hut: never starts
    for (int game = 1; game <= 10; ++game) {
        SCOPED_TRACE(game);
        // After a game the hut is seen empty again before it fills up.
        ASSERT_TRUE(waitForAll([](const CoreClient& c) {
            const auto& hut = c.client.state().HutTable[2];
            return std::all_of(hut.begin(), hut.begin() + 4,
                               [](const QString& cell) { return cell.isEmpty(); });
        })) << dump();
        hal.client.Hut_Click(20);
        ann().client.Hut_Click(21);
        bob().client.Hut_Click(23);
        hal.client.Launch_Click(2);
        for (CoreClient* member : {&ann(), &bob()}) {
            ASSERT_TRUE(waitUntil([&] { return member->shell.started.size() == game; }, Wait));
            EXPECT_EQ(member->shell.started.last(), joins.arg(member->name()));
        }
        EXPECT_EQ(hal.shell.started.size(), game);
    }
    EXPECT_TRUE(cid().shell.started.isEmpty());
    EXPECT_GT(std::min_element(noise.begin(), noise.end(),
                               [](auto& a, auto& b) { return a->changes() < b->changes(); })
                  ->get()
                  ->changes(),
              20);
}

TEST_F(LobbyOnServer, ServerRestartWithinTheReconnectIntervalBringsEveryoneBack)
{
    int registrations = 0;
    QObject counting; // ends the counting with the test
    for (auto& c : clients) {
        QObject::connect(&c->client, &LobbyClient::registered, &counting,
                         [&registrations] { ++registrations; });
        // Restarting the timers here puts the next reconnect tick a whole
        // interval after the server went away, long after it is back.
        c->client.setTimerIntervals(200, 1500);
    }
    server.stop();
    ASSERT_TRUE(
        waitForAll([](const CoreClient& c) { return c.client.socketState() == SocketState::Closing; }));
    ASSERT_TRUE(server.start());

    // Each registers once more, and all are back in the lobby.
    ASSERT_TRUE(waitUntil([&] { return registrations == 3; }, Wait));
    EXPECT_TRUE(waitForLobby({"Ann", "Bob", "Cid"})) << dump();
    EXPECT_EQ(registrations, 3);
    for (const auto& c : clients) {
        EXPECT_EQ(c->client.state().MyNick, QStringLiteral("MM_aaFFF") + c->name());
        EXPECT_FALSE(c->client.hasEnded());
        EXPECT_TRUE(c->shell.messages.empty());
    }
}

TEST_F(LobbyOnServer, ServerGoneForGoodEndsWithCouldNotFindHost)
{
    for (auto& c : clients)
        c->client.setTimerIntervals(200, 300);
    server.stop();
    for (const auto& c : clients) {
        ASSERT_TRUE(waitUntil([&] { return c->client.hasEnded(); }, Wait));
        ASSERT_EQ(c->shell.messages.size(), 1u);
        EXPECT_EQ(c->shell.messages[0].text, QStringLiteral("Could Not Find Host"));
        EXPECT_EQ(c->shell.messages[0].title, QStringLiteral("ZenLobby"));
        EXPECT_EQ(c->shell.endCount, 1);
    }
}

} // namespace
