// What the windows do with a click or a key, and what they show of what the
// core tells them. The rules behind (names, commands, roster, huts) are
// proven on the core; here only that the windows reach them and show them.
#include "uitest.h"

#include "ui/chatpane.h"
#include "ui/qtshell.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

TEST(Windows, TheLoginAndTheLobbyChoiceLeadToTheOneLobbyWindowAndARefusedNameBackToTheLogin)
{
    Desktop desktop;
    desktop.forms.Main();
    auto* name = control<QLineEdit>(desktop.login(), "NICKNAMEBOX");
    QTest::keyClicks(name, "Night");
    click(control(desktop.login(), "Command1"));
    EXPECT_EQ(desktop.messages(), QStringList{"Please Use a Valid UserName"});
    name->setText(" Night_Shade!");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(name->text(), "NightShade");
    EXPECT_FALSE(desktop.login()->isVisible());
    desktop.select()->close();
    EXPECT_EQ(desktop.shell.endCount, 1) << "closed before any lobby";

    desktop.select()->show();
    auto* clan = control<QLineEdit>(desktop.select(), "CLANLOBBY");
    QTest::keyClicks(clan, "My Clan");
    click(control(desktop.select(), "Command1"));
    EXPECT_EQ(desktop.messages().value(1), "Invalid Clan Channel Parameter");
    clan->setText("My_Clan");
    QTest::keyClick(clan, Qt::Key_Return);
    EXPECT_EQ(desktop.state().CurrentChannel, "#ZenNETCLAN_My_Clan");
    LobbyWindow* lobby = desktop.lobby();
    EXPECT_FALSE(desktop.select()->isVisible() || lobby->isVisible()) << "shown once connected";
    desktop.transport.acceptConnection();
    EXPECT_TRUE(lobby->isVisible());
    for (int index = 0; index < 9; ++index) {
        desktop.type("/select");
        EXPECT_FALSE(lobby->isVisible());
        click(control(desktop.select(), "LBYSEL", index));
        EXPECT_EQ(desktop.state().CurrentChannel, QString("#ZentharaNET_%1").arg(index));
        EXPECT_TRUE(lobby->isVisible() && !desktop.select()->isVisible()) << "at once: " << index;
    }
    desktop.type("/select");
    desktop.select()->close();
    EXPECT_TRUE(lobby->isVisible() && !desktop.select()->isVisible());
    EXPECT_EQ(desktop.shell.endCount, 1);

    // A name the server refuses closes both for the login, the name kept.
    desktop.type("/select");
    desktop.forms.client().ReConnect_Timer();
    desktop.transport.acceptConnection();
    desktop.transport.deliver(":irc 432 * MM_aaFFFNightShade :Erroneous nickname\r\n");
    EXPECT_FALSE(lobby->isVisible() || desktop.select()->isVisible());
    EXPECT_TRUE(desktop.login()->isVisible());
    EXPECT_EQ(name->text(), "NightShade");
}

TEST(Windows, TheCaptionTellsTheSocketStateTheUserAndTheLobbyAtEachTick)
{
    struct : FakeTransport {
        int state() const override { return forced; }
        int forced = 0;
    } transport;
    Pictures pictures;
    LobbyWindow window(pictures);
    FakeShell shell;
    LobbyClient client(transport, shell, window);
    client.state().MyNick = "MM_ac012Bob_2";
    client.state().NickSuffix = "_2";
    client.state().CurrentChannel = "#ZenNETCLAN_My Clan";
    for (const auto& [state, caption] : {std::pair{6, "Connecting"},
                                         {7, "Logged in As: Bob in Lobby: ZenNETCLAN_My Clan"},
                                         {9, "Dis-Connected"},
                                         {8, "Dis-Connected (Server has kicked you)"},
                                         {0, "Not Connected"}}) {
        transport.forced = state;
        client.Timer1_Timer();
        EXPECT_EQ(window.windowTitle(), QString("Zenthara Razaz Aduda Clone - ") + caption);
    }
}

