// The lobby window: chat input, caption, hut slots, user lists, name card.
#include "uitest.h"

#include "eventwait.h"
#include "lobby/gamelaunch.h"
#include "ui/imagebutton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Tick = 20;
constexpr int Wait = 5000;

QLineEdit* input(Desktop& desktop)
{
    return control<QLineEdit>(desktop.lobby(), QStringLiteral("OUTCHAT"));
}

QString chatPane(Desktop& desktop)
{
    return control<QPlainTextEdit>(desktop.lobby(), QStringLiteral("INCHAT"))->toPlainText();
}

ImageButton* slot(Desktop& desktop, int index)
{
    return control<ImageButton>(desktop.lobby(), QStringLiteral("Hut"), index);
}

bool shows(const ImageButton* image, const QPixmap& picture)
{
    return image->pixmap().toImage() == picture.toImage();
}

TEST(LobbyWindow, EnterInTheChatInputClicksSend)
{
    Desktop desktop;
    desktop.enterLobby();
    QTest::keyClicks(input(desktop), QStringLiteral("hello all"));
    QTest::keyClick(input(desktop), Qt::Key_Return);

    EXPECT_EQ(desktop.transport.takeLines(),
              QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :hello all")});
    EXPECT_TRUE(input(desktop)->text().isEmpty());
    EXPECT_TRUE(chatPane(desktop).endsWith(QStringLiteral("\nBob> hello all")));

    // Enter held down repeats: the repeats send nothing more.
    QTest::keyClicks(input(desktop), QStringLiteral("once"));
    QTest::keyPress(input(desktop), Qt::Key_Return);
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
        QApplication::sendEvent(input(desktop), &repeat);
    }
    QTest::keyRelease(input(desktop), Qt::Key_Return);
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :once")});

    // SEND with nothing typed still sends the empty line.
    click(control<QPushButton>(desktop.lobby(), QStringLiteral("SEND")));
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{QStringLiteral("PRIVMSG #ZentharaNET_0 :")});
}

TEST(LobbyWindow, TheInputIsEmptiedAfterEveryCommand)
{
    const QString typed[] = {QStringLiteral("/away back soon"), QStringLiteral("/kick Eve"),
                             QStringLiteral("/botupdate"), QStringLiteral("/select")};
    Desktop desktop;
    desktop.enterLobby();
    for (const QString& text : typed) {
        QTest::keyClicks(input(desktop), text);
        click(control<QPushButton>(desktop.lobby(), QStringLiteral("SEND")));
        EXPECT_TRUE(input(desktop)->text().isEmpty()) << text.toStdString();
    }
    EXPECT_TRUE(chatPane(desktop).contains(QStringLiteral("\nYou Have Voted To Kick Eve\n")));
    EXPECT_TRUE(chatPane(desktop).endsWith(QStringLiteral("Lobby Switch... Connecting...")));
}

TEST(LobbyWindow, TheChatInputGettingTheFocusBringsAPlayerBackFromAGame)
{
    Desktop desktop;
    desktop.enterLobby();
    QApplication::setActiveWindow(desktop.lobby());
    ASSERT_TRUE(input(desktop)->hasFocus());
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty()); // chatting already: nothing to announce

    desktop.state().MyNick = QStringLiteral("MM_abFFFBob");
    QWidget* list = control<QWidget>(desktop.lobby(), QStringLiteral("CHAT"));
    list->setFocus();
    ASSERT_TRUE(list->hasFocus());
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty());

    input(desktop)->setFocus();
    EXPECT_EQ(desktop.transport.takeLines(), QStringList{QStringLiteral("NICK :MM_aaFFFBob")});
}

TEST(LobbyWindow, ClosingTheLobbyEndsTheProgramWithoutAWord)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.lobby()->close();
    EXPECT_EQ(desktop.shell.endCount, 1);
    EXPECT_EQ(desktop.transport.state(), SocketState::Closed);
    EXPECT_TRUE(desktop.transport.sent().isEmpty());
}

