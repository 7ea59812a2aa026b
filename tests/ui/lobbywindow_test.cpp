// The lobby window, from its widgets to the lines the server gets: the chat
// input, hut slots and launch spots, user lists, name card, and a bot taught
// in the editor.
#include "uitest.h"

#include "eventwait.h"
#include "lobby/gamelaunch.h"
#include "ui/imagebutton.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Tick = 20;
constexpr int Wait = 5000;

// The program with its lobby window open.
struct InLobby : Desktop {
    InLobby() { enterLobby(); }
    ImageButton* slot(int index) { return control<ImageButton>(lobby(), QStringLiteral("Hut"), index); }
    void clickLaunch(int hut) { click(control<QWidget>(lobby(), QStringLiteral("Launch"), hut)); }
};

bool shows(const ImageButton* image, const QPixmap& picture)
{
    return image->pixmap().toImage() == picture.toImage();
}

const QString NamesReply = QStringLiteral(
    ":irc.test 353 MM_aaFFFBob = #ZentharaNET_0 :MM_aa021Ann MM_aa030Cid @MM_aaFFFBob MM_acFFFDee Zed\r\n"
    ":irc.test 366 MM_aaFFFBob #ZentharaNET_0 :End of NAMES list\r\n");

TEST(LobbyWindow, EnterOrSendSendsTheInputOnceAndEmptiesIt)
{
    InLobby lobby;
    lobby.type(QStringLiteral("hello all"));
    EXPECT_EQ(lobby.transport.takeLines(), QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :hello all")});
    EXPECT_TRUE(lobby.input()->text().isEmpty());
    EXPECT_TRUE(lobby.pane().endsWith(QStringLiteral("\nBob> hello all")));

    // Enter held down repeats: the repeats send nothing more.
    QTest::keyClicks(lobby.input(), QStringLiteral("once"));
    QTest::keyPress(lobby.input(), Qt::Key_Return);
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
        QApplication::sendEvent(lobby.input(), &repeat);
    }
    QTest::keyRelease(lobby.input(), Qt::Key_Return);
    EXPECT_EQ(lobby.transport.takeLines(), QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :once")});

    // SEND with nothing typed still sends the empty line.
    click(control<QWidget>(lobby.lobby(), QStringLiteral("SEND")));
    EXPECT_EQ(lobby.transport.takeLines(), QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :")});
}

TEST(LobbyWindow, WhatIsTypedReachesTheCommandsUntrimmedAndTheInputIsEmptied)
{
    // The command rules are tested on the core; here the window's part.
    const struct {
        QString typed;
        QStringList sent;
        QString paneEnd;
    } cases[] = {
        {"/away", {"NICK :MM_acFFFBob"}, ""},
        {"/kick Eve ",
         {"PRIVMSG #ZentharaNET_0 :[ZENKICK] MM_aa021Bob>Eve |||"},
         "\nYou Have Voted To Kick Eve "},
        {" /away", {"PRIVMSG #ZentharaNET_0 : /away"}, "\nBob>  /away"},
        {"/me waves  ", {"PRIVMSG #ZentharaNET_0 :/me waves  "}, "\nBob> /me waves  "},
        {"/kick", {}, "\nType /kick <USER> to vote a user to be kicked"},
        {"/select", {}, "\nLobby Switch... Connecting..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        InLobby lobby;
        lobby.state().MyNick = QStringLiteral("MM_aa021Bob");
        lobby.type(c.typed);
        EXPECT_EQ(lobby.transport.takeLines(), c.sent);
        EXPECT_TRUE(lobby.input()->text().isEmpty());
        EXPECT_TRUE(lobby.pane().endsWith(c.paneEnd)) << lobby.pane().right(80).toStdString();
    }
}

TEST(LobbyWindow, TheChatInputGettingTheFocusBringsAPlayerBackFromAGame)
{
    InLobby lobby;
    QApplication::setActiveWindow(lobby.lobby());
    ASSERT_TRUE(lobby.input()->hasFocus());
    EXPECT_TRUE(lobby.transport.takeLines().isEmpty()); // chatting already: nothing to announce

    lobby.state().MyNick = QStringLiteral("MM_abFFFBob");
    control<QWidget>(lobby.lobby(), QStringLiteral("CHAT"))->setFocus();
    EXPECT_TRUE(lobby.transport.takeLines().isEmpty());
    lobby.input()->setFocus();
    EXPECT_EQ(lobby.transport.takeLines(), QStringList{QStringLiteral("NICK :MM_aaFFFBob")});
}

TEST(LobbyWindow, ClosingTheLobbyEndsTheProgramWithoutAWord)
{
    InLobby lobby;
    lobby.lobby()->close();
    EXPECT_EQ(lobby.shell.endCount, 1);
    EXPECT_EQ(lobby.transport.state(), SocketState::Closed);
    EXPECT_TRUE(lobby.transport.sent().isEmpty());
}

TEST(LobbyWindow, ASocketFailureShowsOneMessageWhileItStaysOpen)
{
    for (const bool whileConnecting : {true, false}) {
        SCOPED_TRACE(whileConnecting ? "while connecting" : "while connected");
        Desktop desktop;
        desktop.logIn(QStringLiteral("Bob"));
        click(control<QWidget>(desktop.select(), QStringLiteral("LBYSEL"), 0));
        if (!whileConnecting)
            desktop.transport.acceptConnection();
        // A message box runs the event loop until the player closes it; a
        // reconnect tick meanwhile must not start another connection.
        int connectsMeanwhile = -1;
        desktop.shell.onMessage = [&](const QString&) {
            desktop.forms.client().ReConnect_Timer();
            connectsMeanwhile = desktop.transport.connectCount;
        };
        desktop.transport.fail(1, QStringLiteral("Connection refused"));

        ASSERT_EQ(desktop.shell.messages.size(), 1u);
        EXPECT_EQ(desktop.shell.messages[0].text, whileConnecting
                                                      ? QStringLiteral("Could Not Find Host")
                                                      : QStringLiteral("Error: 1; \r\nConnection refused"));
        EXPECT_EQ(connectsMeanwhile, 1);
        EXPECT_EQ(desktop.shell.endCount, 1);
    }
}

TEST(LobbyWindow, SlotsShowTheHutTableAtTheNextTickToEyesAndScreenReaders)
{
    InLobby lobby;
    lobby.forms.client().setTimerIntervals(Tick, 100000);
    const Pictures& pictures = lobby.forms.pictures();
    lobby.transport.deliver(NamesReply.toLatin1());
    // The slots lag the table until the refresh runs.
    EXPECT_TRUE(shows(lobby.slot(21), pictures.PlayerOUT));

    ASSERT_TRUE(waitUntil([&] { return lobby.slot(21)->toolTip() == QStringLiteral("Ann"); }, Wait));
    for (int hut = 0; hut < 4; ++hut) {
        for (int s = 0; s < 4; ++s) {
            SCOPED_TRACE(10 * hut + s);
            const QString occupant = hut == 2 && s == 1   ? QStringLiteral("Ann")
                                     : hut == 3 && s == 0 ? QStringLiteral("Cid")
                                                          : QString();
            ImageButton* image = lobby.slot(10 * hut + s);
            EXPECT_TRUE(shows(image, occupant.isEmpty() ? pictures.PlayerOUT : pictures.PlayerIN));
            EXPECT_EQ(image->toolTip(), occupant);
            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(image);
            EXPECT_EQ(read->text(QAccessible::Name), QStringLiteral("Hut %1 slot %2").arg(hut).arg(s));
            EXPECT_EQ(read->text(QAccessible::Description), occupant);
        }
    }

    // A taken slot ignores the click; a free one is taken at once, before
    // the server confirms it.
    click(lobby.slot(21));
    EXPECT_TRUE(lobby.transport.takeLines().isEmpty());
    click(lobby.slot(12));
    EXPECT_EQ(lobby.transport.takeLines(), (QStringList{QStringLiteral("NICK :MM_aa012Bob"), QString(),
                                                        QStringLiteral("NAMES #ZentharaNET_0"), QString()}));
    ASSERT_TRUE(waitUntil([&] { return lobby.slot(12)->toolTip() == QStringLiteral("Bob"); }, Wait));
    EXPECT_TRUE(shows(lobby.slot(12), pictures.PlayerIN));
}

TEST(LobbyWindow, OnlyTheLaunchSpotOfTheHostsOwnHutStartsTheGame)
{
    InLobby lobby;
    // The window is active with the focus in the chat input before the clicks.
    QApplication::setActiveWindow(lobby.lobby());
    ASSERT_TRUE(QTest::qWaitForWindowActive(lobby.lobby()));
    ASSERT_TRUE(lobby.input()->hasFocus());
    lobby.transport.setLocalIP(QStringLiteral("10.1.2.3"));
    const QString paneBefore = lobby.pane();

    click(lobby.slot(20));
    EXPECT_EQ(lobby.state().MyNick, QStringLiteral("MM_aa020Bob"));
    lobby.transport.takeLines();
    for (int hut : {0, 1, 3}) {
        lobby.clickLaunch(hut);
        EXPECT_TRUE(lobby.transport.takeLines().isEmpty()) << "the host of hut 2 cannot start hut " << hut;
    }
    EXPECT_TRUE(lobby.shell.started.isEmpty());
    EXPECT_EQ(lobby.pane(), paneBefore);

    // A launcher that cannot start is said in the chat.
    lobby.shell.startSucceeds = false;
    lobby.clickLaunch(2);
    EXPECT_EQ(lobby.transport.takeLines(),
              QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :[ZENLAUNCH2] 10.1.2.3|||")});
    EXPECT_EQ(lobby.shell.started,
              QStringList{QStringLiteral("eaexec.exe zen3.exe /h tcp /nBob /boundip 10.1.2.3")});
    EXPECT_EQ(lobby.pane(), paneBefore + QStringLiteral("\nLAUNCHING GAME\n") + GameLaunch::PlayingNotice +
                                QStringLiteral("\nCould Not Start eaexec.exe"));
}

TEST(LobbyWindow, TheUserListsFollowTheNamesReplyAndTheNameCardShowsTheOneDoubleClicked)
{
    InLobby lobby;
    lobby.transport.deliver(NamesReply.toLatin1());
    auto* chatting = control<QListWidget>(lobby.lobby(), QStringLiteral("CHAT"));
    EXPECT_EQ(listItems(chatting),
              (QStringList{QStringLiteral("Ann"), QStringLiteral("Cid"), QStringLiteral("Bob"),
                           QStringLiteral("(Away)Dee"), QStringLiteral("Zed")}));
    EXPECT_EQ(control<QListWidget>(lobby.lobby(), QStringLiteral("PLAY"))->count(), 0);
    QWidget* card = control<QWidget>(lobby.lobby(), QStringLiteral("Popup"));
    auto* name = control<QLabel>(lobby.lobby(), QStringLiteral("U_NAME"));
    ASSERT_FALSE(card->isVisible());

    // Below the items nothing is selected: the card opens with an empty
    // name. A double click is a click followed by the double-click event.
    const std::pair<QPoint, QString> clicks[] = {
        {QPoint(10, chatting->viewport()->height() - 4), QString()},
        {chatting->visualItemRect(chatting->item(3)).center(), QStringLiteral("(Away)Dee")}};
    for (const auto& [at, shown] : clicks) {
        QTest::mouseClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_TRUE(card->isVisible());
        EXPECT_EQ(name->text(), shown);
    }
    click(control<QWidget>(card, QStringLiteral("Image1")));
    EXPECT_FALSE(card->isVisible());
}

TEST(LobbyWindow, ABotSavedInTheEditorAnswersOnlyAfterBotupdate)
{
    InLobby lobby;
    lobby.type(QStringLiteral("/botedit"));
    EditForm* editor = lobby.forms.editForm();
    ASSERT_TRUE(editor->isVisible());
    click(control<QWidget>(editor, QStringLiteral("Command4")));
    control<QLineEdit>(editor, QStringLiteral("Text1"))->setText(QStringLiteral("yo"));
    control<QLineEdit>(editor, QStringLiteral("Text2"))->setText(QStringLiteral("sup"));
    click(control<QWidget>(editor, QStringLiteral("Command3")));
    click(control<QWidget>(editor, QStringLiteral("Command1")));
    EXPECT_EQ(lobby.folder.read(QStringLiteral("bot.dat")), QByteArrayLiteral("yo|sup\r\n"));

    const QString yo = QStringLiteral(":MM_aaFFFAnn!user@host.test PRIVMSG #ZentharaNET_0 :YO");
    lobby.serverSends(yo);
    EXPECT_TRUE(lobby.transport.takeLines().isEmpty()) << "the running bot still has the old rows";
    lobby.type(QStringLiteral("/botupdate"));
    EXPECT_TRUE(lobby.pane().endsWith(QStringLiteral("\n-=NOTICE: You Have Updated Your Bot Respoces=-")));
    EXPECT_TRUE(lobby.shell.messages.empty());
    lobby.serverSends(yo);
    EXPECT_EQ(lobby.transport.takeLines(), QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :sup")});
}

} // namespace
