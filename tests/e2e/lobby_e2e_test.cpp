// Lobby clients built from the core, against a real ngIRCd on loopback.
#include "coreclient.h"
#include "ngircdserver.h"
#include "rawircclient.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const QString Lobby0 = QStringLiteral("#ZentharaNET_0");
constexpr int Wait = 10000;

class LobbyOnServer : public ::testing::Test {
protected:
    void SetUp() override { server.setFloodPenalties(false); ASSERT_TRUE(server.start()) << server.errorString().toStdString(); }

    CoreClient& add(const QString& name, const QString& channel = Lobby0)
    {
        clients.push_back(std::make_unique<CoreClient>(name, channel, server.port()));
        return *clients.back();
    }

    // Loads every client's lobby window and waits until all of them are in
    // the channel and see each other as chatting.
    void enterAll()
    {
        QStringList names;
        for (auto& c : clients) {
            c->client.Form_Load();
            names << c->name();
        }
        ASSERT_TRUE(waitUntil([&] { return allSeeAll(clients, names); }, Wait)) << dump();
    }

    std::string dump() const
    {
        QString text;
        for (const auto& c : clients)
            text += c->name() + QStringLiteral(": chat=") + c->view.chatList.join(u',') +
                    QStringLiteral(" play=") + c->view.playList.join(u',') + u'\n';
        return text.toStdString();
    }

    NgircdServer server;
    std::vector<std::unique_ptr<CoreClient>> clients;
};

TEST_F(LobbyOnServer, ClientsRegisterJoinAndSeeEachOther)
{
    add(QStringLiteral("Ann"));
    add(QStringLiteral("Bob"));
    add(QStringLiteral("Cid"));
    enterAll();
    for (const auto& c : clients) {
        EXPECT_TRUE(c->welcomed()) << c->view.chat.toStdString();
        EXPECT_EQ(c->client.state().UserCount, 3);
        EXPECT_TRUE(c->view.playList.isEmpty());
        EXPECT_EQ(c->client.socketState(), SocketState::Connected);
    }
}

TEST_F(LobbyOnServer, HutChatAndBotReachTheOthers)
{
    CoreClient& ann = add(QStringLiteral("Ann"));
    CoreClient& bob = add(QStringLiteral("Bob"));
    CoreClient& cid = add(QStringLiteral("Cid"));
    enterAll();

    ann.client.Hut_Click(21);
    EXPECT_TRUE(waitUntil([&] {
        for (const auto& c : clients) {
            if (c->client.state().HutTable[2][1] != QStringLiteral("aa021Ann"))
                return false;
        }
        return true;
    }, Wait));
    // Still listed as chatting, now in a hut.
    EXPECT_TRUE(bob.inChatList(QStringLiteral("Ann")));
    ASSERT_TRUE(settle(clients, Wait));

    bob.client.SEND_Click(QStringLiteral("hello there"));
    EXPECT_TRUE(waitUntil([&] {
        return ann.view.chat.contains(QStringLiteral("Bob> hello there\r\n")) &&
               cid.view.chat.contains(QStringLiteral("Bob> hello there\r\n"));
    }, Wait));
    EXPECT_TRUE(bob.view.chat.endsWith(QStringLiteral("Bob> hello there\r\n")));

    cid.client.state().BotTable[0] = {QStringLiteral("hi"), QStringLiteral("hello friend")};
    ann.client.SEND_Click(QStringLiteral("HI"));
    EXPECT_TRUE(waitUntil([&] {
        return ann.view.chat.contains(QStringLiteral("Cid> hello friend\r\n")) &&
               bob.view.chat.contains(QStringLiteral("Cid> hello friend\r\n"));
    }, Wait));
    // Bob has no bot rows: one answer only.
    EXPECT_EQ(ann.view.chat.count(QStringLiteral("> hello friend")), 1);
}

