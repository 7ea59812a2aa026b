#include "ngircdserver.h"

#include "eventwait.h"
#include "rawircclient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

bool accepts(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    return socket.waitForConnected(2000);
}

bool processExists(qint64 pid)
{
    return QFile::exists(QStringLiteral("/proc/%1").arg(pid));
}

// The "Uid:" line of /proc/<pid>/status: real, effective, saved, filesystem.
QByteArray uidLine(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("Uid:"))
            return line.simplified();
    return {};
}

QByteArray readConfig(const NgircdServer& server)
{
    QFile file(server.configPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(NgircdServer, StartsOnLoopbackAndStopsByPid)
{
    NgircdServer server;
    ASSERT_NE(server.port(), 0);
    EXPECT_FALSE(accepts(server.port()));
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    EXPECT_TRUE(server.isRunning());
    const qint64 pid = server.pid();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(accepts(server.port()));
    EXPECT_EQ(server.name(), QStringLiteral("irc%1.zen.test").arg(server.port()));

    const QByteArray conf = readConfig(server);
    EXPECT_TRUE(conf.contains("Listen = 127.0.0.1\n")) << conf.toStdString();
    EXPECT_TRUE(conf.contains(QStringLiteral("Ports = %1\n").arg(server.port()).toLatin1()));

    server.stop();
    EXPECT_FALSE(server.isRunning());
    EXPECT_EQ(server.pid(), 0);
    EXPECT_FALSE(processExists(pid));
    EXPECT_FALSE(accepts(server.port()));
    server.stop(); // a second stop is harmless
}

TEST(NgircdServer, NeverRunsAsRoot)
{
    NgircdServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    const QByteArray uids = uidLine(server.pid());
    ASSERT_FALSE(uids.isEmpty());
    if (::geteuid() == 0)
        EXPECT_FALSE(uids.contains(" 0")) << uids.toStdString();
    else
        EXPECT_EQ(uids, QStringLiteral("Uid: %1 %1 %1 %1").arg(::geteuid()).toLatin1());
}

TEST(NgircdServer, WelcomesWithItsOwnNameAndLongNicknames)
{
    NgircdServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    RawIrcClient client;
    ASSERT_TRUE(client.connectTo(server.port()));
    // 28 characters: a status code and a twenty-character name.
    ASSERT_TRUE(client.registerAs(QStringLiteral("MM_aaFFFAbcdefghijklmnopqrst")));
    EXPECT_TRUE(
        client.received().startsWith(":" + server.name().toLatin1() + " 001 MM_aaFFFAbcdefghijklmnopqrst "));
    ASSERT_TRUE(client.waitForCommand("376"));
    EXPECT_FALSE(client.received().contains(" 422 ")) << "the MOTD is there";
}

TEST(NgircdServer, RestartKeepsThePort)
{
    NgircdServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    const quint16 port = server.port();
    const qint64 firstPid = server.pid();
    RawIrcClient client;
    ASSERT_TRUE(client.connectTo(port));
    ASSERT_TRUE(client.registerAs(QStringLiteral("MM_aaFFFStays")));

    ASSERT_TRUE(server.restart()) << server.errorString().toStdString();
    EXPECT_EQ(server.port(), port);
    EXPECT_NE(server.pid(), firstPid);
    EXPECT_TRUE(client.waitForDisconnected());
    RawIrcClient again;
    ASSERT_TRUE(again.connectTo(port));
    EXPECT_TRUE(again.registerAs(QStringLiteral("MM_aaFFFStays")));
}

TEST(NgircdServer, ServersInOneProcessGetTheirOwnPorts)
{
    NgircdServer first;
    NgircdServer second;
    EXPECT_NE(first.port(), second.port());
    ASSERT_TRUE(first.start()) << first.errorString().toStdString();
    ASSERT_TRUE(second.start()) << second.errorString().toStdString();
    EXPECT_NE(first.pid(), second.pid());
}

TEST(NgircdServer, DestructorStopsTheServer)
{
    qint64 pid = 0;
    quint16 port = 0;
    {
        NgircdServer server;
        ASSERT_TRUE(server.start()) << server.errorString().toStdString();
        pid = server.pid();
        port = server.port();
    }
    EXPECT_FALSE(processExists(pid));
    EXPECT_FALSE(accepts(port));
}

TEST(NgircdServer, MovesToAnotherPortWhenItsPortIsTaken)
{
    NgircdServer server;
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, server.port()));
    const quint16 taken = server.port();

    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    EXPECT_NE(server.port(), taken);
    EXPECT_TRUE(accepts(server.port()));
    EXPECT_TRUE(readConfig(server).contains(QStringLiteral("Ports = %1\n").arg(server.port()).toLatin1()));
}

