// The real desktop shell: message boxes, starting programs without a shell,
// and ending the process at once.
#include "eventwait.h"
#include "ngircdserver.h"
#include "rawircclient.h"
#include "ui/qtshell.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>

#include <gtest/gtest.h>

namespace {

// Waits for a file that a started program makes; the folder's change wakes the wait.
bool waitForFile(const QString& path)
{
    QFileSystemWatcher watcher({QFileInfo(path).absolutePath()});
    return waitUntil([&] { return QFile::exists(path); }, 5000);
}

// Answers the next modal message box with `button` once it shows, noting what it showed.
struct BoxSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
};

void answerNextBox(BoxSeen& seen, QMessageBox::StandardButton button)
{
    QTimer::singleShot(0, [&seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << box->standardButton(b);
        box->button(button)->click();
    });
}

TEST(QtShell, MessageBoxesShowTheTitleTextAndIconGiven)
{
    QtShell shell;
    BoxSeen seen;
    answerNextBox(seen, QMessageBox::Ok);
    shell.message(QStringLiteral("Zenthara Razaz Aduda"), QStringLiteral("Error: 1; \r\nrefused"),
                  Shell::Icon::Critical);
    EXPECT_EQ(seen.title, QStringLiteral("Zenthara Razaz Aduda"));
    EXPECT_EQ(seen.text, QStringLiteral("Error: 1; \r\nrefused"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});

    answerNextBox(seen, QMessageBox::Ok);
    shell.message(QStringLiteral("ZenLobby"), QStringLiteral("Could Not Load Data Files"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);

    // The question is not modal: it returns at once and answers when clicked.
    for (const auto answer : {QMessageBox::Yes, QMessageBox::No}) {
        std::optional<bool> yes;
        shell.askYesNo(QStringLiteral("ZenLobby"), QStringLiteral("Open this link?"),
                       [&](bool y) { yes = y; });
        EXPECT_FALSE(yes.has_value());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        QMessageBox* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible())
                box = b;
        }
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("Open this link?"));
        EXPECT_EQ(box->buttons().size(), 2);
        box->button(answer)->click();
        EXPECT_EQ(yes, answer == QMessageBox::Yes);
    }
}

TEST(QtShell, StartsTheProgramFromTheWorkingDirectoryWithTheCommandLineSplitAtBlanksNeverThroughAShell)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("touch")),
                            dir.filePath(QStringLiteral("eaexec.exe"))));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    // A shell would run the command substitution and the second command.
    const bool started = QtShell().startProgram(QStringLiteral("eaexec.exe  a$(echo)b;c second"));
    QDir::setCurrent(before);
    ASSERT_TRUE(started);
    EXPECT_TRUE(waitForFile(dir.filePath(QStringLiteral("second"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("a$(echo)b;c"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);

    EXPECT_FALSE(QtShell().startProgram(QStringLiteral("no-such-launcher.exe zen3.exe /h tcp")));
    EXPECT_FALSE(QtShell().startProgram(QString()));
}

TEST(QtShell, TheProgramFolderIsTheExecutablesFolder)
{
    EXPECT_EQ(QtShell().programFolder(), QCoreApplication::applicationDirPath());
}

struct Ending {
    int exitCode = -1; // -1: still running after 20 s, or crashed
    QByteArray output;
};

Ending runProbe(const QStringList& arguments)
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ui_endprobe")),
                arguments);
    const bool ended = waitUntil([&] { return probe.state() == QProcess::NotRunning; }, 20000);
    if (!ended)
        probe.kill();
    probe.waitForFinished();
    const bool normal = ended && probe.exitStatus() == QProcess::NormalExit;
    return {normal ? probe.exitCode() : -1, probe.readAll()};
}

TEST(QtShell, ExitAndClosingTheLoginWindowEndTheProcessAtOnce)
{
    for (const char* mode : {"exit", "close-login"}) {
        const Ending ending = runProbe({QString::fromLatin1(mode)});
        EXPECT_EQ(ending.exitCode, 0) << mode << ": " << ending.output.toStdString();
    }
}

TEST(QtShell, ClosingTheLobbyDropsTheConnectionWithoutAQuitLine)
{
    NgircdServer server;
    server.setFloodPenalties(false);
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    RawIrcClient watcher;
    ASSERT_TRUE(watcher.connectTo(server.port()));
    ASSERT_TRUE(watcher.registerAs(QStringLiteral("Watcher")));
    ASSERT_TRUE(watcher.join(QStringLiteral("#ZentharaNET_0")));

    const Ending ending = runProbe({QStringLiteral("close-lobby"), QString::number(server.port())});
    EXPECT_EQ(ending.exitCode, 0) << ending.output.toStdString();
    EXPECT_TRUE(ending.output.contains("in lobby")) << ending.output.toStdString();

    // ngIRCd tells the channel why a user left; a QUIT line from the client
    // would carry the client's own reason.
    const auto quit = watcher.waitForLine([](const QByteArray& line) {
        return line.startsWith(":MM_aaFFFProbe!") && RawIrcClient::commandOf(line) == "QUIT";
    });
    ASSERT_TRUE(quit.has_value());
    EXPECT_TRUE(quit->endsWith(" QUIT :Client closed connection")) << quit->toStdString();
}

} // namespace
