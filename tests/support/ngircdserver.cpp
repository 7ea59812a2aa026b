#include "ngircdserver.h"

#include "eventwait.h"
#include "rawircclient.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int StartAttempts = 3;

QString ngircdProgram()
{
    const QString found = QStandardPaths::findExecutable(
        QStringLiteral("ngircd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    return found.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("ngircd")) : found;
}

// ngIRCd refuses to run as root. When the tests run as root the server is
// started as nobody:nogroup straight away, and its files live in a folder that
// user owns.
struct RunAs {
    bool drop = false;
    uid_t uid = 0;
    gid_t gid = 0;
};

RunAs unprivilegedUser()
{
    RunAs runAs;
    if (::geteuid() != 0)
        return runAs;
    const passwd* user = ::getpwnam("nobody");
    const group* grp = ::getgrnam("nogroup");
    if (!user)
        return runAs;
    runAs.drop = true;
    runAs.uid = user->pw_uid;
    runAs.gid = grp ? grp->gr_gid : user->pw_gid;
    return runAs;
}

} // namespace

NgircdServer::NgircdServer() : m_port(freePort()) {}

NgircdServer::~NgircdServer()
{
    stop();
}

quint16 NgircdServer::freePort()
{
    static QSet<quint16> handedOut;
    for (;;) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return 0;
        const quint16 port = probe.serverPort();
        probe.close();
        if (!handedOut.contains(port)) {
            handedOut.insert(port);
            return port;
        }
    }
}

void NgircdServer::setFloodPenalties(bool on)
{
    m_penalties = on;
}

void NgircdServer::linkTo(NgircdServer& peer)
{
    const QString mine = QStringLiteral("link%1to%2").arg(m_port).arg(peer.m_port);
    const QString theirs = QStringLiteral("link%1to%2").arg(peer.m_port).arg(m_port);
    m_links.append({peer.name(), peer.m_port, mine, theirs, true});
    peer.m_links.append({name(), m_port, theirs, mine, false});
}

QString NgircdServer::name() const
{
    return QStringLiteral("irc%1.zen.test").arg(m_port);
}

qint64 NgircdServer::pid() const
{
    return isRunning() ? m_process->processId() : 0;
}

QString NgircdServer::configPath() const
{
    return m_dir ? m_dir->filePath(QStringLiteral("ngircd.conf")) : QString();
}

QByteArray NgircdServer::output() const
{
    const_cast<NgircdServer*>(this)->collectOutput();
    return m_output;
}

bool NgircdServer::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

bool NgircdServer::writeConfig()
{
    if (!m_dir) {
        m_dir = std::make_unique<QTemporaryDir>();
        if (!m_dir->isValid()) {
            m_error = QStringLiteral("cannot create a temporary folder: ") + m_dir->errorString();
            m_dir.reset();
            return false;
        }
        const RunAs runAs = unprivilegedUser();
        if (runAs.drop && ::chown(QFile::encodeName(m_dir->path()).constData(), runAs.uid, runAs.gid) != 0) {
            m_error = QStringLiteral("cannot hand the server folder to nobody");
            return false;
        }
    }

    QByteArray conf;
    auto line = [&conf](const QString& text) { conf += text.toUtf8() + '\n'; };
    line(QStringLiteral("[Global]"));
    line(QStringLiteral("Name = ") + name());
    line(QStringLiteral("Info = ZenLobby test server"));
    line(QStringLiteral("AdminInfo1 = ZenLobby tests"));
    line(QStringLiteral("AdminInfo2 = loopback only"));
    line(QStringLiteral("AdminEMail = tests@zen.test"));
    line(QStringLiteral("Listen = 127.0.0.1"));
    line(QStringLiteral("Ports = %1").arg(m_port));
    line(QStringLiteral("MotdPhrase = ZenLobby test server on port %1").arg(m_port));
    line(QStringLiteral("PidFile = ") + m_dir->filePath(QStringLiteral("ngircd.pid")));
    if (unprivilegedUser().drop) {
        line(QStringLiteral("ServerUID = nobody"));
        line(QStringLiteral("ServerGID = nogroup"));
    }
    line(QStringLiteral("[Limits]"));
    line(QStringLiteral("MaxConnectionsIP = 0"));
    line(QStringLiteral("MaxNickLength = 28"));
    line(QStringLiteral("ConnectRetry = 5")); // the smallest value ngIRCd accepts
    if (!m_penalties)
        line(QStringLiteral("MaxPenaltyTime = 0"));
    line(QStringLiteral("[Options]"));
    line(QStringLiteral("DNS = no"));
    line(QStringLiteral("Ident = no"));
    line(QStringLiteral("PAM = no"));
    line(QStringLiteral("ConnectIPv6 = no"));
    for (const Link& link : m_links) {
        line(QStringLiteral("[Server]"));
        line(QStringLiteral("Name = ") + link.name);
        line(QStringLiteral("Host = 127.0.0.1"));
        if (link.dial)
            line(QStringLiteral("Port = %1").arg(link.port));
        line(QStringLiteral("MyPassword = ") + link.myPassword);
        line(QStringLiteral("PeerPassword = ") + link.peerPassword);
    }

    QFile file(configPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(conf) != conf.size()) {
        m_error = QStringLiteral("cannot write ") + configPath();
        return false;
    }
    file.close();
    // A PID file left by a server that was killed would make the next one complain.
    QFile::remove(m_dir->filePath(QStringLiteral("ngircd.pid")));
    return true;
}

