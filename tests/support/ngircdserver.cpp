#include "ngircdserver.h"

#include "eventwait.h"
#include "rawircclient.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QMap>
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

const char TestConfig[] = R"([Global]
	Info = ZenLobby test server
	AdminInfo1 = ZenLobby tests
	AdminInfo2 = loopback only
	AdminEMail = tests@zen.test
	MotdPhrase = ZenLobby test server
[Limits]
	MaxConnectionsIP = 0
	MaxNickLength = 28
	ConnectRetry = 5
[Options]
	DNS = no
	Ident = no
	PAM = no
	ConnectIPv6 = no
)";

// `base` with the settings of `own` ("[section]key" in lower case, as ngIRCd
// reads them) in place of its own of the same name; a null value only removes
// the base's setting.
QByteArray merged(const QByteArray& base, const QMap<QByteArray, QByteArray>& own)
{
    QByteArray out;
    QByteArray section;
    for (const QByteArray& raw : base.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            section = line.toLower();
            out += line + '\n';
            for (auto it = own.begin(); it != own.end(); ++it) {
                if (it.key().startsWith(section) && !it.value().isNull())
                    out += '\t' + it.key().mid(section.size()) + " = " + it.value() + '\n';
            }
        } else if (!own.contains(section + line.left(line.indexOf('=')).trimmed().toLower())) {
            out += raw + '\n';
        }
    }
    return out;
}

// ngIRCd must not run as root: when the tests do, the server is started as
// nobody:nogroup straight away, and its folder belongs to that user.
struct RunAs {
    bool drop = false;
    uid_t uid = 0;
    gid_t gid = 0;
};

RunAs unprivilegedUser()
{
    const passwd* user = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
    if (!user)
        return {};
    const group* grp = ::getgrnam("nogroup");
    return {true, user->pw_uid, grp ? grp->gr_gid : user->pw_gid};
}

} // namespace

NgircdServer::NgircdServer() : m_base(TestConfig), m_port(freePort())
{
    const RunAs runAs = unprivilegedUser();
    if (runAs.drop && ::chown(QFile::encodeName(m_dir.path()).constData(), runAs.uid, runAs.gid) != 0)
        qWarning("cannot hand the server folder to nobody");
}

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
        if (!handedOut.contains(probe.serverPort())) {
            handedOut.insert(probe.serverPort());
            return probe.serverPort();
        }
    }
}

void NgircdServer::linkTo(NgircdServer& peer)
{
    // One password serves both ways; only this side names the port to dial.
    const QByteArray password = "link" + QByteArray::number(m_port) + "to" + QByteArray::number(peer.m_port);
    auto section = [&password](const NgircdServer& other, const QByteArray& port) {
        return "[Server]\n\tName = " + other.name().toLatin1() + "\n\tHost = 127.0.0.1\n" + port +
               "\tMyPassword = " + password + "\n\tPeerPassword = " + password + '\n';
    };
    m_servers += section(peer, "\tPort = " + QByteArray::number(peer.m_port) + '\n');
    peer.m_servers += section(*this, QByteArray());
}

qint64 NgircdServer::pid() const
{
    return isRunning() ? m_process->processId() : 0;
}

bool NgircdServer::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

QByteArray NgircdServer::config() const
{
    const bool root = unprivilegedUser().drop;
    QMap<QByteArray, QByteArray> own{
        {"[global]name", name().toLatin1()},
        {"[global]listen", "127.0.0.1"}, // never anywhere else, whatever the base says
        {"[global]ports", QByteArray::number(m_port)},
        {"[global]pidfile", ""},
        {"[global]serveruid", root ? "nobody" : QByteArray()},
        {"[global]servergid", root ? "nogroup" : QByteArray()},
        {"[limits]maxpenaltytime", m_penalties ? QByteArray() : "0"}};
    if (m_maxNickLength > 0)
        own.insert("[limits]maxnicklength", QByteArray::number(m_maxNickLength));
    return merged(m_base, own) + m_servers;
}

