#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A stand-in for the launcher eaexec.exe, first on PATH while it lives: a
// script that records each start (arguments, own PID, parent's PID) and ends.
// Anything else a start made happen shows as files in marks/. While
// holdStarts() is in force every start waits after recording until release().
// The destructor releases, stops what still runs by its PID, and restores PATH.
class RecordingLauncher {
public:
    struct Run {
        qint64 pid = 0;
        qint64 parentPid = 0;
        QStringList arguments;
    };

    RecordingLauncher();
    ~RecordingLauncher();

    bool isReady() const { return m_ready; }
    // A path in marks/ for a command a test tries to smuggle in.
    QString mark(const QString& name) const { return path(QStringLiteral("marks/") + name); }
    QStringList marksMade() const { return QDir(path(QStringLiteral("marks"))).entryList(QDir::Files); }
    void holdStarts() { QFile(path(QStringLiteral("hold"))).open(QIODevice::WriteOnly); }
    void release() { QFile::remove(path(QStringLiteral("hold"))); }
    // Every start recorded so far, in no particular order.
    QList<Run> starts() const;
    bool waitForRuns(qsizetype count, int timeoutMs = 10000) const;
    // The arguments of the start whose first argument is `program`.
    QStringList runOf(const QString& program) const;
    // Whether the start with this PID got past its hold and finished.
    bool hasEnded(qint64 pid) const { return QFile::exists(path(QStringLiteral("ended/%1").arg(pid))); }
    bool waitForEnd(qint64 pid, int timeoutMs = 10000) const;

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QByteArray m_path;
    bool m_ready = false;
};
