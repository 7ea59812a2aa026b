// What the windows do with a click or a key, and what they show of what the
// core tells them. The rules behind (names, commands, roster, huts) are
// proven on the core; here only that the windows reach them and show them.
#include "uitest.h"

#include "irc/tcptransport.h"
#include "ui/chatpane.h"
#include "ui/qtshell.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(Windows, TheLoginTakesANameByClickOrEnterOrSaysWhyNot)
{
    for (const auto& [typed, byEnter, boxAfter, accepted] :
         {std::tuple{" Night_Shade!", false, "NightShade", true},
          {"Ann", true, "Ann", true},
          {"Night", false, "Night", false}}) {
        Desktop desktop;
        desktop.forms.Main();
        auto* box = control<QLineEdit>(desktop.login(), "NICKNAMEBOX");
        EXPECT_EQ(box->toolTip(),
                  "Up to 20 characters: A-Z, a-z, 0-9 and [ ] \\ ` { | } (no accented letters)");
        QTest::keyClicks(box, typed);
        byEnter ? QTest::keyClick(box, Qt::Key_Return) : click(control(desktop.login(), "Command1"));
        EXPECT_EQ(box->text(), boxAfter);
        EXPECT_EQ(desktop.state().MyNick, accepted ? "MM_aaFFF" + box->text() : QString());
        EXPECT_EQ(desktop.select()->isVisible(), accepted);
        EXPECT_EQ(desktop.login()->isVisible(), !accepted);
        EXPECT_EQ(desktop.messages(), accepted ? QStringList() : QStringList{"Please Use a Valid UserName"});
    }
}

TEST(Windows, EachLobbySpotPicksItsLobbyShownOnceConnected)
{
    for (int index = 0; index < 9; ++index) {
        Desktop desktop;
        desktop.logIn();
        click(control(desktop.select(), "LBYSEL", index));
        EXPECT_EQ(desktop.state().CurrentChannel, QString("#ZentharaNET_%1").arg(index));
        EXPECT_FALSE(desktop.select()->isVisible() || desktop.lobby()->isVisible()) << index;
        desktop.transport.acceptConnection();
        EXPECT_TRUE(desktop.lobby()->isVisible()) << index;
    }
    Desktop before;
    before.logIn();
    before.select()->close();
    EXPECT_EQ(before.shell.endCount, 1) << "closed before any lobby";
}

TEST(Windows, TheClanBoxAndTheLobbyChoiceLeadBackToTheOneLobbyWindow)
{
    // The clan rule's table is on the core: one name refused by Join, one taken by Enter.
    Desktop desktop;
    desktop.logIn();
    auto* clan = control<QLineEdit>(desktop.select(), "CLANLOBBY");
    QTest::keyClicks(clan, "My Clan");
    click(control(desktop.select(), "Command1"));
    EXPECT_EQ(desktop.messages(), QStringList{"Invalid Clan Channel Parameter"});
    clan->setText("My_Clan");
    QTest::keyClick(clan, Qt::Key_Return);
    EXPECT_EQ(desktop.state().CurrentChannel, "#ZenNETCLAN_My_Clan");
    desktop.transport.acceptConnection();

    LobbyWindow* lobby = desktop.lobby();
    desktop.type("/select");
    EXPECT_FALSE(lobby->isVisible());
    click(control(desktop.select(), "LBYSEL", 4));
    EXPECT_TRUE(lobby->isVisible()) << "at once, before the connection";
    desktop.type("/select");
    desktop.select()->close();
    EXPECT_TRUE(lobby->isVisible() && !desktop.select()->isVisible());
    EXPECT_EQ(desktop.shell.endCount, 0);

    // A name the server refuses closes both for the login, the name kept.
    desktop.type("/select");
    desktop.forms.client().ReConnect_Timer();
    desktop.transport.acceptConnection();
    desktop.transport.deliver(":irc 432 * MM_aaFFFBob :Erroneous nickname\r\n");
    EXPECT_FALSE(lobby->isVisible() || desktop.select()->isVisible());
    EXPECT_TRUE(desktop.login()->isVisible());
    EXPECT_EQ(control<QLineEdit>(desktop.login(), "NICKNAMEBOX")->text(), "Bob");
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
    for (const auto& [state, channel, caption] :
         {std::tuple{6, "#ZentharaNET_3", "Connecting"},
          {7, "#ZenNETCLAN_My Clan", "Logged in As: Bob in Lobby: ZenNETCLAN_My Clan"},
          {9, "#ZentharaNET_3", "Dis-Connected"},
          {8, "#ZentharaNET_3", "Dis-Connected (Server has kicked you)"},
          {0, "#ZentharaNET_3", "Not Connected"},
          {5, "#ZentharaNET_3", "Not Connected"}}) {
        client.state().CurrentChannel = channel;
        transport.forced = state;
        client.Timer1_Timer();
        EXPECT_EQ(window.windowTitle(), QString("Zenthara Razaz Aduda Clone - ") + caption);
    }
}