TEST(NgircdServer, LinkedServerWithATakenPortFailsWithTheReason)
{
    NgircdServer server;
    NgircdServer peer;
    server.linkTo(peer); // its port is in the peer's configuration: it cannot move
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, server.port()));

    EXPECT_FALSE(server.start(5000));
    EXPECT_FALSE(server.isRunning());
    EXPECT_TRUE(server.errorString().contains(QStringLiteral("ngircd exited")))
        << server.errorString().toStdString();
    EXPECT_TRUE(server.output().contains("Address already in use")) << server.output().toStdString();
}

// Lines a client sends quickly: ngIRCd's flood penalties hold them back,
// unless they are switched off.
TEST(NgircdServer, FloodPenaltiesCanBeSwitchedOff)
{
    struct Case {
        bool penalties;
        bool slow;
    };
    for (const Case c : {Case{false, false}, Case{true, true}}) {
        NgircdServer server;
        server.setFloodPenalties(c.penalties);
        ASSERT_TRUE(server.start()) << server.errorString().toStdString();
        RawIrcClient client;
        ASSERT_TRUE(client.connectTo(server.port()));
        ASSERT_TRUE(client.registerAs(QStringLiteral("MM_aaFFFFlood")));
        ASSERT_TRUE(client.waitForCommand("376"));

        QElapsedTimer clock;
        clock.start();
        QByteArray burst;
        for (int i = 0; i < 8; ++i)
            burst += "PING :burst" + QByteArray::number(i) + "\r\n";
        client.sendRaw(burst);
        ASSERT_TRUE(client.waitForLineContaining(":burst7", 20000)) << "penalties " << c.penalties;
        // Penalties cost about a second per line past the first few.
        EXPECT_EQ(clock.elapsed() > 1500, c.slow)
            << "penalties " << c.penalties << ": " << clock.elapsed() << " ms";
    }
}

TEST(NgircdServer, LinkedServersCarryChannelTraffic)
{
    NgircdServer hub;
    NgircdServer leaf;
    leaf.linkTo(hub);
    ASSERT_TRUE(hub.start()) << hub.errorString().toStdString();
    ASSERT_TRUE(leaf.start()) << leaf.errorString().toStdString();
    ASSERT_TRUE(leaf.waitForLink(hub));
    ASSERT_TRUE(hub.waitForLink(leaf));

    RawIrcClient ann;
    RawIrcClient bob;
    ASSERT_TRUE(ann.connectTo(hub.port()));
    ASSERT_TRUE(bob.connectTo(leaf.port()));
    ASSERT_TRUE(ann.registerAs(QStringLiteral("MM_aa000Ann")));
    ASSERT_TRUE(bob.registerAs(QStringLiteral("MM_aa001Bob")));
    ASSERT_TRUE(ann.join(QStringLiteral("#ZentharaNET_0")));
    ASSERT_TRUE(bob.join(QStringLiteral("#ZentharaNET_0")));
    ASSERT_TRUE(ann.waitForLine([](const QByteArray& line) {
        return line.startsWith(":MM_aa001Bob!") && line.endsWith(" JOIN :#ZentharaNET_0");
    }));

    bob.sendLine("PRIVMSG #ZentharaNET_0 :across the link");
    const auto said = ann.waitForCommand("PRIVMSG");
    ASSERT_TRUE(said);
    EXPECT_TRUE(said->endsWith(" PRIVMSG #ZentharaNET_0 :across the link")) << said->toStdString();

    // Both ends have one network: a nickname taken on one is taken on the other.
    RawIrcClient twin;
    ASSERT_TRUE(twin.connectTo(hub.port()));
    EXPECT_FALSE(twin.registerAs(QStringLiteral("MM_aa001Bob")));
    EXPECT_TRUE(twin.received().contains(" 433 ")) << twin.received().toStdString();
}

TEST(NgircdServer, RestartNeverMovesToAnotherPort)
{
    NgircdServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    const quint16 port = server.port();
    server.stop();
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, port));

    EXPECT_FALSE(server.restart(5000));
    EXPECT_EQ(server.port(), port);
    squatter.close();
    ASSERT_TRUE(server.restart()) << server.errorString().toStdString();
    EXPECT_EQ(server.port(), port);
}
