#include "recordinglauncher.h"

#include "eventwait.h"

#include <QFileSystemWatcher>

#include <algorithm>
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
    const QDir dir(m_dir.path());
    QFile script(path(QStringLiteral("eaexec.exe")));
    m_ready = dir.mkdir(QStringLiteral("runs")) && dir.mkdir(QStringLiteral("ended")) &&
              dir.mkdir(QStringLiteral("marks")) && script.open(QIODevice::WriteOnly) &&
              script.write(QByteArray(Script).replace("@DIR@", m_dir.path().toLocal8Bit())) > 0 &&
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

QList<RecordingLauncher::Run> RecordingLauncher::starts() const
{
    QList<Run> all;
    for (const QString& name : QDir(path(QStringLiteral("runs"))).entryList(QDir::Files)) {
        QFile file(path(QStringLiteral("runs/") + name));
        file.open(QIODevice::ReadOnly);
        QStringList words = QString::fromLocal8Bit(file.readAll()).split(QChar(0));
        words.removeLast();                                                   // after the last NUL
        all << Run{name.toLongLong(), words.takeFirst().toLongLong(), words}; // in this order
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
    const QList<Run> all = starts();
    const auto run =
        std::find_if(all.begin(), all.end(), [&](const Run& r) { return r.arguments.value(0) == program; });
    return run == all.end() ? QStringList() : run->arguments;
}

bool RecordingLauncher::waitForEnd(qint64 pid, int timeoutMs) const
{
    QFileSystemWatcher watcher({path(QStringLiteral("ended"))});
    return waitUntil([&] { return hasEnded(pid); }, timeoutMs);
}
