#include "irc/tcptransport.h"

#include "eventwait.h"
#include "ngircdserver.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int Wait = 5000;

// Everything a transport told its client, in order.
struct Recorder {
    explicit Recorder(TcpTransport& transport)
    {
        QObject::connect(&transport, &Transport::connected, [this] { events.push_back("connected"); });
        QObject::connect(&transport, &Transport::received, [this](const QByteArray& data) {
            events.push_back("received");
            bytes += data;
        });
        QObject::connect(&transport, &Transport::closedByServer,
                         [this] { events.push_back("closedByServer"); });
        QObject::connect(&transport, &Transport::failed, [this](int code, const QString& description) {
            events.push_back("failed");
            failCodes.push_back(code);
            failDescription = description;
        });
    }
    int count(const std::string& event) const { return int(std::count(events.begin(), events.end(), event)); }

    std::vector<std::string> events;
    QByteArray bytes;
    std::vector<int> failCodes;
    QString failDescription;
};

// A plain TCP server on loopback playing the other end.
class PeerServer {
public:
    explicit PeerServer(const QHostAddress& address = QHostAddress::LocalHost)
    {
        listening = server.listen(address, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                const int index = int(peers.size());
                peers.push_back(socket);
                received.emplace_back();
                QObject::connect(socket, &QTcpSocket::readyRead,
                                 [this, socket, index] { received[index] += socket->readAll(); });
            }
        });
    }
    quint16 port() const { return server.serverPort(); }
    bool waitForPeer(int count = 1)
    {
        return waitUntil([&] { return int(peers.size()) >= count; }, Wait);
    }
    bool waitForBytes(int index, qsizetype size)
    {
        return waitUntil([&] { return received[index].size() >= size; }, Wait);
    }
    bool waitForPeerGone(int index)
    {
        return waitUntil([&] { return peers[index]->state() == QAbstractSocket::UnconnectedState; }, Wait);
    }

    QTcpServer server;
    bool listening = false;
    std::vector<QTcpSocket*> peers; // children of the server
    std::vector<QByteArray> received;
};

bool waitForState(const TcpTransport& transport, int state)
{
    return waitUntil([&] { return transport.state() == state; }, Wait);
}

class TcpTransportWithNgircd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = std::make_unique<NgircdServer>();
        ASSERT_TRUE(server->start()) << server->errorString().toStdString();
    }
    static void TearDownTestSuite() { server.reset(); }

    void connectAndRegister(TcpTransport& transport, Recorder& recorder, const QByteArray& nick)
    {
        transport.connectToHost(server->host(), server->port());
        ASSERT_TRUE(waitForState(transport, SocketState::Connected));
        transport.send("NICK " + nick + "\r\nUSER " + nick + " \"zen.lobby\" \"127.0.0.1\" :ZenUser\r\n");
        ASSERT_TRUE(waitUntil([&] { return recorder.bytes.contains(" 376 " + nick + " "); }, Wait))
            << recorder.bytes.toStdString();
    }

    static std::unique_ptr<NgircdServer> server;
};
std::unique_ptr<NgircdServer> TcpTransportWithNgircd::server;

} // namespace

TEST_F(TcpTransportWithNgircd, StatesRunClosedConnectingConnected)
{
    TcpTransport transport;
    Recorder recorder(transport);
    EXPECT_EQ(transport.state(), SocketState::Closed);

    transport.connectToHost(server->host(), server->port());
    EXPECT_EQ(transport.state(), SocketState::Connecting);
    ASSERT_TRUE(waitUntil([&] { return recorder.count("connected") == 1; }, Wait));
    EXPECT_EQ(transport.state(), SocketState::Connected);
    EXPECT_EQ(transport.localIP(), QStringLiteral("127.0.0.1"));

    transport.close();
    EXPECT_EQ(transport.state(), SocketState::Closed);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"connected"});
}

TEST_F(TcpTransportWithNgircd, RegistersAndAnswersPing)
{
    TcpTransport transport;
    Recorder recorder(transport);
    connectAndRegister(transport, recorder, "MM_aaFFFTransport");
    EXPECT_TRUE(recorder.bytes.contains(" 001 MM_aaFFFTransport :Welcome"));

    transport.send("PING :zen-check\r\n");
    ASSERT_TRUE(waitUntil([&] { return recorder.bytes.contains("PONG"); }, Wait));
    EXPECT_TRUE(recorder.bytes.endsWith(":zen-check\r\n")) << recorder.bytes.right(80).toStdString();
    EXPECT_EQ(recorder.count("failed"), 0);
    EXPECT_EQ(recorder.count("closedByServer"), 0);
}