TEST(Windows, EnterHandsTheInputOverOnceUntrimmedFocusBringsBackAndClosingSaysNothing)
{
    Desktop desktop;
    desktop.enterLobby();
    QTest::keyClicks(desktop.input(), " /away");
    QTest::keyPress(desktop.input(), Qt::Key_Return);
    // Enter held down repeats: the repeats send nothing more.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(desktop.input(), &repeat);
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{"PRIVMSG #ZentharaNET_0 : /away"});
    EXPECT_TRUE(desktop.input()->text().isEmpty());
    EXPECT_TRUE(desktop.pane().endsWith("\nBob>  /away"));

    // The chat input getting the focus brings a player back from a game.
    QApplication::setActiveWindow(desktop.lobby());
    desktop.state().MyNick = "MM_abFFFBob";
    control(desktop.lobby(), "CHAT")->setFocus();
    desktop.input()->setFocus();
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{"NICK :MM_aaFFFBob"});

    desktop.lobby()->close();
    EXPECT_EQ(desktop.shell.endCount, 1);
    EXPECT_EQ(desktop.transport.state(), SocketState::Closed);
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty());
}

TEST(Windows, ASocketFailureShowsOneMessageAndNoReconnectRunsWhileItIsOpen)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.shell.onMessage = [&](const QString&) { desktop.forms.client().ReConnect_Timer(); };
    desktop.transport.fail(1, "Connection refused");
    EXPECT_EQ(desktop.messages(), QStringList{"Error: 1; \r\nConnection refused"});
    EXPECT_EQ(desktop.transport.connectCount, 1);
    EXPECT_EQ(desktop.shell.endCount, 1);
}

// The lists, slots and launches on a real server are in the game night (tests/e2e).
TEST(Windows, TheLobbyShowsSlotsToScreenReadersAndAFailedStartAndTakesClicksWithoutTheFocus)
{
    Desktop desktop;
    desktop.enterLobby();
    LobbyWindow* lobby = desktop.lobby();
    desktop.transport.deliver(":irc 353 MM_aaFFFBob = #ZentharaNET_0 :MM_aa021Ann MM_acFFFDee\r\n"
                              ":irc 366 MM_aaFFFBob #ZentharaNET_0 :End of NAMES list\r\n");
    desktop.forms.client().Timer1_Timer();
    QWidget* ann = control(lobby, "Hut", 21);
    EXPECT_EQ(ann->toolTip(), "Ann");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(ann)->text(QAccessible::Description), "Ann");

    // Hut and launch clicks leave the focus in the chat input: no status change in between.
    QApplication::setActiveWindow(lobby);
    ASSERT_TRUE(desktop.input()->hasFocus());
    desktop.transport.setLocalIP("10.1.2.3");
    click(control(lobby, "Hut", 20));
    EXPECT_EQ(desktop.transport.takeLines().value(0), "NICK :MM_aa020Bob");
    desktop.shell.startSucceeds = false;
    click(control(lobby, "Launch", 2));
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{"PRIVMSG #ZentharaNET_0 :[ZENLAUNCH2] 10.1.2.3|||"});
    EXPECT_EQ(desktop.shell.started, QStringList{"eaexec.exe zen3.exe /h tcp /nBob /boundip 10.1.2.3"});
    EXPECT_TRUE(desktop.pane().endsWith("\nCould Not Start eaexec.exe"));

    // A double click on a name shows it on the name card; below the names, an empty card.
    auto* chatting = control<QListWidget>(lobby, "CHAT");
    for (const auto& [at, name] : {std::pair{QPoint(10, chatting->viewport()->height() - 4), ""},
                                   {chatting->visualItemRect(chatting->item(1)).center(), "(Away)Dee"}}) {
        QTest::mouseClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_TRUE(control(lobby, "Popup")->isVisible());
        EXPECT_EQ(control<QLabel>(lobby, "U_NAME")->text(), name);
    }
    click(control(lobby, "Image1"));
    EXPECT_FALSE(control(lobby, "Popup")->isVisible());
}

