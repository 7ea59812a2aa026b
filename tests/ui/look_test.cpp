// How the windows look and answer the keyboard: every text as designed,
// fitting its box and standing out from its background, every control named for screen readers, pictures as
// sharp as the screen, Tab and Enter as laid out, and screenshots of every window (all once more at device
// pixel ratio 2, see CMakeLists.txt).
#include "ui/look.h"
#include "uitest.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The contrast ratio of two colours, 1 to 21; text reads well from 4.5.
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// Saved as the window the player works in, so its focus shows (on the control
// first in its tab order); "@2x" in the name on a screen of device pixel ratio 2.
void save(QWidget* window, const QString& name, const char* firstFocus)
{
    EXPECT_EQ(window->focusWidget(), control(window, firstFocus)) << name.toStdString();
    QApplication::setActiveWindow(window);
    const qreal scale = window->devicePixelRatio();
    const QDir folder(ZEN_SCREENSHOT_DIR);
    const QString path = folder.filePath(name + (scale == 1 ? "" : QString("@%1x").arg(scale)) + ".png");
    ASSERT_TRUE(folder.mkpath(".") && window->grab().save(path));
}

TEST(Look, EveryWindowAsDesignedTextsFitAndStandOutControlsNamedAndKeysWork)
{
    Desktop desktop;
    desktop.forms.Main();
    QTest::keyClicks(control(desktop.login(), "NICKNAMEBOX"), "Ann");
    save(desktop.login(), "login", "NICKNAMEBOX");
    click(control(desktop.login(), "Command1"));
    save(desktop.select(), "lobbyselect", "CLANLOBBY");
    click(control(desktop.select(), "LBYSEL", 0));
    desktop.transport.acceptConnection();
    desktop.transport.deliver(
        ":irc 001 MM_aaFFFAnn :Welcome to the Internet Relay Network\r\n"
        ":MM_aaFFFAnn!~MM_aaFFFA@127.0.0.1 JOIN :#ZentharaNET_0\r\n:irc 353 MM_aaFFFAnn = #ZentharaNET_0 :@MM_aa000Ann MM_aa001Bob MM_aa020Cid MM_acFFFDee MM_adFFFEve "
        "MM_abFFFFay MM_abFFFGus Zed\r\n:irc 366 MM_aaFFFAnn #ZentharaNET_0 :End of NAMES list\r\n"
        ":MM_aa001Bob!~MM_aa001B@127.0.0.1 PRIVMSG #ZentharaNET_0 :anyone up for a 2v2?\r\n"
        ":MM_aa020Cid!~MM_aa020C@127.0.0.1 PRIVMSG #ZentharaNET_0 :hut 3 needs one more\r\n");
    desktop.type("count me in, hut 1");
    desktop.forms.client().Timer1_Timer();
    LobbyWindow* lobby = desktop.lobby();
    save(lobby, "lobby", "OUTCHAT");
    // A slot's occupant, shown as its tool tip, is also told to screen readers.
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(control(lobby, "Hut", 20))->text(QAccessible::Description),
        "Cid");
    // A double click on a name shows it on the name card.
    auto* chatting = control<QListWidget>(lobby, "CHAT");
    const QPoint bob = chatting->visualItemRect(chatting->item(1)).center();
    QTest::mouseClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, bob);
    QTest::mouseDClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, bob);
    EXPECT_TRUE(control(lobby, "Popup")->isVisible());
    save(lobby, "lobby-namecard", "CHAT");
    click(control(lobby, "Image1"));
    EXPECT_FALSE(control(lobby, "Popup")->isVisible());
    // A line that calls the player stands out, and the ignore list answers.
    desktop.transport.deliver(":MM_aa020Cid!c@h PRIVMSG #ZentharaNET_0 :ann, you host hut 1?\r\n");
    desktop.input()->setFocus();
    for (const char* typed : {"/ignore Zed", "/ignore Gus", "/ignore"})
        desktop.type(typed);
    save(lobby, "lobby-calling", "OUTCHAT");
    auto* pane = control<QPlainTextEdit>(lobby, "INCHAT");
    const QTextBlock block = pane->document()->findBlock(int(pane->toPlainText().indexOf("Cid> ann")));
    EXPECT_EQ(block.begin().fragment().charFormat().foreground().color(), Look::CallingText);
    EXPECT_FALSE(block.next().begin().fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));
    desktop.type("/botedit");
    save(desktop.editor(), "editor", "Text1");

    // Pictures as sharp as the screen: loaded with its device pixel ratio.
    EXPECT_EQ(desktop.messages(), QStringList()) << "every data file loaded";
    for (const QPixmap& picture : {desktop.forms.pictures().LOGO, desktop.forms.pictures().BG1})
        EXPECT_EQ(picture.devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
    QStringList texts;
    QWidget* const windows[] = {desktop.login(), desktop.select(), lobby, desktop.editor()};
    for (QWidget* window : windows) {
        texts << window->windowTitle();
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (control->window() != window)
                continue;
            SCOPED_TRACE((window->objectName() + u'.' + control->objectName()).toStdString());
            // Every control a screen reader meets has a name a person understands.
            if (!control->objectName().isEmpty() && !control->objectName().startsWith("qt_"))
                EXPECT_NE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), "");
            const QPalette& colours = control->palette();
            if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QAbstractScrollArea*>(control))
                EXPECT_GE(contrast(colours.color(QPalette::Text), colours.color(QPalette::Base)), 4.5);
            const auto* label = qobject_cast<const QLabel*>(control);
            const auto* button = qobject_cast<const QPushButton*>(control);
            const QString text = label ? label->text() : button ? button->text() : QString();
            if (text.isEmpty())
                continue;
            texts << text;
            EXPECT_GE(label ? contrast(colours.color(QPalette::WindowText), colours.color(QPalette::Window))
                            : contrast(colours.color(QPalette::ButtonText), colours.color(QPalette::Button)),
                      4.5);
            // A wrapped label needs the height of its lines at its width.
            const QSize needed = label && label->wordWrap()
                                     ? QSize(label->width(), label->heightForWidth(label->width()))
                                     : control->sizeHint();
            EXPECT_LE(needed.width(), control->width()) << "wide";
            EXPECT_LE(needed.height(), control->height()) << "high";
        }
    }
    // The captions and the texts of the labels and buttons as designed, window by window.
    EXPECT_EQ(texts.join(u'|').toStdString(),
              "Zenthara Razaz Aduda Clone|Zenthara Network|NickName|&Login|&Exit|V0.60|Protocal 2|"
              "ZenLobby by the Zenthara Network players|Select Lobby (lobby 1 is Main Lobby)|"
              "Clan Lobby - Clans Only|Clan Lobby:|Join|"
              "Lobby 1 - Main/New Players|Lobby 2 - Brave Grade|Lobby 3 - Spy Grade|"
              "Lobby 4 - Warrior Grade|Lobby 5 - Priest Grade|Lobby 6 - Fireworker Grade|"
              "Lobby 7 - Shaman Grade|Lobby 8 - Demo Players|Lobby 9 - Anything Goes|"
              "Zenthara Razaz Aduda Clone - Logged in As: Ann in Lobby: ZentharaNET_0|Users Chatting|"
              "Users Playing|Bob|Bot Command Edit|Trigger|Reply|&Add|&Clear|&Exit|&Save");

    // Tab follows the layout; Enter clicks the focused button, Esc leaves the editor.
    QApplication::setActiveWindow(lobby);
    desktop.input()->setFocus();
    for (const auto& [name, index] :
         {std::pair{"SEND", -1}, {"INCHAT", -1}, {"CHAT", -1}, {"PLAY", -1}, {"Hut", 0}}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), control(lobby, name, index)) << name;
    }
    auto* hut = control<QAbstractButton>(lobby, "Hut", 12);
    hut->setFocus();
    QSignalSpy clicks(hut, &QAbstractButton::clicked);
    QTest::keyClick(hut, Qt::Key_Enter);
    // A held key repeats its press; the button is clicked once.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(hut, &repeat);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(control(desktop.editor(), "Text1"), Qt::Key_Escape);
    EXPECT_FALSE(desktop.editor()->isVisible());
}

} // namespace