TEST_F(TcpTransportWithNgircd, QuitIsServerCloseNotFailure)
{
    TcpTransport transport;
    Recorder recorder(transport);
    connectAndRegister(transport, recorder, "MM_aaFFFQuitter");

    transport.send("QUIT :bye\r\n");
    ASSERT_TRUE(waitUntil([&] { return recorder.count("closedByServer") > 0; }, Wait));
    EXPECT_EQ(transport.state(), SocketState::Closing);
    // The server's farewell arrives before the close is reported.
    EXPECT_TRUE(recorder.bytes.endsWith("\r\nERROR :\"bye\"\r\n")) << recorder.bytes.toStdString();
    EXPECT_EQ(recorder.events.back(), "closedByServer");
    EXPECT_EQ(recorder.count("closedByServer"), 1);
    EXPECT_EQ(recorder.count("failed"), 0);
}

TEST(TcpTransport, ServerShutdownIsStateEight)
{
    NgircdServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    TcpTransport transport;
    Recorder recorder(transport);
    transport.connectToHost(server.host(), server.port());
    ASSERT_TRUE(waitForState(transport, SocketState::Connected));

    server.stop();
    ASSERT_TRUE(waitForState(transport, SocketState::Closing));
    EXPECT_EQ(recorder.count("closedByServer"), 1);
    EXPECT_EQ(recorder.count("failed"), 0);
}

TEST(TcpTransport, DataSentJustBeforeTheCloseArrivesFirst)
{
    PeerServer peer;
    ASSERT_TRUE(peer.listening);
    TcpTransport transport;
    Recorder recorder(transport);
    transport.connectToHost(QStringLiteral("127.0.0.1"), peer.port());
    ASSERT_TRUE(peer.waitForPeer());
    ASSERT_TRUE(waitForState(transport, SocketState::Connected));

    peer.peers[0]->write(":irc.zen.test NOTICE * :last words\r\n");
    peer.peers[0]->disconnectFromHost();
    ASSERT_TRUE(waitForState(transport, SocketState::Closing));
    EXPECT_EQ(recorder.bytes, QByteArray(":irc.zen.test NOTICE * :last words\r\n"));
    EXPECT_EQ(recorder.events.back(), "closedByServer");
    EXPECT_EQ(recorder.count("closedByServer"), 1);
    EXPECT_EQ(recorder.count("failed"), 0);
}

TEST(TcpTransport, RefusedConnectionFailsOnceWithStateNine)
{
    const quint16 closedPort = NgircdServer::freePort(); // nothing listens there
    TcpTransport transport;
    Recorder recorder(transport);
    transport.connectToHost(QStringLiteral("127.0.0.1"), closedPort);
    ASSERT_TRUE(waitForState(transport, SocketState::Error));
    QCoreApplication::processEvents(); // anything the dead socket still had queued

    EXPECT_EQ(recorder.events, std::vector<std::string>{"failed"});
    ASSERT_EQ(recorder.failCodes.size(), 1u);
    EXPECT_EQ(recorder.failCodes[0], int(QAbstractSocket::ConnectionRefusedError));
    EXPECT_FALSE(recorder.failDescription.isEmpty());
    EXPECT_EQ(transport.state(), SocketState::Error);
}

TEST(TcpTransport, CloseDropsTheConnectionSilently)
{
    PeerServer peer;
    ASSERT_TRUE(peer.listening);
    TcpTransport transport;
    Recorder recorder(transport);
    transport.connectToHost(QStringLiteral("127.0.0.1"), peer.port());
    ASSERT_TRUE(peer.waitForPeer());
    ASSERT_TRUE(waitForState(transport, SocketState::Connected));

    transport.close();
    EXPECT_EQ(transport.state(), SocketState::Closed);
    ASSERT_TRUE(peer.waitForPeerGone(0));
    QCoreApplication::processEvents();

    EXPECT_EQ(recorder.events, std::vector<std::string>{"connected"});
    EXPECT_EQ(transport.state(), SocketState::Closed);
    EXPECT_TRUE(peer.received[0].isEmpty());
}

TEST(TcpTransport, CloseFromTheReceiveHandlerEndsEverything)
{
    PeerServer peer;
    ASSERT_TRUE(peer.listening);
    TcpTransport transport;
    Recorder recorder(transport);
    QObject::connect(&transport, &Transport::received, [&transport] { transport.close(); });
    transport.connectToHost(QStringLiteral("127.0.0.1"), peer.port());
    ASSERT_TRUE(peer.waitForPeer());
    ASSERT_TRUE(waitForState(transport, SocketState::Connected));

    // The server's last bytes and its close come together; the client closes on the bytes.
    peer.peers[0]->write("ERROR :Closing connection\r\n");
    peer.peers[0]->disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return recorder.count("received") > 0; }, Wait));
    ASSERT_TRUE(peer.waitForPeerGone(0));
    QCoreApplication::processEvents();

    EXPECT_EQ(recorder.events, (std::vector<std::string>{"connected", "received"}));
    EXPECT_EQ(transport.state(), SocketState::Closed);
}

