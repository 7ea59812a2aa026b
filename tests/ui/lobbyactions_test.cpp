// What the player does in the lobby window, from the widgets to the lines the
// server gets: typed commands, a hut slot, the launch spot, and a bot taught
// in the editor.
#include "uitest.h"

#include "eventwait.h"
#include "lobby/gamelaunch.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QLineEdit* input(Desktop& desktop)
{
    return control<QLineEdit>(desktop.lobby(), QStringLiteral("OUTCHAT"));
}

QString chatPane(Desktop& desktop)
{
    return control<QPlainTextEdit>(desktop.lobby(), QStringLiteral("INCHAT"))->toPlainText();
}

void type(Desktop& desktop, const QString& text)
{
    QTest::keyClicks(input(desktop), text);
    QTest::keyClick(input(desktop), Qt::Key_Return);
}

QString chanMsg(const QString& nick, const QString& text)
{
    return QStringLiteral(":") + nick + QStringLiteral("!user@host.test PRIVMSG #ZentharaNET_0 :") + text;
}

TEST(LobbyActions, WhatIsTypedReachesTheCommandsAsItStands)
{
    const struct {
        QString typed;
        QStringList sent;
        QString nick;
        QString paneEnd;
    } cases[] = {
        {"/away", {"NICK :MM_acFFFBob"}, "MM_acFFFBob", ""},
        {"/BRB be back", {"NICK :MM_adFFFBob"}, "MM_adFFFBob", ""},
        {"/outside", {"NICK :MM_aaFFFBob"}, "MM_aaFFFBob", ""},
        // Blanks around the text are kept: the input is not trimmed.
        {"/kick Eve ",
         {"PRIVMSG #ZentharaNET_0 :[ZENKICK] MM_aa021Bob>Eve |||"},
         "MM_aa021Bob",
         "\nYou Have Voted To Kick Eve "},
        {" /away", {"PRIVMSG #ZentharaNET_0 : /away"}, "MM_aa021Bob", "\nBob>  /away"},
        {"/me waves  ", {"PRIVMSG #ZentharaNET_0 :/me waves  "}, "MM_aa021Bob", "\nBob> /me waves  "},
        {"/kick", {}, "MM_aa021Bob", "\nType /kick <USER> to vote a user to be kicked"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        Desktop desktop;
        desktop.enterLobby();
        desktop.state().MyNick = QStringLiteral("MM_aa021Bob");
        type(desktop, c.typed);
        EXPECT_EQ(desktop.transport.takeLines(), c.sent);
        EXPECT_EQ(desktop.state().MyNick, c.nick);
        EXPECT_TRUE(input(desktop)->text().isEmpty());
        if (!c.paneEnd.isEmpty())
            EXPECT_TRUE(chatPane(desktop).endsWith(c.paneEnd)) << chatPane(desktop).right(80).toStdString();
    }
}

TEST(LobbyActions, Hut21TakesTheSlotAndOnlySlotZeroLaunchesTheHut)
{
    Desktop desktop;
    desktop.enterLobby();
    // The window is active with the focus in the chat input before the clicks.
    QApplication::setActiveWindow(desktop.lobby());
    ASSERT_TRUE(QTest::qWaitForWindowActive(desktop.lobby()));
    ASSERT_TRUE(input(desktop)->hasFocus());
    desktop.transport.setLocalIP(QStringLiteral("10.1.2.3"));
    const QString paneBefore = chatPane(desktop);

    click(control<QWidget>(desktop.lobby(), QStringLiteral("Hut"), 21));
    EXPECT_EQ(desktop.state().MyNick, QStringLiteral("MM_aa021Bob"));
    EXPECT_EQ(desktop.state().HutTable[2][1], QStringLiteral("aaFFFBob"));
    EXPECT_EQ(desktop.transport.takeLines(),
              (QStringList{QStringLiteral("NICK :MM_aa021Bob"), QString(),
                           QStringLiteral("NAMES #ZentharaNET_0"), QString()}));

    // Slot 1 is no host: its own hut's launch spot does nothing.
    for (int hut : {2, 1, 0}) {
        click(control<QWidget>(desktop.lobby(), QStringLiteral("Launch"), hut));
        EXPECT_TRUE(desktop.transport.takeLines().isEmpty()) << hut;
    }
    EXPECT_TRUE(desktop.shell.started.isEmpty());
    EXPECT_EQ(chatPane(desktop), paneBefore);
    EXPECT_EQ(desktop.state().MyNick, QStringLiteral("MM_aa021Bob"));

    // The names reply frees slot 1's old entry; Bob moves to the host's slot.
    desktop.serverSends(
        QStringLiteral(":irc.test 353 MM_aa021Bob = #ZentharaNET_0 :MM_aa021Bob MM_aa022Ann"));
    desktop.serverSends(QStringLiteral(":irc.test 366 MM_aa021Bob #ZentharaNET_0 :End of NAMES list"));
    click(control<QWidget>(desktop.lobby(), QStringLiteral("Hut"), 20));
    EXPECT_EQ(desktop.state().MyNick, QStringLiteral("MM_aa020Bob"));
    desktop.transport.takeLines();

    click(control<QWidget>(desktop.lobby(), QStringLiteral("Launch"), 1));
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty()) << "the host of hut 2 cannot start hut 1";
    click(control<QWidget>(desktop.lobby(), QStringLiteral("Launch"), 2));
    EXPECT_EQ(desktop.transport.takeLines(),
              QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :[ZENLAUNCH2] 10.1.2.3|||")});
    EXPECT_EQ(desktop.shell.started,
              QStringList{QStringLiteral("eaexec.exe zen3.exe /h tcp /nBob /boundip 10.1.2.3")});
    EXPECT_EQ(chatPane(desktop),
              paneBefore + QStringLiteral("\nLAUNCHING GAME\n") + GameLaunch::PlayingNotice);
    // The playing status follows once the hut has read the launch message.
    QStringList later;
    EXPECT_TRUE(waitUntil(
        [&] {
            later += desktop.transport.takeLines();
            return !later.isEmpty();
        },
        3 * GameLaunch::PlayingAnnounceDelayMs));
    EXPECT_EQ(later, QStringList{QStringLiteral("NICK :MM_abFFFBob")});

    // Playing now, in no hut: a second click starts nothing.
    click(control<QWidget>(desktop.lobby(), QStringLiteral("Launch"), 2));
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty());
    EXPECT_EQ(desktop.shell.started.size(), 1);
}