TEST(LobbyWindow, ASocketFailureShowsOneMessageWhileItStaysOpen)
{
    for (const bool whileConnecting : {true, false}) {
        SCOPED_TRACE(whileConnecting ? "while connecting" : "while connected");
        Desktop desktop;
        desktop.logIn(QStringLiteral("Bob"));
        desktop.forms.client().setTimerIntervals(Tick, Tick);
        click(control<QWidget>(desktop.select(), QStringLiteral("LBYSEL"), 0));
        if (!whileConnecting)
            desktop.transport.acceptConnection();
        // A message box runs the event loop until the player closes it; the
        // reconnect timer must not start another connection meanwhile.
        bool reconnectedMeanwhile = true;
        desktop.shell.onMessage = [&](const QString&) {
            const int connects = desktop.transport.connectCount;
            reconnectedMeanwhile = waitUntil([&] { return desktop.transport.connectCount > connects; }, 20 * Tick);
        };
        desktop.transport.fail(1, QStringLiteral("Connection refused"));

        ASSERT_EQ(desktop.shell.messages.size(), 1u);
        EXPECT_EQ(desktop.shell.messages[0].text,
                  whileConnecting ? QStringLiteral("Could Not Find Host")
                                  : QStringLiteral("Error: 1; \r\nConnection refused"));
        EXPECT_FALSE(reconnectedMeanwhile);
        EXPECT_EQ(desktop.shell.endCount, 1);
    }
}

const QString NamesReply = QStringLiteral(
    ":irc.test 353 MM_aaFFFBob = #ZentharaNET_0 :MM_aa021Ann MM_aa030Cid @MM_aaFFFBob MM_acFFFDee Zed\r\n"
    ":irc.test 366 MM_aaFFFBob #ZentharaNET_0 :End of NAMES list\r\n");

TEST(LobbyWindow, SlotsShowTheHutTableAtTheNextTick)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.forms.client().setTimerIntervals(Tick, 100000);
    const Pictures& pictures = desktop.forms.pictures();
    desktop.transport.deliver(NamesReply.toLatin1());
    // The slots lag the table until the refresh runs.
    EXPECT_TRUE(shows(slot(desktop, 21), pictures.PlayerOUT));

    ASSERT_TRUE(waitUntil([&] { return slot(desktop, 21)->toolTip() == QStringLiteral("Ann"); }, Wait));
    for (int hut = 0; hut < 4; ++hut) {
        for (int s = 0; s < 4; ++s) {
            const int index = 10 * hut + s;
            SCOPED_TRACE(index);
            const QString occupant = index == 21   ? QStringLiteral("Ann")
                                     : index == 30 ? QStringLiteral("Cid")
                                                   : QString();
            ImageButton* image = slot(desktop, index);
            EXPECT_TRUE(shows(image, occupant.isEmpty() ? pictures.PlayerOUT : pictures.PlayerIN));
            EXPECT_EQ(image->toolTip(), occupant);
            EXPECT_EQ(image->accessibleDescription(), occupant);
        }
    }

    // The own click takes a free slot at once, before the server confirms it.
    click(slot(desktop, 12));
    EXPECT_EQ(desktop.transport.takeLines(),
              (QStringList{QStringLiteral("NICK :MM_aa012Bob"), QString(),
                           QStringLiteral("NAMES #ZentharaNET_0"), QString()}));
    ASSERT_TRUE(waitUntil([&] { return slot(desktop, 12)->toolTip() == QStringLiteral("Bob"); }, Wait));
    EXPECT_TRUE(shows(slot(desktop, 12), pictures.PlayerIN));
    // A taken slot ignores the click.
    click(slot(desktop, 21));
    EXPECT_TRUE(desktop.transport.takeLines().isEmpty());
}

