// Renders the login, lobby selection and lobby windows, as a player sees them,
// to PNG files in the build folder (screenshots/).
#include "uitest.h"

#include "eventwait.h"
#include "ui/imagebutton.h"

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
    const QImage shot = window->grab().toImage();
    ASSERT_EQ(shot.size(), window->size() * window->devicePixelRatio());
    const QString path = QDir(Folder).filePath(name);
    ASSERT_TRUE(shot.save(path)) << path.toStdString();
    const QImage back(path);
    EXPECT_EQ(back.size(), shot.size());
}

TEST(Screenshots, LoginLobbySelectionAndLobby)
{
    Desktop desktop;
    desktop.forms.Main();
    QTest::keyClicks(control<QLineEdit>(desktop.login(), QStringLiteral("NICKNAMEBOX")),
                     QStringLiteral("Ann"));
    save(desktop.login(), QStringLiteral("login.png"));

    click(control<QWidget>(desktop.login(), QStringLiteral("Command1")));
    save(desktop.select(), QStringLiteral("lobbyselect.png"));

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
    save(lobby, QStringLiteral("lobby.png"));

    auto* chatting = control<QListWidget>(lobby, QStringLiteral("CHAT"));
    const QPoint bob = chatting->visualItemRect(chatting->item(1)).center();
    QTest::mouseClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, bob);
    QTest::mouseDClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, bob);
    save(lobby, QStringLiteral("lobby-namecard.png"));
}

} // namespace
