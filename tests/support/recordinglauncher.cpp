#include "recordinglauncher.h"

#include "eventwait.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>

#include <csignal>
#include <sys/types.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Gives up holding after 30 s on its own, should a test die before release().
const char Script[] = R"(#!/bin/sh
d='@DIR@'
echo "$PPID" > "$d/parents/$$"
printf '%s\0' "$@" > "$d/runs/.$$" && mv "$d/runs/.$$" "$d/runs/$$"
n=0
while [ -e "$d/hold" ] && [ $n -lt 1500 ]; do sleep 0.02; n=$((n + 1)); done
: > "$d/ended/$$"
)";

} // namespace

RecordingLauncher::RecordingLauncher() : m_path(qgetenv("PATH"))
{
    QDir dir(m_dir.path());
    for (const char* sub : {"runs", "parents", "ended", "marks"})
        dir.mkdir(QString::fromLatin1(sub));
    QFile script(path(QStringLiteral("eaexec.exe")));
    QByteArray text(Script);
    text.replace("@DIR@", m_dir.path().toLocal8Bit());
    m_ready = m_dir.isValid() && script.open(QIODevice::WriteOnly) && script.write(text) == text.size();
    script.close();
    m_ready = m_ready && script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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

QString RecordingLauncher::mark(const QString& name) const
{
    return path(QStringLiteral("marks/") + name);
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
    const QDir runs(path(QStringLiteral("runs")));
    for (const QString& name : runs.entryList(QDir::Files)) {
        Run run;
        run.pid = name.toLongLong();
        run.parentPid = readAll(path(QStringLiteral("parents/") + name)).trimmed().toLongLong();
        run.arguments = QString::fromLocal8Bit(readAll(runs.filePath(name))).split(QChar(0));
        run.arguments.removeLast(); // after the last NUL
        all << run;
    }
    return all;
}

QList<QStringList> RecordingLauncher::runs() const
{
    QList<QStringList> all;
    for (const Run& run : starts())
        all << run.arguments;
    return all;
}

bool RecordingLauncher::waitForRuns(qsizetype count, int timeoutMs) const
{
    QFileSystemWatcher watcher({path(QStringLiteral("runs"))});
    return waitUntil([&] { return starts().size() >= count; }, timeoutMs);
}

QStringList RecordingLauncher::runOf(const QString& program) const
{
    for (const QStringList& run : runs()) {
        if (!run.isEmpty() && run.first() == program)
            return run;
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