TEST(LobbyWindow, AReconnectShowsEverySlotFreeAgain)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.forms.client().setTimerIntervals(Tick, Tick);
    desktop.transport.deliver(NamesReply.toLatin1());
    ASSERT_TRUE(waitUntil([&] { return !slot(desktop, 30)->toolTip().isEmpty(); }, Wait));

    desktop.transport.closeFromServer();
    ASSERT_TRUE(waitUntil([&] { return desktop.transport.connectCount == 2; }, Wait));
    for (int index : {21, 30})
        EXPECT_TRUE(shows(slot(desktop, index), desktop.forms.pictures().PlayerOUT)) << index;
    const auto* chatting = control<QListWidget>(desktop.lobby(), QStringLiteral("CHAT"));
    ASSERT_EQ(chatting->count(), 1);
    EXPECT_EQ(chatting->item(0)->text(), QStringLiteral("Getting User List..."));
}

TEST(LobbyWindow, TheHostsLaunchSpotStartsTheGameOrSaysWhyNot)
{
    Desktop desktop;
    desktop.enterLobby();
    click(slot(desktop, 10));
    desktop.shell.startSucceeds = false;
    click(control<QWidget>(desktop.lobby(), QStringLiteral("Launch"), 1));
    ASSERT_EQ(desktop.shell.started.size(), 1);
    EXPECT_TRUE(desktop.shell.started[0].startsWith(QStringLiteral("eaexec.exe ")));
    EXPECT_TRUE(chatPane(desktop).endsWith(QStringLiteral("\nLAUNCHING GAME\n") + GameLaunch::PlayingNotice +
                                           QStringLiteral("\nCould Not Start eaexec.exe")))
        << chatPane(desktop).right(80).toStdString();
}

TEST(LobbyWindow, TheUserListsFollowTheNamesReplyAndTheNameCardShowsTheOneDoubleClicked)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.transport.deliver(NamesReply.toLatin1());
    auto* chatting = control<QListWidget>(desktop.lobby(), QStringLiteral("CHAT"));
    QStringList shown;
    for (int i = 0; i < chatting->count(); ++i)
        shown << chatting->item(i)->text();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Ann"), QStringLiteral("Cid"), QStringLiteral("Bob"),
                                  QStringLiteral("(Away)Dee"), QStringLiteral("Zed")}));
    EXPECT_EQ(control<QListWidget>(desktop.lobby(), QStringLiteral("PLAY"))->count(), 0);
    QWidget* card = control<QWidget>(desktop.lobby(), QStringLiteral("Popup"));
    auto* name = control<QLabel>(desktop.lobby(), QStringLiteral("U_NAME"));
    ASSERT_FALSE(card->isVisible());

    // Nothing selected yet: the card opens with an empty name. A double click
    // is a click followed by the double-click event.
    QTest::mouseClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(10, chatting->viewport()->height() - 4));
    QTest::mouseDClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(10, chatting->viewport()->height() - 4));
    EXPECT_TRUE(card->isVisible());
    EXPECT_TRUE(name->text().isEmpty());

    const QRect away = chatting->visualItemRect(chatting->item(3));
    QTest::mouseClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, away.center());
    QTest::mouseDClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, away.center());
    EXPECT_TRUE(card->isVisible());
    EXPECT_EQ(name->text(), QStringLiteral("(Away)Dee"));

    click(control<QWidget>(card, QStringLiteral("Image1")));
    EXPECT_FALSE(card->isVisible());
}

TEST(LobbyWindow, SelectAndBotEditHandTheLobbyOver)
{
    Desktop desktop;
    desktop.enterLobby();
    QTest::keyClicks(input(desktop), QStringLiteral("/BOTEDIT"));
    QTest::keyClick(input(desktop), Qt::Key_Return);
    EXPECT_TRUE(desktop.forms.editForm()->isVisible());
    EXPECT_TRUE(desktop.lobby()->isVisible());

    QTest::keyClicks(input(desktop), QStringLiteral("/Select"));
    QTest::keyClick(input(desktop), Qt::Key_Return);
    EXPECT_FALSE(desktop.lobby()->isVisible());
    EXPECT_TRUE(desktop.select()->isVisible());
}

} // namespace
