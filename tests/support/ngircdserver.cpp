#include "ngircdserver.h"

#include "eventwait.h"

#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTcpServer>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const char TestConfig[] = R"([Global]
	Info = ZenLobby test server
	MotdPhrase = ZenLobby test server
	Listen = 127.0.0.1
[Limits]
	MaxConnectionsIP = 0
	ConnectRetry = 5
[Options]
	DNS = no
	Ident = no
	PAM = no
	ConnectIPv6 = no
)";

} // namespace

quint16 NgircdServer::freePort()
{
    static QSet<quint16> handedOut;
    for (;;) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return 0;
        if (!handedOut.contains(probe.serverPort())) {
            handedOut.insert(probe.serverPort());
            return probe.serverPort();
        }
    }
}

void NgircdServer::linkTo(NgircdServer& peer)
{
    auto section = [](const NgircdServer& other, const QByteArray& port) {
        return "[Server]\n\tName = " + other.name().toLatin1() +
               "\n\tHost = 127.0.0.1\n\tMyPassword = zenlink\n\tPeerPassword = zenlink\n" + port;
    };
    m_servers += section(peer, "\tPort = " + QByteArray::number(peer.m_port) + '\n');
    peer.m_servers += section(*this, {});
}

bool NgircdServer::start(int timeoutMs)
{
    for (int attempt = 1;; ++attempt) {
        if (launch(timeoutMs))
            return m_started = true;
        // Clients know the port of a server that ran before, and its peer's
        // configuration names it: only a new, unlinked server may move.
        const bool portTaken = m_log.contains("Can't bind");
        stop();
        if (!portTaken || m_started || !m_servers.isEmpty() || attempt == 3)
            return false;
        m_port = freePort();
    }
}

bool NgircdServer::launch(int timeoutMs)
{
    // Settings read later win, but for Listen: the first one counts.
    const QByteArray config = (m_base.isEmpty() ? QByteArray(TestConfig) : m_base) +
                              "[Global]\n\tName = " + name().toLatin1() +
                              "\n\tPorts = " + QByteArray::number(m_port) + "\n\tPidFile =\n" +
                              (::geteuid() == 0 ? "\tServerUID = nobody\n\tServerGID = nogroup\n" : "") +
                              "[Limits]\n\tMaxNickLength = " + QByteArray::number(m_maxNickLength) +
                              "\n\tMaxPenaltyTime = " + (m_penalties ? "-1" : "0") + '\n' + m_servers;
    const QString path = m_dir.filePath(QStringLiteral("ngircd.conf"));
    QFile file(path);
    const QString program =
        QStandardPaths::findExecutable(QStringLiteral("ngircd"), {"/usr/sbin", "/usr/local/sbin"});
    if (program.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(config) != config.size()) {
        m_error = QStringLiteral("ngircd is not installed, or cannot write ") + path;
        return false;
    }
    file.close();

    m_log.clear();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    QProcess* process = m_process.get();
    QObject::connect(process, &QProcess::readyRead, process,
                     [this, process] { m_log += process->readAll(); });
    // The server goes with the test process, even if that crashes.
    m_process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_process->start(program, {QStringLiteral("-n"), QStringLiteral("-f"), path});
    // ngIRCd says it is ready once it listens, and exits when it cannot.
    const QByteArray ready = "Server \"" + name().toLatin1() + "\" (on ";
    if (waitUntil([&] { return m_log.contains(ready) || m_process->state() == QProcess::NotRunning; },
                  timeoutMs) &&
        m_process->state() != QProcess::NotRunning)
        return true;
    m_error =
        QStringLiteral("ngircd on port %1 did not get ready:\n").arg(m_port) + QString::fromLocal8Bit(m_log);
    return false;
}

void NgircdServer::stop()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->terminate(); // SIGTERM, then SIGKILL, to the server's PID only
        if (!m_process->waitForFinished(5000)) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }
    m_process.reset();
}

bool NgircdServer::waitForLink(const NgircdServer& peer, int timeoutMs) const
{
    // Each log starts with its server's start, so a relink is not mistaken for the link before.
    auto synced = [](const NgircdServer& a, const NgircdServer& b) {
        return a.m_log.contains("Synchronization with \"" + b.name().toLatin1() + "\" done");
    };
    return waitUntil([&] { return synced(*this, peer) && synced(peer, *this); }, timeoutMs);
}
