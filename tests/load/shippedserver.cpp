#include "shippedserver.h"

#include "eventwait.h"
#include "ngircdserver.h"
#include "rawircclient.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

QString shippedPath()
{
    return QStringLiteral(ZEN_SOURCE_DIR "/server/ngircd.conf");
}

QByteArray keyOf(const QByteArray& line)
{
    const qsizetype eq = line.indexOf('=');
    return eq < 0 ? QByteArray() : line.left(eq).trimmed().toLower();
}

} // namespace

ShippedServer::ShippedServer(Penalties penalties) : m_penalties(penalties), m_port(NgircdServer::freePort())
{
}

ShippedServer::~ShippedServer()
{
    stop();
}

QByteArray ShippedServer::configFor(const QByteArray& shipped, quint16 port, Penalties penalties)
{
    QByteArray out;
    QByteArray section;
    for (const QByteArray& raw : shipped.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            section = line.toLower();
            out += raw + '\n';
            if (section == "[limits]" && penalties == Penalties::Off)
                out += "\tMaxPenaltyTime = 0\n";
            continue;
        }
        const QByteArray key = keyOf(line);
        if (line.startsWith('#') || line.startsWith(';') || key.isEmpty()) {
            out += raw + '\n';
        } else if (key == "ports") {
            out += "\tPorts = " + QByteArray::number(port) + '\n';
        } else if (key == "listen") {
            out += "\tListen = 127.0.0.1\n"; // never anywhere else, whatever the file says
        } else if (key == "pidfile") {
            out += "\tPidFile =\n";
        } else if (key != "maxpenaltytime") {
            out += raw + '\n';
        }
    }
    return out;
}

bool ShippedServer::start(int timeoutMs)
{
    QFile shipped(shippedPath());
    if (!shipped.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read ") + shippedPath();
        return false;
    }
    m_config = configFor(shipped.readAll(), m_port, m_penalties);
    const QString path = m_dir.filePath(QStringLiteral("ngircd.conf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_config) != m_config.size()) {
        m_error = QStringLiteral("cannot write ") + path;
        return false;
    }
    file.close();

    const QString program = QStandardPaths::findExecutable(
        QStringLiteral("ngircd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    if (program.isEmpty()) {
        m_error = QStringLiteral("ngircd is not installed");
        return false;
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(program);
    m_process->setArguments({QStringLiteral("-n"), QStringLiteral("-f"), path});
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    const pid_t parent = ::getpid();
    m_process->setChildProcessModifier([parent] {
        // The server goes when the test goes, even if it crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(0);
    });
    m_process->start();
    if (!m_process->waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("cannot start ngircd: ") + m_process->errorString();
        return false;
    }
    if (answers(timeoutMs))
        return true;
    m_error = QStringLiteral("ngircd did not answer on port %1; its output:\n%2")
                  .arg(m_port)
                  .arg(QString::fromLocal8Bit(m_process->readAll()));
    stop();
    return false;
}

bool ShippedServer::answers(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && m_process->state() == QProcess::Running) {
        RawIrcClient probe;
        if (probe.connectTo(m_port, int(deadline.remainingTime()))) {
            // Any answer will do: only a server that has read its
            // configuration listens on this port.
            probe.sendLine("PING :ready");
            if (probe.waitForLine([](const QByteArray&) { return true; }, int(deadline.remainingTime())))
                return true;
        }
        // Not listening yet: try again once the server has logged more, or soon.
        const qint64 seen = m_process->bytesAvailable();
        waitUntil(
            [&] { return m_process->state() != QProcess::Running || m_process->bytesAvailable() > seen; },
            int(qMin<qint64>(50, deadline.remainingTime())));
    }
    return false;
}

void ShippedServer::stop()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_process->terminate(); // SIGTERM to the server's PID
    if (!m_process->waitForFinished(5000)) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}