TEST(TcpTransport, ConnectingAgainDropsTheOldConnectionFirst)
{
    PeerServer first;
    PeerServer second;
    ASSERT_TRUE(first.listening && second.listening);
    TcpTransport transport;
    Recorder recorder(transport);
    transport.connectToHost(QStringLiteral("127.0.0.1"), first.port());
    ASSERT_TRUE(first.waitForPeer());
    ASSERT_TRUE(waitForState(transport, SocketState::Connected));

    transport.connectToHost(QStringLiteral("127.0.0.1"), second.port());
    EXPECT_EQ(transport.state(), SocketState::Connecting);
    ASSERT_TRUE(first.waitForPeerGone(0));
    ASSERT_TRUE(second.waitForPeer());
    ASSERT_TRUE(waitForState(transport, SocketState::Connected));

    transport.send("hello second\r\n");
    ASSERT_TRUE(second.waitForBytes(0, 14));
    EXPECT_EQ(second.received[0], QByteArray("hello second\r\n"));
    EXPECT_TRUE(first.received[0].isEmpty());
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"connected", "connected"}));
}

TEST(TcpTransport, EveryByteValueCrossesUnchanged)
{
    PeerServer peer;
    ASSERT_TRUE(peer.listening);
    TcpTransport transport;
    Recorder recorder(transport);
    transport.connectToHost(QStringLiteral("127.0.0.1"), peer.port());
    ASSERT_TRUE(peer.waitForPeer());
    ASSERT_TRUE(waitForState(transport, SocketState::Connected));

    QByteArray block;
    for (int round = 0; round < 2048; ++round)
        for (int value = 0; value < 256; ++value)
            block += char((value + round) & 0xFF);

    transport.send(block);
    ASSERT_TRUE(peer.waitForBytes(0, block.size()));
    EXPECT_EQ(peer.received[0], block);

    peer.peers[0]->write(block);
    ASSERT_TRUE(waitUntil([&] { return recorder.bytes.size() >= block.size(); }, Wait));
    EXPECT_EQ(recorder.bytes, block);
    EXPECT_GT(recorder.count("received"), 0);
}

TEST(TcpTransport, BytesSentBeforeTheConnectionAreDropped)
{
    PeerServer peer;
    ASSERT_TRUE(peer.listening);
    TcpTransport transport;
    transport.send("while closed\r\n");
    transport.connectToHost(QStringLiteral("127.0.0.1"), peer.port());
    transport.send("while connecting\r\n");
    ASSERT_TRUE(peer.waitForPeer());
    ASSERT_TRUE(waitForState(transport, SocketState::Connected));

    transport.send("connected\r\n");
    ASSERT_TRUE(peer.waitForBytes(0, 11));
    EXPECT_EQ(peer.received[0], QByteArray("connected\r\n"));
}

TEST(TcpTransport, LocalhostIsReachedOverIPv4)
{
    PeerServer peer(QHostAddress::Any); // both families where the machine has IPv6
    ASSERT_TRUE(peer.listening);
    TcpTransport transport;
    transport.connectToHost(QStringLiteral("localhost"), peer.port());
    ASSERT_TRUE(peer.waitForPeer());
    ASSERT_TRUE(waitForState(transport, SocketState::Connected));

    bool isV4 = false;
    peer.peers[0]->peerAddress().toIPv4Address(&isV4);
    EXPECT_TRUE(isV4) << peer.peers[0]->peerAddress().toString().toStdString();
    EXPECT_EQ(transport.localIP(), QStringLiteral("127.0.0.1"));
}

TEST(TcpTransport, LocalIPWithoutConnectionIsAMachineAddress)
{
    QStringList machineV4;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : interfaces) {
        if (!iface.flags().testFlag(QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.ip().isLoopback())
                machineV4 << entry.ip().toString();
    }

    TcpTransport transport;
    const QString ip = transport.localIP();
    QHostAddress parsed;
    ASSERT_TRUE(parsed.setAddress(ip)) << ip.toStdString();
    EXPECT_EQ(parsed.protocol(), QAbstractSocket::IPv4Protocol);
    if (machineV4.isEmpty())
        EXPECT_EQ(ip, QStringLiteral("127.0.0.1"));
    else
        EXPECT_TRUE(machineV4.contains(ip))
            << ip.toStdString() << " not in " << machineV4.join(' ').toStdString();
}

TEST(TcpTransport, AnIPv6AddressIsNeverDialled)
{
    PeerServer peer(QHostAddress::Any);
    ASSERT_TRUE(peer.listening);
    TcpTransport transport;
    Recorder recorder(transport);
    transport.connectToHost(QStringLiteral("::1"), peer.port());
    ASSERT_TRUE(waitUntil([&] { return transport.state() != SocketState::Connecting; }, Wait));

    EXPECT_EQ(transport.state(), SocketState::Error);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"failed"});
    QCoreApplication::processEvents();
    EXPECT_TRUE(peer.peers.empty());
}
