// A game night on a real ngIRCd: one player at the program's real windows,
// the others on clients built from the core, all in one lobby.
#include "rostersnapshot.h"
#include "simplayer.h"

#include "eventwait.h"
#include "ngircdserver.h"
#include "uitest.h"

#include "ui/imagebutton.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Wait = 20000;

TEST(GameNight, TheWindowsTakeAHutAndStartTheGameForTheHut)
{
    NgircdServer server;
    ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    // Ann at the windows types her name and picks lobby 0; Bob, Cid and Dee run on the core.
    TcpTransport transport;
    FakeShell shell;
    ProgramFolder folder;
    shell.folder = folder.path();
    Forms forms{transport, shell};
    forms.Main();
    forms.client().state().ServerHost = server.host();
    forms.client().state().ServerPort = qint16(server.port());
    forms.client().setTimerIntervals(50, LobbyClient::ReconnectIntervalMs);
    QTest::keyClicks(control<QLineEdit>(forms.loginForm(), QStringLiteral("NICKNAMEBOX")),
                     QStringLiteral("Ann"));
    click(control<QWidget>(forms.loginForm(), QStringLiteral("Command1")));
    click(control<QWidget>(forms.lobbySelect(), QStringLiteral("LBYSEL"), 0));
    LobbyWindow* lobby = forms.lobby();
    std::vector<std::unique_ptr<SimPlayer>> cores;
    for (const char* name : {"Bob", "Cid", "Dee"}) {
        cores.push_back(
            std::make_unique<SimPlayer>(QString::fromLatin1(name), SimTarget{server.host(), server.port()}));
        cores.back()->enter();
    }
    const auto everyone = [&](const std::function<bool(const SimPlayer&)>& holds) {
        return waitUntil(
            [&] { return std::all_of(cores.begin(), cores.end(), [&](const auto& c) { return holds(*c); }); },
            Wait);
    };

    ASSERT_TRUE(everyone([](const SimPlayer& c) { return c.view().chatList().size() == 4; }));

    // Ann takes hut 2 in the window, the three others join her.
    click(control<ImageButton>(lobby, QStringLiteral("Hut"), 20));
    for (int i = 0; i < 3; ++i)
        cores[size_t(i)]->client().Hut_Click(21 + i);
    const auto* lastSeat = control<ImageButton>(lobby, QStringLiteral("Hut"), 23);
    EXPECT_TRUE(waitUntil([&] { return lastSeat->toolTip() == "Dee"; }, Wait));
    ASSERT_TRUE(everyone([](const SimPlayer& c) { return RosterSnapshot::of(c).occupiedSlots() == 4; }));

    click(control<ImageButton>(lobby, QStringLiteral("Launch"), 2));
    EXPECT_EQ(shell.started.value(0), "eaexec.exe zen3.exe /h tcp /nAnn /boundip 127.0.0.1");
    EXPECT_TRUE(everyone([](const SimPlayer& c) { return c.shell().started().size() == 1; }));
    EXPECT_EQ(cores[0]->shell().started().value(0),
              "eaexec.exe zen3.exe /j tcp 127.0.0.1 /nBob /boundip 127.0.0.1");
    // The next names reply reaches the window's lists: all four play.
    const auto* chat = control<QListWidget>(lobby, QStringLiteral("CHAT"));
    const auto* play = control<QListWidget>(lobby, QStringLiteral("PLAY"));
    EXPECT_TRUE(waitUntil([&] { return chat->count() == 0 && play->count() == 4; }, Wait));
}

} // namespace