bool NgircdServer::start(int timeoutMs)
{
    if (isRunning())
        return true;
    const QDeadlineTimer deadline(timeoutMs);
    for (int attempt = 1;; ++attempt) {
        if (launch(int(deadline.remainingTime())))
            return m_started = true;
        // Another program may have taken the port between freePort() and the
        // server's bind. A linked server's port is written into its peer's
        // configuration, and clients know the port of a server that ran
        // before, so only a new, unlinked server moves to another one.
        const bool exited = !isRunning();
        stop();
        if (!exited || m_started || !m_servers.isEmpty() || attempt == 3 || deadline.hasExpired())
            return false;
        m_port = freePort();
    }
}

bool NgircdServer::launch(int timeoutMs)
{
    const QString program = QStandardPaths::findExecutable(
        QStringLiteral("ngircd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    const QString path = m_dir.filePath(QStringLiteral("ngircd.conf"));
    QFile file(path);
    const QByteArray text = config();
    if (program.isEmpty() || !m_dir.isValid() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text) != text.size()) {
        m_error = program.isEmpty() ? QStringLiteral("ngircd is not installed")
                                    : QStringLiteral("cannot write ") + path;
        return false;
    }
    file.close();

    m_process = std::make_unique<QProcess>();
    m_process->setProgram(program);
    m_process->setArguments({QStringLiteral("-n"), QStringLiteral("-f"), path});
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    const RunAs runAs = unprivilegedUser();
    const pid_t parent = ::getpid();
    m_process->setChildProcessModifier([runAs, parent] {
        // Runs in the child between fork and exec: async-signal-safe calls only.
        if (runAs.drop &&
            (::setgroups(0, nullptr) != 0 || ::setgid(runAs.gid) != 0 || ::setuid(runAs.uid) != 0))
            ::_exit(126);
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
    m_error = (isRunning() ? QStringLiteral("ngircd did not listen on port %1 in time").arg(m_port)
                           : QStringLiteral("ngircd exited (code %1)").arg(m_process->exitCode())) +
              QStringLiteral("; its output:\n") + QString::fromLocal8Bit(m_process->readAll());
    return false;
}

bool NgircdServer::answersOnPort(int timeoutMs)
{
    // Something else may hold the port (then this server is about to exit), so
    // a connection is not enough: the answer must come from this server.
    QTcpSocket probe;
    bool failed = false;
    QObject::connect(&probe, &QTcpSocket::errorOccurred, [&failed] { failed = true; });
    QObject::connect(&probe, &QTcpSocket::connected, [&probe] { probe.write("PING :ready\r\n"); });
    probe.connectToHost(QHostAddress::LocalHost, m_port);
    waitUntil([&] { return probe.canReadLine() || failed || !isRunning(); }, timeoutMs);
    return probe.canReadLine() && probe.readLine().startsWith(':' + name().toLatin1() + ' ');
}

void NgircdServer::stop()
{
    if (isRunning()) {
        m_process->terminate(); // SIGTERM to the server's PID
        if (!m_process->waitForFinished(5000)) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }
    m_process.reset();
}

bool NgircdServer::waitForLink(const NgircdServer& peer, int timeoutMs) const
{
    // When the servers link, each tells the other its channel members, and the
    // client here sees the one over there join: no polling needed.
    static int probes = 0;
    const QString channel = QStringLiteral("#zenlink%1").arg(++probes);
    const QString thereNick = QStringLiteral("zl%1b%2").arg(probes).arg(peer.m_port);
    const QDeadlineTimer deadline(timeoutMs);
    const auto left = [&deadline] { return int(deadline.remainingTime()); };
    RawIrcClient here;
    RawIrcClient there;
    const bool joined = here.connectTo(m_port, left()) &&
                        here.registerAs(QStringLiteral("zl%1a%2").arg(probes).arg(m_port), left()) &&
                        here.join(channel, left()) && there.connectTo(peer.m_port, left()) &&
                        there.registerAs(thereNick, left()) && there.join(channel, left());
    const QByteArray prefix = ':' + thereNick.toLatin1() + '!';
    return joined && here.waitForLine(
                         [&](const QByteArray& line) {
                             return line.startsWith(prefix) && RawIrcClient::commandOf(line) == "JOIN";
                         },
                         left());
}
