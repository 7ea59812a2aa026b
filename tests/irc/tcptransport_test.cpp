#include "irc/tcptransport.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace {

// A transport on a plain TCP server on loopback, and what it reported.
struct Wire {
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray peerBytes, bytes;
    TcpTransport transport;
    QStringList events;

    Wire()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&transport, &Transport::connected, [this] { events << "connected"; });
        QObject::connect(&transport, &Transport::received, [this](const QByteArray& data) { bytes += data; });
        QObject::connect(&transport, &Transport::closedByServer, [this] { events << "closedByServer"; });
        QObject::connect(&transport, &Transport::failed,
                         [this](int code, const QString& text) { events << QString::number(code) + text; });
    }
    bool connectToPeer()
    {
        transport.connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
        transport.send("while connecting\r\n"); // dropped too
        if (transport.state() != SocketState::Connecting ||
            !waitUntil([&] { return (peer = server.nextPendingConnection()) != nullptr; }, 5000))
            return false;
        QObject::connect(peer, &QTcpSocket::readyRead, [this] { peerBytes += peer->readAll(); });
        return waitFor(SocketState::Connected);
    }
    bool waitFor(int state)
    {
        return waitUntil([&] { return transport.state() == state; }, 5000);
    }
};

TEST(TcpTransport, CarriesEveryByteBothWaysAndTellsHowEachConnectionEnded)
{
    Wire wire;
    wire.transport.send("while closed\r\n"); // dropped, never sent later
    ASSERT_TRUE(wire.connectToPeer());
    QTcpSocket* first = wire.peer;
    ASSERT_TRUE(wire.connectToPeer()); // a new connection drops the old one silently
    ASSERT_TRUE(waitUntil([&] { return first->state() == QAbstractSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(wire.transport.localIP(), QStringLiteral("127.0.0.1"));
    QByteArray block;
    for (int i = 0; i < 256 * 2048; ++i)
        block += char((i + i / 256) & 0xFF);
    wire.transport.send(block);
    ASSERT_TRUE(waitUntil([&] { return wire.peerBytes.size() >= block.size(); }, 5000));
    EXPECT_EQ(wire.peerBytes, block);
    wire.peer->write(block);
    wire.peer->disconnectFromHost();
    ASSERT_TRUE(wire.waitFor(SocketState::Closing)); // state 8, after the last bytes
    EXPECT_EQ(wire.bytes, block);

    // Closed by us: nothing reported; refused: state 9 with the reason.
    ASSERT_TRUE(wire.connectToPeer());
    wire.transport.close();
    EXPECT_EQ(wire.transport.state(), SocketState::Closed);
    ASSERT_TRUE(waitUntil([&] { return wire.peer->state() == QAbstractSocket::UnconnectedState; }, 5000));
    wire.transport.connectToHost(QStringLiteral("127.0.0.1"), NgircdServer::freePort()); // nothing listens
    ASSERT_TRUE(wire.waitFor(SocketState::Error));
    QCoreApplication::processEvents();
    ASSERT_EQ(wire.events.size(), 5);
    EXPECT_EQ(wire.events.mid(0, 4), (QStringList{"connected", "connected", "closedByServer", "connected"}));
    EXPECT_TRUE(wire.events[4].startsWith(QString::number(QAbstractSocket::ConnectionRefusedError) + "C"));
}

} // namespace
