// Renders every window as a player sees it (login, lobby selection, lobby,
// lobby with a name card, bot editor) to PNG files in the build folder
// (screenshots/), "@2x" in the name on a screen of device pixel ratio 2.
#include "uitest.h"

#include "eventwait.h"
#include "ui/imagebutton.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString Folder = QStringLiteral(ZEN_SCREENSHOT_DIR);

void save(QWidget* window, const QString& name)
{
    ASSERT_TRUE(QDir().mkpath(Folder));
    // Active, as the window the player works in: its focus shows.
    QApplication::setActiveWindow(window);
    const QImage shot = window->grab().toImage();
    const qreal scale = window->devicePixelRatio();
    ASSERT_EQ(shot.size(), window->size() * scale);
    const QString at = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
    const QString path = QDir(Folder).filePath(name + at + QStringLiteral(".png"));
    ASSERT_TRUE(shot.save(path)) << path.toStdString();
    const QImage back(path);
    EXPECT_EQ(back.size(), shot.size());
}

TEST(Screenshots, EveryWindow)
{
    Desktop desktop;
    desktop.forms.Main();
    QTest::keyClicks(control<QLineEdit>(desktop.login(), QStringLiteral("NICKNAMEBOX")),
                     QStringLiteral("Ann"));
    save(desktop.login(), QStringLiteral("login"));

    click(control<QWidget>(desktop.login(), QStringLiteral("Command1")));
    save(desktop.select(), QStringLiteral("lobbyselect"));

    click(control<QWidget>(desktop.select(), QStringLiteral("LBYSEL"), 0));
    desktop.transport.acceptConnection();
    LobbyWindow* lobby = desktop.lobby();
    desktop.forms.client().setTimerIntervals(20, 100000);
    desktop.transport.deliver(
        ":lobby.zenlobby.local 001 MM_aaFFFAnn :Welcome to the Internet Relay Network\r\n"
        ":lobby.zenlobby.local 353 MM_aaFFFAnn = #ZentharaNET_0 :@MM_aa000Ann MM_aa001Bob MM_aa020Cid "
        "MM_acFFFDee MM_adFFFEve MM_abFFFFay MM_abFFFGus Zed\r\n"
        ":lobby.zenlobby.local 366 MM_aaFFFAnn #ZentharaNET_0 :End of NAMES list\r\n");
    desktop.transport.deliver(
        ":MM_aa001Bob!~MM_aa001B@127.0.0.1 PRIVMSG #ZentharaNET_0 :anyone up for a 2v2?\r\n");
    desktop.transport.deliver(
        ":MM_aa020Cid!~MM_aa020C@127.0.0.1 PRIVMSG #ZentharaNET_0 :hut 3 needs one more\r\n");
    QTest::keyClicks(control<QLineEdit>(lobby, QStringLiteral("OUTCHAT")),
                     QStringLiteral("count me in, hut 1"));
    QTest::keyClick(control<QLineEdit>(lobby, QStringLiteral("OUTCHAT")), Qt::Key_Return);
    ASSERT_TRUE(waitUntil(
        [&] {
            return control<ImageButton>(lobby, QStringLiteral("Hut"), 20)->toolTip() == QStringLiteral("Cid");
        },
        5000));
    save(lobby, QStringLiteral("lobby"));

    auto* chatting = control<QListWidget>(lobby, QStringLiteral("CHAT"));
    const QPoint bob = chatting->visualItemRect(chatting->item(1)).center();
    QTest::mouseClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, bob);
    QTest::mouseDClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, bob);
    save(lobby, QStringLiteral("lobby-namecard"));

    desktop.type(QStringLiteral("/botedit"));
    save(desktop.forms.editForm(), QStringLiteral("editor"));
}

} // namespace
