#include "irc/tcptransport.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace {

constexpr int Wait = 5000;

// A transport on a plain TCP server on loopback, and what it reported.
class TcpTransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&transport, &Transport::connected, [this] { events << "connected"; });
        QObject::connect(&transport, &Transport::received, [this](const QByteArray& data) { bytes += data; });
        QObject::connect(&transport, &Transport::closedByServer, [this] { events << "closedByServer"; });
        QObject::connect(&transport, &Transport::failed,
                         [this](int code, const QString& text) { events << QString::number(code) + text; });
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
    QByteArray peerBytes, bytes;
    TcpTransport transport;
    QStringList events;
};

TEST_F(TcpTransportTest, CarriesEveryByteBothWaysAndAServerCloseIsStateEightAfterTheLastBytes)
{
    EXPECT_EQ(transport.state(), SocketState::Closed);
    transport.send("while closed\r\n"); // dropped, never sent later
    connectToPeer();
    EXPECT_EQ(transport.localIP(), QStringLiteral("127.0.0.1"));
    QByteArray block;
    for (int i = 0; i < 256 * 2048; ++i)
        block += char((i + i / 256) & 0xFF);
    transport.send(block);
    ASSERT_TRUE(waitUntil([&] { return peerBytes.size() >= block.size(); }, Wait));
    EXPECT_EQ(peerBytes, block);

    peer->write(block);
    peer->disconnectFromHost();
    ASSERT_TRUE(waitForState(SocketState::Closing));
    EXPECT_EQ(bytes, block);
    EXPECT_EQ(events, (QStringList{"connected", "closedByServer"}));
}

TEST_F(TcpTransportTest, CloseIsStateZeroAndSilent)
{
    connectToPeer();
    transport.close();
    EXPECT_EQ(transport.state(), SocketState::Closed);
    ASSERT_TRUE(waitUntil([&] { return peer->state() == QAbstractSocket::UnconnectedState; }, Wait));
    QCoreApplication::processEvents();
    EXPECT_EQ(events, QStringList{"connected"});
}

TEST_F(TcpTransportTest, RefusedConnectionIsStateNineWithOneFailure)
{
    transport.connectToHost(QStringLiteral("127.0.0.1"), NgircdServer::freePort()); // nothing listens
    ASSERT_TRUE(waitForState(SocketState::Error));
    QCoreApplication::processEvents();
    ASSERT_EQ(events.size(), 1);
    EXPECT_TRUE(events[0].startsWith(QString::number(QAbstractSocket::ConnectionRefusedError) + "C"));
}

} // namespace