// The lists, slots and launches on a real server are in the game night (tests/e2e).
TEST(Windows, TheLobbyAndItsBotEditorAnswerClicksAndKeysAndClosingTheLobbyEndsQuietly)
{
    Desktop desktop;
    desktop.enterLobby();
    LobbyWindow* lobby = desktop.lobby();
    QTest::keyClicks(desktop.input(), " /away");
    QTest::keyPress(desktop.input(), Qt::Key_Return);
    // Enter held down repeats: the repeats send nothing more.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(desktop.input(), &repeat);
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{"PRIVMSG #ZentharaNET_0 : /away"});

    // The chat input getting the focus brings a player back from a game.
    QApplication::setActiveWindow(lobby);
    desktop.state().MyNick = "MM_abFFFBob";
    control(lobby, "CHAT")->setFocus();
    desktop.input()->setFocus();
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{"NICK :MM_aaFFFBob"});

    // The bot editor shows the file and saves it only on Save (its default button).
    EditForm* editor = desktop.editor();
    const auto add = [&](const char* trigger, const char* reply) {
        control<QLineEdit>(editor, "Text1")->setText(trigger);
        control<QLineEdit>(editor, "Text2")->setText(reply);
        click(control(editor, "Command3"));
    };
    desktop.folder.write("bot.dat", "hi|hello\r\n");
    desktop.type("/botedit");
    add("bye", "see you");
    EXPECT_EQ(control<QPlainTextEdit>(editor, "DataBox")->toPlainText(), "hi|hello\nbye|see you\n");
    EXPECT_EQ(desktop.folder.read("bot.dat"), "hi|hello\r\n");
    QTest::keyClick(control(editor, "Text2"), Qt::Key_Return);
    EXPECT_EQ(desktop.folder.read("bot.dat"), "hi|hello\r\nbye|see you\r\n");
    // While open /botedit only shows it; after Exit it reads the file again.
    add("lost", "pair");
    desktop.folder.remove("bot.dat");
    desktop.type("/botedit");
    EXPECT_TRUE(editor->text().endsWith("lost|pair\r\n"));
    click(control(editor, "Command2"));
    desktop.type("/botedit");
    EXPECT_TRUE(editor->isVisible() && editor->text().isEmpty());
    add("x", "y");
    click(control(editor, "Command4"));
    add("yo", "sup");
    ASSERT_TRUE(QDir(desktop.folder.path()).mkdir("bot.dat"));
    click(control(editor, "Command1"));
    EXPECT_EQ(desktop.messages(), (QStringList{"Could Not Load Data", "Could Not Save Data"}));
    ASSERT_TRUE(QDir(desktop.folder.path()).rmdir("bot.dat"));
    click(control(editor, "Command1"));
    EXPECT_EQ(desktop.folder.read("bot.dat"), "yo|sup\r\n");

    // Hut and launch clicks leave the focus in the chat input: no status change in between.
    desktop.transport.setLocalIP("10.1.2.3");
    click(control(lobby, "Hut", 20));
    EXPECT_EQ(desktop.transport.takeLines().value(0), "NICK :MM_aa020Bob");
    desktop.shell.startSucceeds = false;
    click(control(lobby, "Launch", 2));
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{"PRIVMSG #ZentharaNET_0 :[ZENLAUNCH2] 10.1.2.3|||"});
    EXPECT_EQ(desktop.shell.started, QStringList{"eaexec.exe zen3.exe /h tcp /nBob /boundip 10.1.2.3"});
    EXPECT_TRUE(desktop.pane().endsWith("\nCould Not Start eaexec.exe"));

    lobby->close();
    EXPECT_EQ(desktop.shell.endCount, 1);
    EXPECT_EQ(desktop.transport.state(), SocketState::Closed);
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty());
}

TEST(ChatPane, ShowsLinesAsTheyComeKeepsTheEndInViewAndBreaksAHugeLineIntoPieces)
{
    ChatPane pane(nullptr);
    pane.resize(400, 170);
    pane.show();
    pane.replaceText("Bob> before the welcome\r\n");
    pane.replaceText("<--WELCOME-->\r\n");
    for (const char* text : {"Ann> hi\r\n", "\r\n", "no end", " and more\r\n", "a\nb\rc\r\n"})
        pane.appendText(text);
    EXPECT_EQ(pane.toPlainText(), "<--WELCOME-->\nAnn> hi\n\nno end and more\na\nb\nc");
    for (int i = 0; i < 50; ++i)
        pane.appendText("Ann> line\r\n");
    EXPECT_GT(pane.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(pane.verticalScrollBar()->value(), pane.verticalScrollBar()->maximum());

    // A huge line is shown in pieces, nothing lost.
    const QString huge = "Eve> " + QString(1000 * 1000, u'x');
    pane.replaceText(huge + "\r\n");
    const QStringList lines = pane.toPlainText().split(u'\n');
    EXPECT_EQ(lines.join(QString()), huge);
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 2000);
}

TEST(QtShell, TheQuestionIsNotModalAndTheLauncherIsFoundInTheWorkingDirectory)
{
    QtShell shell;
    for (const auto answer : {QMessageBox::Yes, QMessageBox::No}) {
        std::optional<bool> yes;
        shell.askYesNo("ZenLobby", "Open this link?", [&](bool y) { yes = y; });
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        QMessageBox* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            box = w->isVisible() && qobject_cast<QMessageBox*>(w) ? static_cast<QMessageBox*>(w) : box;
        ASSERT_TRUE(box && box->text() == "Open this link?" && !yes);
        box->button(answer)->click();
        EXPECT_EQ(yes, answer == QMessageBox::Yes);
    }

    // Not on the program search path, the launcher is taken from the working directory.
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath("eaexec.exe")).open(QIODevice::WriteOnly));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(QtShell::splitCommandLine("eaexec.exe  a"), (QStringList{dir.filePath("eaexec.exe"), "a"}));
    QDir::setCurrent(before);
    EXPECT_FALSE(shell.startProgram("no-such-launcher.exe zen3.exe"));
}

TEST(QtShellDeathTest, TheEndOfTheProgramEndsTheProcessAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(QtShell().endProgram(), ::testing::ExitedWithCode(0), "");
}

} // namespace
