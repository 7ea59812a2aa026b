#include "rawircclient.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>

namespace {

class RawIrcClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = std::make_unique<NgircdServer>();
        server->setFloodPenalties(false);
        ASSERT_TRUE(server->start()) << server->errorString().toStdString();
    }
    static void TearDownTestSuite() { server.reset(); }

    static std::unique_ptr<NgircdServer> server;
};
std::unique_ptr<NgircdServer> RawIrcClientTest::server;

} // namespace

TEST_F(RawIrcClientTest, RegistersAndKeepsTheBytesAsSent)
{
    RawIrcClient client;
    ASSERT_TRUE(client.connectTo(server->port()));
    ASSERT_TRUE(client.registerAs(QStringLiteral("MM_aaFFFRaw")));
    EXPECT_EQ(client.nick(), QStringLiteral("MM_aaFFFRaw"));
    ASSERT_TRUE(client.waitForCommand("376"));

    const QByteArray bytes = client.received();
    EXPECT_TRUE(bytes.endsWith(" :End of MOTD command\r\n"));
    QByteArray joined;
    for (const QByteArray& line : client.lines()) {
        EXPECT_FALSE(line.contains('\r') || line.contains('\n'));
        joined += line + "\r\n";
    }
    EXPECT_EQ(joined, bytes);
}

TEST_F(RawIrcClientTest, RegistrationFailsOnATakenNickname)
{
    RawIrcClient first;
    RawIrcClient second;
    ASSERT_TRUE(first.connectTo(server->port()));
    ASSERT_TRUE(first.registerAs(QStringLiteral("MM_aaFFFTwin")));
    ASSERT_TRUE(second.connectTo(server->port()));
    EXPECT_FALSE(second.registerAs(QStringLiteral("MM_aaFFFTwin")));
    EXPECT_TRUE(second.received().contains(" 433 * MM_aaFFFTwin :")) << second.received().toStdString();
}

TEST_F(RawIrcClientTest, WaitsReadForwardThroughTheLines)
{
    RawIrcClient ann;
    RawIrcClient bob;
    ASSERT_TRUE(ann.connectTo(server->port()));
    ASSERT_TRUE(bob.connectTo(server->port()));
    ASSERT_TRUE(ann.registerAs(QStringLiteral("MM_aa000Ann")));
    ASSERT_TRUE(bob.registerAs(QStringLiteral("MM_aaFFFBob")));
    ASSERT_TRUE(ann.join(QStringLiteral("#ZentharaNET_1")));
    ASSERT_TRUE(bob.join(QStringLiteral("#ZentharaNET_1")));

    for (const char* text : {"one", "two", "three"})
        bob.sendLine(QByteArray("PRIVMSG #ZentharaNET_1 :") + text);

    const auto first = ann.waitForCommand("PRIVMSG");
    const auto second = ann.waitForCommand("PRIVMSG");
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->endsWith(":one"));
    EXPECT_TRUE(second->endsWith(":two"));
    // "one" has been read: only "three" is left to find.
    EXPECT_FALSE(ann.waitForLineContaining(":one", 300));
    ASSERT_TRUE(ann.waitForLineContaining(":three"));

    bob.sendLine("PRIVMSG #ZentharaNET_1 :four");
    ASSERT_TRUE(ann.waitForLineContaining(":four"));
    ann.skipReceived();
    bob.sendLine("PRIVMSG #ZentharaNET_1 :five");
    const auto next = ann.waitForCommand("PRIVMSG");
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->endsWith(":five"));
}

TEST_F(RawIrcClientTest, QuitWaitsForTheServerToClose)
{
    RawIrcClient client;
    ASSERT_TRUE(client.connectTo(server->port()));
    ASSERT_TRUE(client.registerAs(QStringLiteral("MM_aaFFFLeaving")));
    EXPECT_TRUE(client.quit("gone"));
    EXPECT_FALSE(client.isConnected());
    EXPECT_TRUE(client.received().endsWith("ERROR :\"gone\"\r\n"))
        << client.received().right(60).toStdString();
}

TEST(RawIrcClient, AnswersPingAndSplitsLinesAcrossChunks)
{
    QTcpServer fakeServer;
    ASSERT_TRUE(fakeServer.listen(QHostAddress::LocalHost, 0));
    RawIrcClient client;
    ASSERT_TRUE(client.connectTo(fakeServer.serverPort()));
    ASSERT_TRUE(waitUntil([&] { return fakeServer.hasPendingConnections(); }, 5000));
    std::unique_ptr<QTcpSocket> peer(fakeServer.nextPendingConnection());
    QByteArray heard;
    QObject::connect(peer.get(), &QTcpSocket::readyRead, [&] { heard += peer->readAll(); });

    peer->write("PING :abc");
    peer->flush();
    ASSERT_TRUE(waitUntil([&] { return client.received().size() == 9; }, 5000));
    EXPECT_TRUE(client.lines().isEmpty()) << "no line before its CR LF";
    peer->write("123\r\n:x 001 y :hi\r\n");
    ASSERT_TRUE(client.waitForCommand("001"));
    EXPECT_EQ(client.lines(), (QList<QByteArray>{"PING :abc123", ":x 001 y :hi"}));
    ASSERT_TRUE(waitUntil([&] { return heard.endsWith("\r\n"); }, 5000));
    EXPECT_EQ(heard, QByteArray("PONG :abc123\r\n"));
}

TEST(RawIrcClient, CommandOfALine)
{
    const struct {
        const char* line;
        const char* command;
    } cases[] = {
        {":irc.zen.test 001 MM_aaFFFBob :Welcome", "001"},
        {":MM_aa000Ann!~a@127.0.0.1 PRIVMSG #ZentharaNET_0 :hi", "PRIVMSG"},
        {"PING :irc.zen.test", "PING"},
        {"ERROR :Closing connection", "ERROR"},
        {":lonely", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RawIrcClient::commandOf(c.line), QByteArray(c.command)) << c.line;
}
