// What the windows do with a click or a key, and what they show of what the
// core tells them. The rules behind (names, commands, roster, huts) are
// proven on the core; here only that the windows reach them and show them.
#include "uitest.h"

#include "eventwait.h"
#include "lobby/refresh.h"
#include "ui/qtshell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileSystemWatcher>
#include <QMessageBox>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

TEST(Windows, TheLoginAndTheLobbyChoiceLeadToTheOneLobbyWindowAndARefusedNameBackToTheLogin)
{
    Desktop desktop;
    desktop.forms.Main();
    auto* name = control<QLineEdit>(desktop.login(), "NICKNAMEBOX");
    click(control(desktop.login(), "Command1"));
    EXPECT_EQ(desktop.messages(), QStringList{"Please Use a Valid UserName"});
    QTest::keyClicks(name, " Night_Shade!\r");
    EXPECT_EQ(name->text(), "NightShade");
    EXPECT_FALSE(desktop.login()->isVisible());
    desktop.select()->close();
    EXPECT_EQ(desktop.shell.endCount, 1) << "closed before any lobby";

    desktop.select()->show();
    QTest::keyClicks(control(desktop.select(), "CLANLOBBY"), "My_Clan\r");
    EXPECT_EQ(desktop.state().CurrentChannel, "#ZenNETCLAN_My_Clan");
    LobbyWindow* lobby = desktop.lobby();
    EXPECT_TRUE(lobby->isVisible() && !desktop.select()->isVisible()) << "at once, while connecting";
    EXPECT_TRUE(lobby->windowTitle().endsWith("Connecting"));
    desktop.transport.acceptConnection();
    desktop.type("/select");
    EXPECT_FALSE(lobby->isVisible());
    click(control(desktop.select(), "LBYSEL", 8));
    EXPECT_EQ(desktop.state().CurrentChannel, "#ZentharaNET_8");
    EXPECT_TRUE(lobby->isVisible() && !desktop.select()->isVisible()) << "at once";
    desktop.type("/select");
    desktop.select()->close();
    EXPECT_TRUE(lobby->isVisible() && !desktop.select()->isVisible());
    EXPECT_EQ(desktop.shell.endCount, 1);

    // A name the server refuses closes the lobby for the login, the name kept.
    desktop.transport.deliver(":irc 432 * MM_aaFFFNightShade :Erroneous nickname\r\n");
    EXPECT_FALSE(lobby->isVisible());
    EXPECT_TRUE(desktop.login()->isVisible() && name->text() == "NightShade");
}

TEST(Windows, TheCaptionTellsTheSocketStateTheUserAndTheLobby)
{
    Declares state;
    state.MyNick = "MM_ac012Bob_2";
    state.NickSuffix = "_2";
    state.CurrentChannel = "#ZenNETCLAN_My Clan";
    for (const auto& [socket, caption] :
         {std::pair{SocketState::Connecting, "Connecting"},
          {SocketState::Connected, "Logged in As: Bob in Lobby: ZenNETCLAN_My Clan"},
          {SocketState::Error, "Dis-Connected"},
          {SocketState::Closing, "Dis-Connected (Server has kicked you)"},
          {SocketState::Closed, "Not Connected"}})
        EXPECT_EQ(Refresh::lobbyTitle(socket, state), QString("Zenthara Razaz Aduda Clone - ") + caption);
}

TEST(Windows, TheLobbyAndItsBotEditorAnswerClicksAndKeysAndClosingTheLobbyEndsQuietly)
{
    Desktop desktop;
    desktop.forms.client().setTimerIntervals(20, LobbyClient::ReconnectIntervalMs);
    desktop.enterLobby();
    LobbyWindow* lobby = desktop.lobby();
    desktop.type("hi");
    // Enter held down repeats: the repeats send nothing more.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(desktop.input(), &repeat);
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{"PRIVMSG #ZentharaNET_0 :hi"});

    // A slot taken shows at the next refresh; the hut's launch button starts the game as host.
    click(control(lobby, "Hut", 20));
    EXPECT_EQ(desktop.transport.takeLines().value(0), "NICK :MM_aa020Bob");
    EXPECT_TRUE(waitUntil([&] { return control(lobby, "Hut", 20)->toolTip() == "Bob"; }, 5000));
    click(control(lobby, "Launch", 2));
    EXPECT_EQ(desktop.shell.started, QStringList{"eaexec.exe zen3.exe /h tcp /nBob /boundip 10.0.0.5"});
    desktop.transport.takeLines();

    // The chat input getting the focus brings a player back from the game.
    ASSERT_EQ(desktop.state().MyNick, "MM_abFFFBob");
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(desktop.input(), &focusIn);
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{"NICK :MM_aaFFFBob"});

    // The bot editor shows the file and saves it only on Save (Enter in an input).
    EditForm* editor = desktop.editor();
    desktop.folder.write("bot.dat", "hi|hello\r\n");
    desktop.type("/botedit");
    control<QLineEdit>(editor, "Text1")->setText("bye");
    control<QLineEdit>(editor, "Text2")->setText("see you");
    click(control(editor, "Command3"));
    EXPECT_EQ(control<QPlainTextEdit>(editor, "DataBox")->toPlainText(), "hi|hello\nbye|see you\n");
    EXPECT_EQ(desktop.folder.read("bot.dat"), "hi|hello\r\n");
    QTest::keyClick(control(editor, "Text2"), Qt::Key_Return);
    EXPECT_EQ(desktop.folder.read("bot.dat"), "hi|hello\r\nbye|see you\r\n");
    // After Exit /botedit reads the file again.
    click(control(editor, "Command2"));
    desktop.folder.remove("bot.dat");
    desktop.type("/botedit");
    EXPECT_TRUE(editor->isVisible() && editor->text().isEmpty());
    ASSERT_TRUE(QDir(desktop.folder.path()).mkdir("bot.dat"));
    click(control(editor, "Command1"));
    EXPECT_EQ(desktop.messages(), (QStringList{"Could Not Load Data", "Could Not Save Data"}));

    // The chat pane keeps its end in view and shows a huge line in pieces, nothing lost.
    lobby->appendChat(QString("Ann> line\r\n").repeated(20));
    const auto* pane = control<QPlainTextEdit>(lobby, "INCHAT");
    const QScrollBar* bar = pane->verticalScrollBar();
    EXPECT_TRUE(bar->maximum() > 0 && bar->value() == bar->maximum());
    const QString huge = "Eve> " + QString(1000 * 1000, u'x');
    lobby->setChatText(huge + "\r\n");
    const QStringList lines = pane->toPlainText().split(u'\n');
    EXPECT_EQ(lines.join(QString()), huge);
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 2000);

    lobby->close();
    EXPECT_EQ(desktop.shell.endCount, 1);
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty());
}