bool NgircdServer::start(int timeoutMs)
{
    return startOn(timeoutMs, !m_started);
}

bool NgircdServer::startOn(int timeoutMs, bool mayMove)
{
    if (isRunning())
        return true;
    const QDeadlineTimer deadline(timeoutMs);
    for (int attempt = 1;; ++attempt) {
        if (launch(int(deadline.remainingTime()))) {
            m_started = true;
            return true;
        }
        // Another program may have taken the port between freePort() and the
        // server's bind. A linked server's port is written into its peer's
        // configuration, and clients know the port of a server that ran
        // before, so only a new, unlinked server can move to another one.
        const bool exited = !isRunning();
        stop();
        if (!exited || !mayMove || !m_links.isEmpty() || attempt == StartAttempts || deadline.hasExpired())
            return false;
        m_port = freePort();
    }
}

bool NgircdServer::launch(int timeoutMs)
{
    m_error.clear();
    m_output.clear();
    const QString program = ngircdProgram();
    if (program.isEmpty()) {
        m_error = QStringLiteral("ngircd is not installed");
        return false;
    }
    if (!writeConfig())
        return false;

    m_process = std::make_unique<QProcess>();
    m_process->setProgram(program);
    m_process->setArguments({QStringLiteral("-n"), QStringLiteral("-f"), configPath()});
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    const RunAs runAs = unprivilegedUser();
    const pid_t parent = ::getpid();
    m_process->setChildProcessModifier([runAs, parent] {
        // Runs in the child between fork and exec: async-signal-safe calls only.
        if (runAs.drop) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(runAs.gid) != 0 || ::setuid(runAs.uid) != 0)
                ::_exit(126);
        }
        // The server goes when the test process goes, even if it crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(0);
    });
    m_process->start();
    if (!m_process->waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("cannot start %1: %2").arg(program, m_process->errorString());
        return false;
    }

    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && isRunning()) {
        if (answersOnPort(int(deadline.remainingTime())))
            return true;
        // Not listening yet: try again once the server has logged more, or soon.
        const qint64 seen = m_process->bytesAvailable();
        waitUntil([&] { return !isRunning() || m_process->bytesAvailable() > seen; },
                  int(qMin<qint64>(20, deadline.remainingTime())));
    }
    collectOutput();
    m_error = isRunning() ? QStringLiteral("ngircd did not listen on port %1 in time").arg(m_port)
                          : QStringLiteral("ngircd exited (code %1)").arg(m_process->exitCode());
    m_error += QStringLiteral("; its output:\n") + QString::fromLocal8Bit(m_output);
    return false;
}

bool NgircdServer::answersOnPort(int timeoutMs)
{
    // Something else may hold the port (then this server is about to exit), so
    // a connection is not enough: the answer must come from this server.
    QTcpSocket probe;
    const QByteArray prefix = ':' + name().toLatin1() + ' ';
    bool failed = false;
    QObject::connect(&probe, &QTcpSocket::errorOccurred, [&failed] { failed = true; });
    QObject::connect(&probe, &QTcpSocket::connected, [&probe] { probe.write("PING :ready\r\n"); });
    probe.connectToHost(QHostAddress::LocalHost, m_port);
    const bool answered = waitUntil([&] { return probe.canReadLine() || failed || !isRunning(); }, timeoutMs);
    const bool ours = answered && probe.canReadLine() && probe.readLine().startsWith(prefix);
    probe.abort();
    return ours;
}

void NgircdServer::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate(); // SIGTERM to the server's PID
        if (!m_process->waitForFinished(5000)) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }
    collectOutput();
    m_process.reset();
}

bool NgircdServer::restart(int timeoutMs)
{
    stop();
    return startOn(timeoutMs, false);
}

void NgircdServer::collectOutput()
{
    if (m_process)
        m_output += m_process->readAll();
}

bool NgircdServer::waitForLink(const NgircdServer& peer, int timeoutMs) const
{
    // A client on each server joins one channel. When the servers link, each
    // tells the other its channel members, and the client here sees the one
    // over there join: no polling needed.
    static int probes = 0;
    const int probe = ++probes;
    const QDeadlineTimer deadline(timeoutMs);
    const QString channel = QStringLiteral("#zenlink%1").arg(probe);
    const QString hereNick = QStringLiteral("zl%1a%2").arg(probe).arg(m_port);
    const QString thereNick = QStringLiteral("zl%1b%2").arg(probe).arg(peer.m_port);
    RawIrcClient here;
    RawIrcClient there;
    if (!here.connectTo(host(), m_port, int(deadline.remainingTime())) ||
        !here.registerAs(hereNick, int(deadline.remainingTime())) ||
        !here.join(channel, int(deadline.remainingTime())))
        return false;
    if (!there.connectTo(peer.host(), peer.m_port, int(deadline.remainingTime())) ||
        !there.registerAs(thereNick, int(deadline.remainingTime())) ||
        !there.join(channel, int(deadline.remainingTime())))
        return false;
    const QByteArray joined = ':' + thereNick.toLatin1() + '!';
    const auto seen = here.waitForLine(
        [&](const QByteArray& line) {
            return line.startsWith(joined) && RawIrcClient::commandOf(line) == "JOIN";
        },
        int(deadline.remainingTime()));
    return seen.has_value();
}
