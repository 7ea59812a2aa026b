// A game night on a real ngIRCd: one player at the program's real windows,
// the others on clients built from the core, all in one lobby.
#include "coreclient.h"
#include "ngircdserver.h"
#include "uitest.h"

#include "irc/tcptransport.h"
#include "lobby/gamelaunch.h"
#include "ui/imagebutton.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString Lobby0 = QStringLiteral("#ZentharaNET_0");
constexpr int Wait = 20000;

// A player at the real windows: types a name, picks lobby 0, and plays in the
// lobby window by its controls.
struct WindowPlayer {
    TcpTransport transport;
    FakeShell shell;
    ProgramFolder folder;
    Forms forms{transport, shell};

    WindowPlayer(const QString& typedName, const NgircdServer& server)
    {
        shell.folder = folder.path();
        forms.Main();
        state().ServerHost = server.host();
        state().ServerPort = qint16(server.port());
        forms.client().setTimerIntervals(50, LobbyClient::ReconnectIntervalMs);
        QTest::keyClicks(control<QLineEdit>(forms.loginForm(), QStringLiteral("NICKNAMEBOX")), typedName);
        click(control<QWidget>(forms.loginForm(), QStringLiteral("Command1")));
        click(control<QWidget>(forms.lobbySelect(), QStringLiteral("LBYSEL"), 0));
    }

    LobbyWindow* lobby() { return forms.lobby(); }
    Declares& state() { return forms.client().state(); }
    QStringList chatting() { return listItems(control<QListWidget>(lobby(), QStringLiteral("CHAT"))); }
    QStringList playing() { return listItems(control<QListWidget>(lobby(), QStringLiteral("PLAY"))); }
    QString pane() { return control<QPlainTextEdit>(lobby(), QStringLiteral("INCHAT"))->toPlainText(); }
    QLineEdit* input() { return control<QLineEdit>(lobby(), QStringLiteral("OUTCHAT")); }
    void type(const QString& text)
    {
        QTest::keyClicks(input(), text);
        QTest::keyClick(input(), Qt::Key_Return);
    }
};

// Ann at the windows; Bob, Cid, Dee and Eve on the core, all in lobby 0.
class GameNight : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.setFloodPenalties(false);
        ASSERT_TRUE(server.start()) << server.errorString().toStdString();
        ann = std::make_unique<WindowPlayer>(QStringLiteral("Ann"), server);
        for (const char* name : {"Bob", "Cid", "Dee", "Eve"}) {
            cores.push_back(std::make_unique<CoreClient>(QString::fromLatin1(name), Lobby0, server.port()));
            cores.back()->client.Form_Load();
        }
        ASSERT_TRUE(everyoneLists({"Ann", "Bob", "Cid", "Dee", "Eve"}, {})) << dump();
        EXPECT_TRUE(ann->lobby()->isVisible());
    }

    // Waits until every player's lists show exactly `chatting` and `playing`, in any order.
    bool everyoneLists(const QStringList& chatting, const QStringList& playing)
    {
        auto same = [](QStringList shown, QStringList expected) {
            shown.sort();
            expected.sort();
            return shown == expected;
        };
        return waitUntil(
            [&] {
                bool all = same(ann->chatting(), chatting) && same(ann->playing(), playing);
                for (const auto& c : cores)
                    all = all && same(c->view.chatList, chatting) && same(c->view.playList, playing);
                return all;
            },
            Wait);
    }

    // Waits until every player's huts 0 to 3 hold exactly `cells`, each "aa0"
    // + hut + slot + name.
    bool everyoneSeesHuts(const QStringList& cells)
    {
        QString expected[16];
        for (const QString& cell : cells)
            expected[cell[3].digitValue() * 4 + cell[4].digitValue()] = cell;
        auto sees = [&](const Declares& d) {
            for (int i = 0; i < 16; ++i) {
                if (d.HutTable[i / 4][i % 4] != expected[i])
                    return false;
            }
            return true;
        };
        return waitUntil(
            [&] {
                bool all = sees(ann->state());
                for (const auto& c : cores)
                    all = all && sees(c->client.state());
                return all;
            },
            Wait);
    }

    std::string dump()
    {
        QString text = "Ann: " + ann->chatting().join(u',') + " / " + ann->playing().join(u',');
        for (const auto& c : cores)
            text +=
                '\n' + c->name() + ": " + c->view.chatList.join(u',') + " / " + c->view.playList.join(u',');
        return text.toStdString();
    }

    NgircdServer server;
    std::unique_ptr<WindowPlayer> ann;
    std::vector<std::unique_ptr<CoreClient>> cores;
};