TEST(LobbyActions, ABotSavedInTheEditorAnswersOnlyAfterBotupdate)
{
    Desktop desktop;
    desktop.folder.write(QStringLiteral("bot.dat"), "a|1\r\nb|2\r\nc|3\r\n");
    desktop.enterLobby();
    type(desktop, QStringLiteral("/botedit"));
    EditForm* editor = desktop.forms.editForm();
    ASSERT_TRUE(editor->isVisible());

    click(control<QPushButton>(editor, QStringLiteral("Command4")));
    control<QLineEdit>(editor, QStringLiteral("Text1"))->setText(QStringLiteral("yo"));
    control<QLineEdit>(editor, QStringLiteral("Text2"))->setText(QStringLiteral("sup"));
    click(control<QPushButton>(editor, QStringLiteral("Command3")));
    click(control<QPushButton>(editor, QStringLiteral("Command1")));
    EXPECT_EQ(desktop.folder.read(QStringLiteral("bot.dat")), QByteArrayLiteral("yo|sup\r\n"));

    desktop.serverSends(chanMsg(QStringLiteral("MM_aaFFFAnn"), QStringLiteral("yo")));
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty()) << "the running bot still has the old rows";

    type(desktop, QStringLiteral("/botupdate"));
    EXPECT_TRUE(
        chatPane(desktop).endsWith(QStringLiteral("\n-=NOTICE: You Have Updated Your Bot Respoces=-")));
    EXPECT_TRUE(desktop.shell.messages.empty());
    desktop.serverSends(chanMsg(QStringLiteral("MM_aaFFFAnn"), QStringLiteral("YO")));
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :sup")});
    // Rows after the one just read keep their old contents and still answer.
    desktop.serverSends(chanMsg(QStringLiteral("MM_aaFFFAnn"), QStringLiteral("b")));
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :2")});
    desktop.serverSends(chanMsg(QStringLiteral("MM_aaFFFAnn"), QStringLiteral("a")));
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty());
}

} // namespace
