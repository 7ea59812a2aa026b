// The program's real windows in this process, on a real socket, against a
// real ngIRCd, with a second player built from the core alone. Huts, launch,
// links and kicks among more players are in the game-night test.
#include "coreclient.h"
#include "ngircdserver.h"
#include "uitest.h"

#include "irc/tcptransport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Wait = 10000;

TEST(WindowsOnServer, LogInPickALobbyAndTalkWithAnotherPlayer)
{
    NgircdServer server;
    server.setFloodPenalties(false);
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();

    TcpTransport transport;
    WatchingShell shell;
    ProgramFolder folder;
    shell.folder = folder.path();
    Forms forms(transport, shell);
    forms.Main();
    forms.client().state().ServerHost = server.host();
    forms.client().state().ServerPort = qint16(server.port());
    forms.client().setTimerIntervals(50, 6000);

    LoginForm* login = forms.loginForm();
    QTest::keyClicks(control<QLineEdit>(login, QStringLiteral("NICKNAMEBOX")), QStringLiteral("Ann"));
    click(control<QWidget>(login, QStringLiteral("Command1")));
    click(control<QWidget>(forms.lobbySelect(), QStringLiteral("LBYSEL"), 0));

    LobbyWindow* lobby = forms.lobby();
    const auto* pane = control<QPlainTextEdit>(lobby, QStringLiteral("INCHAT"));
    const auto* chatting = control<QListWidget>(lobby, QStringLiteral("CHAT"));
    ASSERT_TRUE(waitUntil([&] { return lobby->isVisible(); }, Wait));
    ASSERT_TRUE(waitUntil(
        [&] {
            return pane->toPlainText().startsWith(
                QStringLiteral("<--WELCOME TO ZentharaNET hosted by 127.0.0.1"));
        },
        Wait))
        << pane->toPlainText().toStdString();
    ASSERT_TRUE(waitUntil([&] { return listItems(chatting).contains(QStringLiteral("Ann")); }, Wait))
        << listItems(chatting).join(u',').toStdString();
    EXPECT_TRUE(waitUntil(
        [&] {
            return lobby->windowTitle() ==
                   QStringLiteral("Zenthara Razaz Aduda Clone - Logged in As: Ann in Lobby: ZentharaNET_0");
        },
        Wait))
        << lobby->windowTitle().toStdString();

    CoreClient eve(QStringLiteral("Eve"), QStringLiteral("#ZentharaNET_0"), server.port());
    eve.client.Form_Load();
    ASSERT_TRUE(waitUntil(
        [&] {
            return listItems(chatting).contains(QStringLiteral("Eve")) &&
                   eve.inChatList(QStringLiteral("Ann"));
        },
        Wait))
        << listItems(chatting).join(u',').toStdString();

    eve.client.SEND_Click(QStringLiteral("hello from Eve"));
    ASSERT_TRUE(waitUntil(
        [&] { return pane->toPlainText().endsWith(QStringLiteral("\nEve> hello from Eve")); }, Wait))
        << pane->toPlainText().right(200).toStdString();

    auto* input = control<QLineEdit>(lobby, QStringLiteral("OUTCHAT"));
    QTest::keyClicks(input, QStringLiteral("hi Eve"));
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_TRUE(pane->toPlainText().endsWith(QStringLiteral("\nAnn> hi Eve")));
    EXPECT_TRUE(waitUntil([&] { return eve.view.chat.endsWith(QStringLiteral("Ann> hi Eve\r\n")); }, Wait));

    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endCount, 0);
}

} // namespace
