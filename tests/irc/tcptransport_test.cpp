#include "irc/tcptransport.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int Wait = 5000;

// A transport connected to a plain TCP server on loopback, with what it reported.
class TcpTransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&transport, &Transport::connected, [this] { events.push_back("connected"); });
        QObject::connect(&transport, &Transport::received, [this](const QByteArray& data) {
            events.push_back("received");
            bytes += data;
        });
        QObject::connect(&transport, &Transport::closedByServer,
                         [this] { events.push_back("closedByServer"); });
        QObject::connect(&transport, &Transport::failed, [this](int code, const QString& text) {
            events.push_back("failed");
            failCode = code;
            failText = text;
        });
    }

    void connectToPeer()
    {
        transport.connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
        EXPECT_EQ(transport.state(), SocketState::Connecting);
        ASSERT_TRUE(waitUntil([&] { return (peer = server.nextPendingConnection()) != nullptr; }, Wait));
        ASSERT_TRUE(waitForState(SocketState::Connected));
        QObject::connect(peer, &QTcpSocket::readyRead, [this] { peerBytes += peer->readAll(); });
    }
    bool waitForState(int state)
    {
        return waitUntil([&] { return transport.state() == state; }, Wait);
    }

    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray peerBytes;
    TcpTransport transport;
    std::vector<std::string> events;
    QByteArray bytes;
    int failCode = -1;
    QString failText;
};

TEST_F(TcpTransportTest, CarriesEveryByteBothWaysAndAServerCloseIsStateEightAfterTheLastBytes)
{
    EXPECT_EQ(transport.state(), SocketState::Closed);
    transport.send("while closed\r\n"); // dropped, never sent later
    connectToPeer();
    EXPECT_EQ(transport.localIP(), QStringLiteral("127.0.0.1"));
    QByteArray block;
    for (int round = 0; round < 2048; ++round)
        for (int value = 0; value < 256; ++value)
            block += char((value + round) & 0xFF);
    transport.send(block);
    ASSERT_TRUE(waitUntil([&] { return peerBytes.size() >= block.size(); }, Wait));
    EXPECT_EQ(peerBytes, block);

    peer->write(block);
    peer->disconnectFromHost();
    ASSERT_TRUE(waitForState(SocketState::Closing));
    EXPECT_EQ(bytes, block);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), "connected");
    EXPECT_EQ(events.back(), "closedByServer");
    EXPECT_EQ(std::count(events.begin(), events.end(), "received"), qsizetype(events.size()) - 2);
}

TEST_F(TcpTransportTest, CloseIsStateZeroAndSilent)
{
    connectToPeer();
    transport.close();
    EXPECT_EQ(transport.state(), SocketState::Closed);
    ASSERT_TRUE(waitUntil([&] { return peer->state() == QAbstractSocket::UnconnectedState; }, Wait));
    QCoreApplication::processEvents();
    EXPECT_EQ(events, std::vector<std::string>{"connected"});
    EXPECT_EQ(transport.state(), SocketState::Closed);
}

TEST_F(TcpTransportTest, RefusedConnectionIsStateNineWithOneFailure)
{
    transport.connectToHost(QStringLiteral("127.0.0.1"), NgircdServer::freePort()); // nothing listens
    ASSERT_TRUE(waitForState(SocketState::Error));
    QCoreApplication::processEvents();
    EXPECT_EQ(events, std::vector<std::string>{"failed"});
    EXPECT_EQ(failCode, int(QAbstractSocket::ConnectionRefusedError));
    EXPECT_FALSE(failText.isEmpty());
}

} // namespace