TEST(Windows, TheChatInputWalksTheLastFiftyLinesAndCompletesNamesShortestFirst)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.transport.deliver(
        ":irc 353 MM_aaFFFBob = #ZentharaNET_0 :MM_aaFFFAnnabel MM_acFFFAnn MM_abFFFAnton_2 "
        "MM_aaFFFBob MM_aaFFFBea\r\n");
    QLineEdit* input = desktop.input();
    for (int i = 0; i < 52; ++i)
        desktop.type(QString("line %1").arg(i));
    QTest::keyClicks(input, "draft");
    const auto keys = [&](Qt::Key key, int times) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(input, key);
        return input->text();
    };
    EXPECT_EQ(keys(Qt::Key_Up, 1), "line 51");
    EXPECT_EQ(keys(Qt::Key_Up, 50), "line 2");
    EXPECT_EQ(keys(Qt::Key_Down, 49), "line 51");
    EXPECT_EQ(keys(Qt::Key_Down, 2), "draft");

    input->setText("aN");
    for (const char* turn : {"Ann, ", "Anton, ", "Annabel, ", "Ann, "})
        EXPECT_EQ(keys(Qt::Key_Tab, 1), turn);
    QTest::keyClicks(input, "hi b");
    EXPECT_EQ(keys(Qt::Key_Tab, 1), "Ann, hi Bea");
    // Nothing to complete: Tab moves on to SEND, as anywhere in the window.
    QTest::keyClicks(input, " x\t");
    EXPECT_EQ(desktop.lobby()->focusWidget(), control(desktop.lobby(), "SEND"));
}

TEST(QtShell, TheEndIsAtOnceAndTheQuestionIsNotModal)
{
    // The end of the program ends the process at once.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(QtShell().endProgram(), ::testing::ExitedWithCode(0), "");

    QtShell shell;
    QStringList answers;
    shell.askYesNo("ZenLobby", "Open this link?", [&](bool yes) { answers << (yes ? "yes" : "no"); });
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QMessageBox* box = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        box = w->isVisible() && qobject_cast<QMessageBox*>(w) ? static_cast<QMessageBox*>(w) : box;
    ASSERT_TRUE(box && box->text() == "Open this link?" && answers.isEmpty());
    box->button(QMessageBox::Yes)->click();
    EXPECT_EQ(answers, QStringList{"yes"});
}

// A launcher really started: not on the search path, it is taken from the working directory (the
// first folder that holds it); it gets a posted link as one plain argument, nobody waits for it, it
// is no child of the lobby's process, and nothing a shell would make of the link runs.
TEST(QtShell, TheLauncherRunsOnItsOwnWithTheLinkAsOnePlainArgument)
{
    ProgramFolder dir;
    const QString launcher = dir.file("eaexec.exe"), marks = dir.path() + "/?";
    const QString page = "http://x.test/?a=1;touch${IFS}" + marks + "&b=$(touch${IFS}" + marks +
                         ")`touch${IFS}" + marks + "`|touch${IFS}" + marks + ">" + marks;
    dir.write("eaexec.exe",
              "#!/bin/sh\nprintf '%s\\n' \"$PPID\" \"$@\" > \"$0.run\"\n"
              "n=0; while [ ! -e \"$0.go\" ] && [ $n -lt 500 ]; do sleep 0.01; n=$((n+1)); done\n"
              ": > \"$0.ended\"\n");
    QFile::setPermissions(launcher, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(QtShell::splitCommandLine("eaexec.exe  /h", {dir.file("none"), dir.path()}),
              (QStringList{launcher, "/h"}));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const bool started = QtShell().startProgram("eaexec.exe iexplore.exe " + page);
    QDir::setCurrent(before);
    ASSERT_TRUE(started);
    EXPECT_FALSE(QFile::exists(launcher + ".ended")) << "it waits for us, so we did not wait for it";
    dir.write("eaexec.exe.go", "");
    QFileSystemWatcher watcher({dir.path()}); // wakes the wait
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(launcher + ".ended"); }, 10000));
    const QStringList lines = QString::fromLocal8Bit(dir.read("eaexec.exe.run")).split(u'\n');
    EXPECT_EQ(lines.mid(1), (QStringList{"iexplore.exe", page, ""}));
    EXPECT_NE(lines[0].toLongLong(), QCoreApplication::applicationPid());
    EXPECT_EQ(QDir(dir.path()).entryList({"?"}, QDir::Files), QStringList()) << "a shell's marks";
}

} // namespace