TEST_F(LobbyOnServer, LaunchMessageStartsTheMembersOfItsHutOnly)
{
    CoreClient& ann = add(QStringLiteral("Ann"));
    CoreClient& bob = add(QStringLiteral("Bob"));
    CoreClient& cid = add(QStringLiteral("Cid"));
    enterAll();
    ann.client.Hut_Click(21);
    bob.client.Hut_Click(23);
    cid.client.Hut_Click(11);
    ASSERT_TRUE(waitUntil([&] {
        const auto& huts = cid.client.state().HutTable;
        return huts[2][1] == QStringLiteral("aa021Ann") && huts[2][3] == QStringLiteral("aa023Bob") &&
               ann.client.state().HutTable[1][1] == QStringLiteral("aa011Cid");
    }, Wait)) << dump();

    RawIrcClient host;
    ASSERT_TRUE(host.connectTo(server.port()));
    ASSERT_TRUE(host.registerAs(QStringLiteral("MM_aa020Host")));
    ASSERT_TRUE(host.join(Lobby0));
    // Every client has read the host's JOIN before the launch comes: a launch
    // read in one block with a JOIN line is not acted on.
    ASSERT_TRUE(waitUntil([&] { return allSeeAll(clients, {QStringLiteral("Host")}); }, Wait));

    host.sendLine("PRIVMSG #ZentharaNET_0 :[ZENLAUNCH2] 10.1.2.3|||");
    ASSERT_TRUE(waitUntil([&] { return !ann.shell.started.isEmpty() && !bob.shell.started.isEmpty(); }, Wait));
    EXPECT_EQ(ann.shell.started,
              QStringList{QStringLiteral("eaexec.exe zen3.exe /j tcp 10.1.2.3 /nAnn /boundip 127.0.0.1")});
    EXPECT_EQ(bob.shell.started,
              QStringList{QStringLiteral("eaexec.exe zen3.exe /j tcp 10.1.2.3 /nBob /boundip 127.0.0.1")});
    EXPECT_EQ(ann.client.state().MyNick, QStringLiteral("MM_abFFFAnn"));

    // The launched players move to the playing list everywhere. Their NICK
    // lines follow the launch message on Cid's connection, so by then Cid has
    // read the launch too.
    ASSERT_TRUE(waitUntil([&] {
        return cid.inPlayList(QStringLiteral("Ann")) && cid.inPlayList(QStringLiteral("Bob"));
    }, Wait)) << dump();
    EXPECT_TRUE(cid.shell.started.isEmpty());
    EXPECT_FALSE(cid.view.chat.contains(QStringLiteral("LAUNCHING GAME")));
    EXPECT_TRUE(cid.client.state().HutTable[2][1].isEmpty());
}

TEST_F(LobbyOnServer, ServerRestartWithinTheReconnectIntervalBringsEveryoneBack)
{
    CoreClient& ann = add(QStringLiteral("Ann"));
    CoreClient& bob = add(QStringLiteral("Bob"));
    enterAll();
    QSignalSpy annRegistered(&ann.client, &LobbyClient::registered);
    QSignalSpy bobRegistered(&bob.client, &LobbyClient::registered);

    // Restarting the timers here puts the next reconnect tick a whole
    // interval after the server went away, long after it is back.
    for (auto& c : clients)
        c->client.setTimerIntervals(200, 1500);
    server.stop();
    ASSERT_TRUE(waitUntil([&] {
        return ann.client.socketState() == SocketState::Closing && bob.client.socketState() == SocketState::Closing;
    }, Wait));
    ASSERT_TRUE(server.start());

    ASSERT_TRUE(waitUntil([&] { return annRegistered.count() == 1 && bobRegistered.count() == 1; }, Wait));
    EXPECT_TRUE(waitUntil([&] { return allSeeAll(clients, {QStringLiteral("Ann"), QStringLiteral("Bob")}); }, Wait))
        << dump();
    EXPECT_EQ(ann.client.state().MyNick, QStringLiteral("MM_aaFFFAnn"));
    EXPECT_FALSE(ann.client.hasEnded());
    EXPECT_TRUE(ann.shell.messages.empty());
}

TEST_F(LobbyOnServer, ServerGoneForGoodEndsWithCouldNotFindHost)
{
    CoreClient& ann = add(QStringLiteral("Ann"));
    enterAll();
    ann.client.setTimerIntervals(200, 300);
    server.stop();
    ASSERT_TRUE(waitUntil([&] { return ann.client.hasEnded(); }, Wait));
    ASSERT_EQ(ann.shell.messages.size(), 1u);
    EXPECT_EQ(ann.shell.messages[0].text, QStringLiteral("Could Not Find Host"));
    EXPECT_EQ(ann.shell.messages[0].title, QStringLiteral("ZenLobby"));
    EXPECT_EQ(ann.shell.endCount, 1);
}

} // namespace
