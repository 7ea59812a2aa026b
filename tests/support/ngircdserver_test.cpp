#include "ngircdserver.h"

#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

// The e2e tests use the server helper on every run; two pitfalls they would not
// notice are kept here: ngIRCd must never run as root, and stop() ends that
// very process (by PID), not just any ngircd.
TEST(NgircdServer, NeverRunsAsRootAndStopsItsOwnPid)
{
    NgircdServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    const qint64 pid = server.pid();
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    QByteArray uids;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("Uid:"))
            uids = line.simplified();
    ASSERT_FALSE(uids.isEmpty());
    EXPECT_FALSE(uids.contains(" 0")) << uids.toStdString();
    if (::geteuid() != 0)
        EXPECT_EQ(uids, QStringLiteral("Uid: %1 %1 %1 %1").arg(::geteuid()).toLatin1());

    server.stop();
    EXPECT_FALSE(server.isRunning());
    EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/%1").arg(pid)));
}