TEST(Windows, TheBotEditorShowsTheFileSavesOnlyOnSaveOrSaysWhyAndExitForgetsTheRest)
{
    Desktop desktop;
    desktop.enterLobby();
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
    editor->hide();
    desktop.folder.remove("bot.dat");
    desktop.type("/botedit");
    EXPECT_TRUE(editor->text().endsWith("lost|pair\r\n"));
    click(control(editor, "Command2"));
    EXPECT_FALSE(editor->isVisible());
    desktop.type("/botedit");
    EXPECT_TRUE(editor->isVisible() && editor->text().isEmpty());
    add("x", "y");
    click(control(editor, "Command4"));
    add("yo", "sup");
    ASSERT_TRUE(QDir(desktop.folder.path()).mkdir("bot.dat"));
    click(control(editor, "Command1"));
    EXPECT_EQ(desktop.messages(), (QStringList{"Could Not Load Data", "Could Not Save Data"}));
    EXPECT_TRUE(editor->isVisible());
    ASSERT_TRUE(QDir(desktop.folder.path()).rmdir("bot.dat"));
    click(control(editor, "Command1"));
    EXPECT_EQ(desktop.folder.read("bot.dat"), "yo|sup\r\n");
}

TEST(ChatPane, ShowsLobbyLinesWithoutBlankOnesAddsAtTheEndAndKeepsTheEndInView)
{
    ChatPane pane(nullptr);
    pane.resize(400, 170);
    pane.show();
    pane.replaceText("Bob> before the welcome\r\n");
    pane.replaceText("<--WELCOME-->\r\n");
    for (const char* text :
         {"Ann> hi\r\n", "\r\n", "Eve> one\r\ntwo\r\n", "no end", " and more\r\n", "a\nb\rc\r\n"})
        pane.appendText(text);
    EXPECT_EQ(pane.toPlainText(), "<--WELCOME-->\nAnn> hi\n\nEve> one\ntwo\nno end and more\na\nb\nc");
    for (int i = 0; i < 50; ++i)
        pane.appendText(QString("Ann> line %1\r\n").arg(i));
    EXPECT_GT(pane.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(pane.verticalScrollBar()->value(), pane.verticalScrollBar()->maximum());
    // No copy of the pane's whole text: nothing removed, inserted at the end.
    QSignalSpy changes(pane.document(), &QTextDocument::contentsChange);
    const int end = pane.document()->characterCount() - 1;
    pane.appendText("Ann> one more\r\n");
    EXPECT_EQ(changes.value(0), (QVariantList{end, 0, 14}));

    // A huge line is shown in pieces, nothing lost.
    const QString huge = "Eve> " + QString(1000 * 1000, u'x');
    pane.replaceText(huge + "\r\n");
    const QStringList lines = pane.toPlainText().split(u'\n');
    EXPECT_EQ(lines.join(QString()), huge);
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 2000);
}

TEST(QtShell, AMessageBoxShowsWhatItIsGivenTheQuestionIsNotModalAndTheLauncherIsFoundHere)
{
    QtShell shell;
    QString seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        seen = box->windowTitle() + '|' + box->text() + '|' + QString::number(box->icon());
        box->button(QMessageBox::Ok)->click();
    });
    shell.message("Zenthara Razaz Aduda", "Error: 1; \r\nrefused", Shell::Icon::Critical);
    EXPECT_EQ(seen, QString("Zenthara Razaz Aduda|Error: 1; \r\nrefused|%1").arg(QMessageBox::Critical));

    for (const auto answer : {QMessageBox::Yes, QMessageBox::No}) {
        std::optional<bool> yes;
        shell.askYesNo("ZenLobby", "Open this link?", [&](bool y) { yes = y; });
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        QMessageBox* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && qobject_cast<QMessageBox*>(w))
                box = static_cast<QMessageBox*>(w);
        }
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Open this link?");
        EXPECT_FALSE(yes.has_value());
        box->button(answer)->click();
        EXPECT_EQ(yes, answer == QMessageBox::Yes);
    }

    // Not on the program search path, the launcher is taken from the working directory.
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath("eaexec.exe")).open(QIODevice::WriteOnly));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(QtShell::splitCommandLine("eaexec.exe  a b"),
              (QStringList{dir.filePath("eaexec.exe"), "a", "b"}));
    QDir::setCurrent(before);
    EXPECT_FALSE(shell.startProgram("no-such-launcher.exe zen3.exe"));
    EXPECT_EQ(shell.programFolder(), QCoreApplication::applicationDirPath());
}

// The program as put together for real ends at once: nothing after the end runs.
void endByLogin(bool exitButton)
{
    TcpTransport transport;
    QtShell shell;
    Forms forms(transport, shell);
    forms.Main();
    exitButton ? click(control(forms.loginForm(), "Command2")) : void(forms.loginForm()->close());
    std::exit(3);
}

TEST(QtShellDeathTest, ExitAndClosingTheLoginWindowEndTheProcessAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(endByLogin(true), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(endByLogin(false), ::testing::ExitedWithCode(0), "");
}

} // namespace