TEST_F(GameNight, FourTakeHutTwoAndTheHostsClickStartsTheGameOnAllFour)
{
    CoreClient& bob = *cores[0];
    CoreClient& eve = *cores[3];
    click(control<ImageButton>(ann->lobby(), QStringLiteral("Hut"), 20));
    for (int i = 0; i < 3; ++i)
        cores[size_t(i)]->client.Hut_Click(21 + i);
    eve.client.Hut_Click(10);
    ASSERT_TRUE(everyoneSeesHuts({"aa020Ann", "aa021Bob", "aa022Cid", "aa023Dee", "aa010Eve"}));
    // Ann's window shows the hut at the next refresh, names as tool tips.
    const QStringList hutTwo{"Ann", "Bob", "Cid", "Dee"};
    for (int s = 0; s < 4; ++s) {
        const auto* image = control<ImageButton>(ann->lobby(), QStringLiteral("Hut"), 20 + s);
        EXPECT_TRUE(waitUntil([&] { return image->toolTip() == hutTwo[s]; }, Wait)) << s;
        EXPECT_EQ(image->pixmap().toImage(), ann->forms.pictures().PlayerIN.toImage()) << s;
    }

    // Only the host of hut 2 can start it: Bob's click does nothing.
    bob.client.Launch_Click(2);
    EXPECT_TRUE(bob.shell.started.isEmpty());
    EXPECT_EQ(bob.client.state().MyNick, QStringLiteral("MM_aa021Bob"));

    click(control<ImageButton>(ann->lobby(), QStringLiteral("Launch"), 2));
    EXPECT_EQ(ann->shell.started,
              QStringList{QStringLiteral("eaexec.exe zen3.exe /h tcp /nAnn /boundip 127.0.0.1")});
    EXPECT_EQ(ann->state().MyNick, QStringLiteral("MM_abFFFAnn"));
    EXPECT_TRUE(ann->pane().endsWith(QStringLiteral("\nLAUNCHING GAME\n") + GameLaunch::PlayingNotice))
        << ann->pane().right(200).toStdString();

    for (int i = 0; i < 3; ++i) {
        CoreClient& joiner = *cores[size_t(i)];
        SCOPED_TRACE(joiner.name().toStdString());
        ASSERT_TRUE(waitUntil([&] { return !joiner.shell.started.isEmpty(); }, Wait)) << dump();
        EXPECT_EQ(joiner.shell.started,
                  QStringList{QStringLiteral("eaexec.exe zen3.exe /j tcp 127.0.0.1 /n") + joiner.name() +
                              QStringLiteral(" /boundip 127.0.0.1")});
        EXPECT_EQ(joiner.client.state().MyNick, QStringLiteral("MM_abFFF") + joiner.name());
        EXPECT_TRUE(joiner.view.chat.endsWith(QStringLiteral("LAUNCHING GAME\r\n") +
                                              GameLaunch::PlayingNotice + QStringLiteral("\r\n")));
    }

    // The next names reply everywhere: the four play, Eve chats in hut 1.
    ASSERT_TRUE(everyoneLists({"Eve"}, hutTwo)) << dump();
    EXPECT_TRUE(everyoneSeesHuts({"aa010Eve"}));
    EXPECT_TRUE(eve.shell.started.isEmpty());
    EXPECT_EQ(eve.client.state().MyNick, QStringLiteral("MM_aa010Eve"));
    EXPECT_FALSE(eve.view.chat.contains(QStringLiteral("LAUNCHING GAME")));
    EXPECT_FALSE(eve.view.chat.contains(QStringLiteral("ZENLAUNCH"))) << "a launch is never shown as chat";
    for (const auto& c : cores)
        EXPECT_TRUE(c->shell.messages.empty()) << c->name().toStdString();
    EXPECT_TRUE(ann->shell.messages.empty());
}

