#include "ui/qtshell.h"

#include "app/datafolder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace {
QWidget* dialogParent()
{
    QWidget* active = QApplication::activeWindow();
    return active && active->isVisible() ? active : nullptr;
}
} // namespace

void QtShell::message(const QString& title, const QString& text, Icon icon)
{
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title, text,
                    QMessageBox::Ok, dialogParent());
    box.exec();
}

void QtShell::askYesNo(const QString& title, const QString& text, std::function<void(bool yes)> answered)
{
    // Not modal: the lobby goes on reading and drawing while it is open.
    auto* box = new QMessageBox(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                                dialogParent());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setDefaultButton(QMessageBox::Yes);
    QObject::connect(box, &QMessageBox::finished, box,
                     [answered = std::move(answered)](int result) { answered(result == QMessageBox::Yes); });
    box->show();
}

QStringList QtShell::splitCommandLine(const QString& commandLine, const QStringList& folders)
{
    QStringList parts = commandLine.split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return parts;
    QString& program = parts.first();
    const bool bare = !program.contains(u'/') && !program.contains(u'\\');
    if (!bare || !QStandardPaths::findExecutable(program).isEmpty())
        return parts;
    for (const QString& folder : folders) {
        const QFileInfo local(QDir(folder), program);
        if (local.isFile()) {
            program = local.absoluteFilePath();
            break;
        }
    }
    return parts;
}

bool QtShell::startProgram(const QString& commandLine)
{
    // A Linux player's launcher (a wrapper that starts the game through Wine)
    // is on his search path; a Windows player's lies beside the game or the lobby.
    QStringList parts = splitCommandLine(commandLine, {QDir::currentPath(), programFolder()});
    if (parts.isEmpty())
        return false;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

void QtShell::endProgram()
{
    // Stopping the process at once (rather than leaving the event loop) keeps
    // any handler, timer or socket event from running after the end.
    std::fflush(nullptr);
    std::_Exit(0);
}

QString QtShell::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString QtShell::dataFolder() const
{
    if (m_dataFolder.isEmpty()) {
        const QString program = programFolder();
        m_dataFolder = DataFolder::choose(program, QFileInfo(program).isWritable(),
                                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    }
    return m_dataFolder;
}
