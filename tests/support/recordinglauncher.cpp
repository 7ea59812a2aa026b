#include "recordinglauncher.h"

#include "eventwait.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>

#include <csignal>

namespace {

// Records its parent's PID and its arguments, each ended by a NUL byte; gives
// up holding after 30 s on its own, should a test die before release().
const char Script[] = R"(#!/bin/sh
d='@DIR@'
printf '%s\0' "$PPID" "$@" > "$d/runs/.$$" && mv "$d/runs/.$$" "$d/runs/$$"
n=0
while [ -e "$d/hold" ] && [ $n -lt 1500 ]; do sleep 0.02; n=$((n + 1)); done
: > "$d/ended/$$"
)";

} // namespace

RecordingLauncher::RecordingLauncher() : m_path(qgetenv("PATH"))
{
    for (const char* sub : {"runs", "ended", "marks"})
        QDir(m_dir.path()).mkdir(QString::fromLatin1(sub));
    QFile script(path(QStringLiteral("eaexec.exe")));
    const QByteArray text = QByteArray(Script).replace("@DIR@", m_dir.path().toLocal8Bit());
    m_ready = m_dir.isValid() && script.open(QIODevice::WriteOnly) && script.write(text) == text.size() &&
              script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", m_dir.path().toLocal8Bit() + ':' + m_path);
}

RecordingLauncher::~RecordingLauncher()
{
    release();
    for (const Run& run : starts()) {
        if (!waitForEnd(run.pid, 2000))
            ::kill(pid_t(run.pid), SIGKILL);
    }
    qputenv("PATH", m_path);
}

QStringList RecordingLauncher::marksMade() const
{
    return QDir(path(QStringLiteral("marks"))).entryList(QDir::Files);
}

void RecordingLauncher::holdStarts()
{
    QFile(path(QStringLiteral("hold"))).open(QIODevice::WriteOnly);
}

void RecordingLauncher::release()
{
    QFile::remove(path(QStringLiteral("hold")));
}

QList<RecordingLauncher::Run> RecordingLauncher::starts() const
{
    QList<Run> all;
    for (const QString& name : QDir(path(QStringLiteral("runs"))).entryList(QDir::Files)) {
        QFile file(path(QStringLiteral("runs/") + name));
        file.open(QIODevice::ReadOnly);
        QStringList words = QString::fromLocal8Bit(file.readAll()).split(QChar(0));
        words.removeLast(); // after the last NUL
        const qint64 parent = words.takeFirst().toLongLong();
        all << Run{name.toLongLong(), parent, words};
    }
    return all;
}

bool RecordingLauncher::waitForRuns(qsizetype count, int timeoutMs) const
{
    QFileSystemWatcher watcher({path(QStringLiteral("runs"))}); // its signal wakes the wait
    return waitUntil([&] { return starts().size() >= count; }, timeoutMs);
}

QStringList RecordingLauncher::runOf(const QString& program) const
{
    for (const Run& run : starts()) {
        if (run.arguments.value(0) == program)
            return run.arguments;
    }
    return {};
}

bool RecordingLauncher::hasEnded(qint64 pid) const
{
    return QFile::exists(path(QStringLiteral("ended/") + QString::number(pid)));
}

bool RecordingLauncher::waitForEnd(qint64 pid, int timeoutMs) const
{
    QFileSystemWatcher watcher({path(QStringLiteral("ended"))});
    return waitUntil([&] { return hasEnded(pid); }, timeoutMs);
}
