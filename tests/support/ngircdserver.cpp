#include "ngircdserver.h"

#include "eventwait.h"

#include <QFile>
#include <QHostAddress>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

quint16 NgircdServer::freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
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

QByteArray NgircdServer::config(const QByteArray& base, bool withLinks) const
{
    // The shipped values of these go: ngIRCd keeps the first Listen it reads.
    static const QRegularExpression ours(
        QStringLiteral(R"(^\s*(Name|Listen|Ports|PidFile|ServerUID|ServerGID|MaxNickLength)\s*=.*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    return QString::fromUtf8(base).remove(ours).toUtf8() +
           QStringLiteral("[Global]\n\tName = %1\n\tListen = 127.0.0.1\n\tPorts = %2\n\tPidFile =\n"
                          "[Limits]\n\tMaxNickLength = %3\n%4")
               .arg(name())
               .arg(m_port)
               .arg(m_maxNickLength)
               .arg(m_penalties ? "" : "\tMaxPenaltyTime = 0\n")
               .toUtf8() +
           (withLinks ? m_servers : QByteArray());
}

bool NgircdServer::writeConfig(bool withLinks)
{
    // Every test server runs from the configuration the project ships.
    QFile shipped(QStringLiteral(ZEN_SOURCE_DIR "/server/ngircd.conf"));
    QFile file(m_dir.filePath(QStringLiteral("ngircd.conf")));
    if (!shipped.open(QIODevice::ReadOnly) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(config(shipped.readAll(), withLinks)) < 0) {
        m_error = "cannot copy " + shipped.fileName() + " to " + file.fileName();
        return false;
    }
    return true;
}

bool NgircdServer::waitForOutput(const QByteArray& text, int timeoutMs)
{
    return waitUntil([&] { return !isRunning() || m_process->peek(1 << 20).contains(text); }, timeoutMs) &&
           isRunning();
}

bool NgircdServer::fillTable(int timeoutMs)
{
    // The operators' script does it, for a server it did not start given its PID.
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("bash"),
                 {QStringLiteral(ZEN_SOURCE_DIR "/scripts/network.sh"), QStringLiteral("fill"),
                  QString::number(m_port), QString::number(m_process->processId())});
    if (waitUntil([&] { return script.state() == QProcess::NotRunning; }, timeoutMs) &&
        script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0)
        return true;
    m_error = QStringLiteral("its table was not filled: ") + QString::fromLocal8Bit(script.readAll());
    return false;
}

bool NgircdServer::start(int timeoutMs)
{
    const bool fillFirst = m_fileLimit > 0 && !m_servers.isEmpty();
    if (!writeConfig(!fillFirst))
        return false;
    // ngIRCd must not run as root: when the tests do, it runs as nobody, who must reach its file.
    const passwd* user = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
    QFile::setPermissions(m_dir.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
    if (user)
        QFile::setPermissions(m_dir.filePath(QStringLiteral("ngircd.conf")),
                              QFile::ReadOwner | QFile::WriteOwner |
                                  QFile::ReadOther); // read again on SIGHUP

    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    const uid_t uid = user ? user->pw_uid : 0;
    const gid_t gid = user ? user->pw_gid : 0;
    const rlimit files{rlim_t(m_fileLimit), rlim_t(m_fileLimit)};
    m_process->setChildProcessModifier([uid, gid, files] {
        // Between fork and exec: async-signal-safe calls only.
        if (files.rlim_cur > 0 && ::setrlimit(RLIMIT_NOFILE, &files) != 0)
            ::_exit(125);
        if (uid != 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(126);
        // The server goes when the test process goes, even if it crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    const QString program = QStandardPaths::findExecutable(
        QStringLiteral("ngircd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    m_process->start(
        program, {QStringLiteral("-n"), QStringLiteral("-f"), m_dir.filePath(QStringLiteral("ngircd.conf"))});
    // It logs this once its port is bound, and exits when it cannot bind it.
    const QByteArray listening = "Now listening on [127.0.0.1]:" + QByteArray::number(m_port) + ' ';
    if (!waitForOutput(listening, timeoutMs)) {
        m_error = QStringLiteral("ngircd (%1) did not listen on port %2; its output:\n")
                      .arg(program, QString::number(m_port)) +
                  QString::fromLocal8Bit(m_process->readAll());
        stop();
        return false;
    }
    if (!fillFirst)
        return true;
    // Filling logs a line for every connection: what came before is known.
    m_process->readAll();
    if (fillTable(timeoutMs) && writeConfig(true)) {
        signal(SIGHUP); // it reads its config again, links and keeps its table
        if (waitForOutput("Re-reading of configuration done", timeoutMs))
            return true;
        m_error = QStringLiteral("ngircd did not read its config again; its output:\n") +
                  QString::fromLocal8Bit(m_process->readAll().right(2000));
    }
    stop();
    return false;
}

void NgircdServer::signal(int number) const
{
    if (isRunning())
        ::kill(pid_t(m_process->processId()), number);
}

void NgircdServer::stop()
{
    if (isRunning()) {
        signal(SIGCONT);        // a stopped server takes no SIGTERM
        m_process->terminate(); // SIGTERM to the server's PID
        m_process->waitForFinished(5000);
    }
    m_process.reset(); // kills it by its PID if it is still there, and waits
}