TEST_F(GameNight, AwayLinkAndKickBetweenThePlayers)
{
    CoreClient& bob = *cores[0];
    CoreClient& cid = *cores[1];
    CoreClient& eve = *cores[3];
    ann->type(QStringLiteral("/away"));
    EXPECT_TRUE(ann->input()->text().isEmpty());
    EXPECT_EQ(ann->state().MyNick, QStringLiteral("MM_acFFFAnn"));
    ASSERT_TRUE(everyoneLists({"(Away)Ann", "Bob", "Cid", "Dee", "Eve"}, {})) << dump();

    // A link typed as chat: everybody else is asked, and a Yes opens it.
    cores[2]->shell.answerYes = false;
    const QString link = QStringLiteral("[ZENLNK] http://zen.test/night|||");
    ann->type(link);
    EXPECT_TRUE(ann->pane().endsWith(QStringLiteral("\nAnn> ") + link));
    for (const auto& other : cores) {
        SCOPED_TRACE(other->name().toStdString());
        ASSERT_TRUE(waitUntil([&] { return !other->shell.questions.empty(); }, Wait));
        ASSERT_EQ(other->shell.questions.size(), 1u);
        EXPECT_EQ(other->shell.questions[0].title, QStringLiteral("ZentharaNET IRC"));
        EXPECT_EQ(other->shell.questions[0].text,
                  QStringLiteral("A Link has been posted.. Visit Page:\r\nhttp://zen.test/night?"));
        EXPECT_TRUE(other->view.chat.endsWith(QStringLiteral("Ann> ") + link + QStringLiteral("\r\n")));
        EXPECT_EQ(other->shell.started,
                  other->shell.answerYes
                      ? QStringList{QStringLiteral("eaexec.exe iexplore.exe http://zen.test/night")}
                      : QStringList{});
    }
    EXPECT_TRUE(ann->shell.questions.empty()) << "the server sends nobody their own line";

    // Dee goes home; Eve's next names reply counts four users, so two votes
    // are half of them.
    cores.erase(cores.begin() + 2);
    ASSERT_TRUE(everyoneLists({"(Away)Ann", "Bob", "Cid", "Eve"}, {})) << dump();
    ASSERT_EQ(eve.client.state().UserCount, 4);

    // Eve's message box is modal: events run while she reads it, and the
    // others see her announcement before her program ends.
    const QString announced = QStringLiteral("Eve> -=MM_aaFFFEve Has been kicked=-");
    auto announcementSeen = [&] {
        return bob.view.chat.contains(announced) && cid.view.chat.contains(announced) &&
               ann->pane().contains(announced);
    };
    eve.shell.onMessage = [&](const QString&) { waitUntil(announcementSeen, Wait); };

    bob.client.SEND_Click(QStringLiteral("/kick Eve"));
    EXPECT_TRUE(bob.view.chat.endsWith(QStringLiteral("You Have Voted To Kick Eve\r\n")));
    ASSERT_TRUE(waitUntil(
        [&] { return eve.view.chat.endsWith(QStringLiteral("Bob Has Voted To Kick You\r\n")); }, Wait))
        << eve.view.chat.right(300).toStdString();
    EXPECT_FALSE(eve.client.hasEnded()) << "one vote of four users";
    EXPECT_EQ(eve.client.state().KickVotes, 1);

    cid.client.SEND_Click(QStringLiteral("/kick eve"));
    ASSERT_TRUE(waitUntil([&] { return eve.client.hasEnded(); }, Wait))
        << eve.view.chat.right(300).toStdString();
    EXPECT_TRUE(eve.view.chat.contains(QStringLiteral("Cid Has Voted To Kick You\r\n")));
    ASSERT_EQ(eve.shell.messages.size(), 1u);
    EXPECT_EQ(eve.shell.messages[0].text, QStringLiteral("50% of the users has voted and have kicked you!"));
    EXPECT_EQ(eve.shell.endCount, 1);
    EXPECT_TRUE(announcementSeen()) << "the announcement goes out before the program ends";
    EXPECT_TRUE(eve.view.chat.endsWith(announced + QStringLiteral("\r\n")));

    // Her connection dropped with her program: the others list three.
    EXPECT_TRUE(waitUntil(
        [&] {
            const QString gone = QStringLiteral("Eve");
            return !ann->chatting().contains(gone) && !bob.view.chatList.contains(gone) &&
                   !cid.view.chatList.contains(gone);
        },
        Wait))
        << dump();
}

} // namespace
