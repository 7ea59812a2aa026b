#include "serverrestart.h"

ServerRestart::ServerRestart(const SimServer& server, int number, QObject* parent)
    : QObject(parent), m_server(server), m_number(number)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ServerRestart::run);
    m_script.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_script, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && code == 0)
            m_backAfterMs = m_restart.elapsed();
        else
            m_error =
                QStringLiteral("network.sh failed: ") + QString::fromLocal8Bit(m_script.readAll()).trimmed();
    });
    connect(&m_script, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            m_error = QStringLiteral("cannot run bash: ") + m_script.errorString();
    });
}

void ServerRestart::schedule(int atMs)
{
    m_run.start();
    m_timer.start(atMs);
}

void ServerRestart::run()
{
    m_atMs = m_run.elapsed();
    m_restart.start();
    // The script finds the server by its port among the ones it started.
    m_script.start(QStringLiteral("bash"), {QStringLiteral(ZEN_NETWORK_SCRIPT), QStringLiteral("restart"),
                                            QString::number(m_server.port)});
}

QString ServerRestart::summaryLine() const
{
    QString line = QStringLiteral("  restarted      server %1 (%2)").arg(m_number).arg(m_server.address());
    if (m_atMs < 0)
        return line + QStringLiteral(": not yet\n");
    line += QStringLiteral(" at %1 s").arg(m_atMs / 1000.0, 0, 'f', 1);
    if (!m_error.isEmpty())
        return line + QStringLiteral(": ") + m_error + u'\n';
    if (m_backAfterMs < 0)
        return line + QStringLiteral(", not back yet\n");
    return line + QStringLiteral(", back in %1 s\n").arg(m_backAfterMs / 1000.0, 0, 'f', 1);
}
