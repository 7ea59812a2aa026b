// How the windows look and answer the keyboard: controls where they were
// designed, named for screen readers, every text as designed, fitting its box
// and standing out from its background, pictures as sharp as the screen,
// Enter on the focused button, and screenshots of every window (the texts and
// screenshots once more at device pixel ratio 2, see CMakeLists.txt).
#include "uitest.h"

#include "ui/layout.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using T = Layout::Twips;

// The program with every window made: the lobby and its bot editor open.
struct AllWindows : Desktop {
    AllWindows()
    {
        enterLobby();
        lobby()->showBotEditor();
    }
    QWidget* windows[4] = {login(), select(), lobby(), editor()};
};

QString accessibleName(QWidget* control)
{
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

double luminance(const QColor& colour)
{
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// The contrast ratio of a text and its background, 1 to 21; text reads well from 4.5.
double contrast(const QPalette& palette, QPalette::ColorRole text, QPalette::ColorRole background)
{
    const double a = luminance(palette.color(text)), b = luminance(palette.color(background));
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The room the text of a label or button needs and the room its box gives.
std::pair<QSize, QSize> neededAndGiven(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const QRect box = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return {label->fontMetrics().boundingRect(box, flags, label->text()).size(), box.size()};
    }
    const auto* button = static_cast<const QPushButton*>(control);
    QStyleOptionButton option;
    option.initFrom(button);
    option.iconSize = button->iconSize();
    QSize needed = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    if (!button->icon().isNull())
        needed = {needed.width() + 4 + option.iconSize.width(),
                  std::max(needed.height(), option.iconSize.height())};
    return {needed, button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size()};
}

TEST(Look, EveryTextFitsItsBoxAndStandsOutEveryControlIsWhereDesignedAndNamedForScreenReaders)
{
    AllWindows desktop;
    enum { L, S, B, E };
    // Pictures as sharp as the screen: loaded with its device pixel ratio.
    const qreal scale = desktop.lobby()->devicePixelRatio();
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        EXPECT_EQ(scale, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    EXPECT_EQ(desktop.forms.pictures().LOGO.devicePixelRatio(), scale);
    EXPECT_EQ(desktop.forms.pictures().BG1.devicePixelRatio(), scale);
    EXPECT_GE(contrast(QApplication::palette(), QPalette::HighlightedText, QPalette::Highlight), 4.5);
    // The texts of the labels and buttons as designed, in the order they are made.
    const QStringList designed[] = {
        {"Zenthara Network", "NickName", "&Login", "&Exit", "V0.60", "Protocal 2",
         "ZenLobby by the Zenthara Network players"},
        {"Clan Lobby - Clans Only", "Clan Lobby:", "Join", "Lobby 1 - Main/New Players",
         "Lobby 2 - Brave Grade", "Lobby 3 - Spy Grade", "Lobby 4 - Warrior Grade", "Lobby 5 - Priest Grade",
         "Lobby 6 - Fireworker Grade", "Lobby 7 - Shaman Grade", "Lobby 8 - Demo Players",
         "Lobby 9 - Anything Goes"},
        {"Users Chatting", "Users Playing"},
        {"Trigger", "Reply", "&Add", "&Clear", "&Exit", "&Save"}};
    const QPoint screen = desktop.login()->screen()->availableGeometry().center();
    const std::tuple<const char*, T, QPoint> windows[] = {
        {"Zenthara Razaz Aduda Clone", {0, 0, 6015, 2355}, screen},
        {"Select Lobby (lobby 1 is Main Lobby)", {0, 0, 8265, 5700}, screen},
        {"Zenthara Razaz Aduda Clone", {0, 0, 8790, 7395}, screen},
        {"Bot Command Edit", {0, 0, 4680, 4095}, desktop.lobby()->geometry().center()}};
    for (int w = 0; w < 4; ++w) {
        QWidget* window = desktop.windows[w];
        const auto& [caption, size, centre] = windows[w];
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_EQ(window->size(), size.size());
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_LE((window->geometry().center() - centre).manhattanLength(), 1);
        QStringList texts;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (control->window() != window)
                continue;
            SCOPED_TRACE((window->objectName() + u'.' + control->objectName()).toStdString());
            // Every control a screen reader meets has a name a person understands.
            if (!control->objectName().isEmpty() && !control->objectName().startsWith("qt_"))
                EXPECT_NE(accessibleName(control), "");
            if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QAbstractScrollArea*>(control))
                EXPECT_GE(contrast(control->palette(), QPalette::Text, QPalette::Base), 4.5);
            const auto* label = qobject_cast<const QLabel*>(control);
            const auto* button = qobject_cast<const QPushButton*>(control);
            const QString text = label ? label->text() : button ? button->text() : QString();
            if (text.isEmpty())
                continue;
            texts << text;
            const auto [needed, given] = neededAndGiven(control);
            EXPECT_LE(needed.width(), given.width()) << "wide";
            EXPECT_LE(needed.height(), given.height()) << "high";
            EXPECT_GE(label ? contrast(control->palette(), QPalette::WindowText, QPalette::Window)
                            : contrast(control->palette(), QPalette::ButtonText, QPalette::Button),
                      4.5);
        }
        EXPECT_EQ(texts, designed[w]);
    }
    // Places in twips of the controls a player uses; without a size, an image taking its picture's size.
    std::vector<std::tuple<int, QString, int, T>> places = {
        {S, "SELECT1", -1, {0, 0, 4740, 4845}},     {S, "CLANLOBBY", -1, {1560, 5040, 5295, 360}},
        {B, "HUTSIMG", -1, {360, 360, 6000, 3915}}, {B, "INCHAT", -1, {360, 4200, 6015, 2535}},
        {B, "OUTCHAT", -1, {360, 6720, 5295, 360}}, {B, "SEND", -1, {5640, 6720, 735, 375}},
        {B, "CHAT", -1, {6360, 840, 2055, 2955}},   {B, "PLAY", -1, {6360, 4320, 2055, 2760}},
        {B, "Popup", -1, {6720, 1200, 1540, 1575}}, {E, "DataBox", -1, {0, 0, 4695, 3255}}};
    const T spots[] = {{2520, 600, 855, 735},  {3360, 1320, 855, 735},   {3360, 2640, 855, 735},
                       {2520, 3360, 855, 735}, {1320, 3360, 855, 735},   {480, 2640, 855, 735},
                       {480, 1320, 855, 735},  {1560, 1560, 1575, 1575}, {1320, 600, 855, 735}};
    for (int i = 0; i < 9; ++i)
        places.push_back({S, "LBYSEL", i, spots[i]});
    const QPoint huts[] = {{2400, 3600}, {600, 1440}, {2400, 840}, {4320, 840}};
    for (int hut = 0; hut < 4; ++hut) {
        places.push_back({B, "HutBox", hut, {huts[hut].x(), huts[hut].y(), 1635, 435}});
        places.push_back({B, "Launch", hut, {1260, 30, 330, 350}});
        for (int slot = 0; slot < 4; ++slot)
            places.push_back({B, "Hut", 10 * hut + slot, {std::array{50, 360, 650, 960}[slot], 60, 0, 0}});
    }
    for (const auto& [window, name, index, at] : places) {
        const QWidget* control = findControl(desktop.windows[window], name, index);
        ASSERT_NE(control, nullptr) << name.toStdString() << index;
        EXPECT_EQ(at.width ? control->geometry() : QRect(control->pos(), at.rect().size()), at.rect())
            << name.toStdString() << index;
    }
    // Beyond their texts, what screen readers say.
    for (const auto& [window, name, index, said] : {std::tuple{L, "NICKNAMEBOX", -1, "Nickname"},
                                                    {S, "LBYSEL", 7, "Lobby 8 - Demo Players"},
                                                    {B, "OUTCHAT", -1, "Chat input"},
                                                    {B, "INCHAT", -1, "Chat messages"},
                                                    {B, "Hut", 31, "Hut 3 slot 1"}})
        EXPECT_EQ(accessibleName(findControl(desktop.windows[window], name, index)), said) << name;
}

TEST(Look, APictureBesideTheProgramComesTwiceAsLargeUnlessThePlayerReplacedIt)
{
    // Screen scale, how much older the "@2x" copy is (s), what it holds (null: as built), ratio loaded.
    for (const auto& [scale, olderBy, large, ratio] :
         {std::tuple{1.0, 0, "", 1.0}, {2.0, 0, "", 2.0}, {2.0, 60, "", 1.0}, {2.0, 0, "no picture", 1.0}}) {
        ProgramFolder folder;
        if (*large)
            folder.write("bg@2x.jpg", large);
        const QDateTime now = QDateTime::currentDateTime();
        for (const auto& [name, time] : {std::pair{"bg.jpg", now}, {"bg@2x.jpg", now.addSecs(-olderBy)}}) {
            QFile file(folder.file(name));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                        file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        QPixmap picture;
        ASSERT_TRUE(Pictures::loadFile(folder.path(), "bg.jpg", picture, scale));
        EXPECT_EQ(picture.devicePixelRatio(), ratio) << olderBy << large;
        EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(624, 499));
    }
}

TEST(Look, TabFollowsTheLayoutEnterClicksTheFocusedButtonOnceAndEscLeavesTheEditor)
{
    AllWindows desktop;
    const char* firstFocus[] = {"NICKNAMEBOX", "CLANLOBBY", "OUTCHAT", "Text1"};
    for (int w = 0; w < 4; ++w)
        EXPECT_EQ(desktop.windows[w]->focusWidget(), control(desktop.windows[w], firstFocus[w])) << w;
    QApplication::setActiveWindow(desktop.lobby());
    desktop.input()->setFocus();
    for (const auto& [name, index] :
         {std::pair{"SEND", -1}, {"INCHAT", -1}, {"CHAT", -1}, {"PLAY", -1}, {"Hut", 0}}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), control(desktop.lobby(), name, index)) << name;
    }

    // The window, the control with the focus, the key, the button it clicks (null: the focused one).
    QWidget* editor = desktop.editor();
    for (const auto& [window, focused, index, key, clicked] :
         {std::tuple<QWidget*, const char*, int, Qt::Key, const char*>{desktop.lobby(), "SEND", -1,
                                                                       Qt::Key_Return, nullptr},
          {desktop.lobby(), "Hut", 12, Qt::Key_Enter, nullptr},
          {editor, "Command3", -1, Qt::Key_Return, nullptr},
          {editor, "Command4", -1, Qt::Key_Return, nullptr},
          {editor, "Command1", -1, Qt::Key_Return, nullptr},
          {editor, "Text1", -1, Qt::Key_Escape, "Command2"},
          {editor, "Command2", -1, Qt::Key_Return, nullptr},
          {desktop.select(), "Command1", -1, Qt::Key_Return, nullptr},
          {desktop.login(), "Command2", -1, Qt::Key_Return, nullptr},
          {desktop.login(), "Command1", -1, Qt::Key_Return, nullptr}}) {
        window->show();
        QApplication::setActiveWindow(window);
        QWidget* at = control(window, focused, index);
        at->setFocus();
        ASSERT_TRUE(at->hasFocus()) << focused;
        QSignalSpy clicks(clicked ? control<QAbstractButton>(window, clicked)
                                  : qobject_cast<QAbstractButton*>(at),
                          &QAbstractButton::clicked);
        QTest::keyClick(at, key);
        // A held key repeats its press; the button is clicked once.
        QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(at, &repeat);
        EXPECT_EQ(clicks.count(), 1) << focused;
    }
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(desktop.shell.endCount, 1);
}

// Saved as the window the player works in, so its focus shows; "@2x" in the
// name on a screen of device pixel ratio 2.
void save(QWidget* window, const QString& name)
{
    QApplication::setActiveWindow(window);
    const QImage shot = window->grab().toImage();
    const qreal scale = window->devicePixelRatio();
    ASSERT_EQ(shot.size(), window->size() * scale);
    const QDir folder(ZEN_SCREENSHOT_DIR);
    ASSERT_TRUE(folder.mkpath("."));
    const QString path = folder.filePath(name + (scale == 1 ? "" : QString("@%1x").arg(scale)) + ".png");
    ASSERT_TRUE(shot.save(path));
    EXPECT_EQ(QImage(path).size(), shot.size());
}

TEST(Screenshots, EveryWindow)
{
    Desktop desktop;
    desktop.forms.Main();
    QTest::keyClicks(control(desktop.login(), "NICKNAMEBOX"), "Ann");
    save(desktop.login(), "login");
    click(control(desktop.login(), "Command1"));
    save(desktop.select(), "lobbyselect");
    click(control(desktop.select(), "LBYSEL", 0));
    desktop.transport.acceptConnection();
    desktop.transport.deliver(
        ":irc 001 MM_aaFFFAnn :Welcome to the Internet Relay Network\r\n"
        ":irc 353 MM_aaFFFAnn = #ZentharaNET_0 :@MM_aa000Ann MM_aa001Bob MM_aa020Cid MM_acFFFDee MM_adFFFEve "
        "MM_abFFFFay MM_abFFFGus Zed\r\n:irc 366 MM_aaFFFAnn #ZentharaNET_0 :End of NAMES list\r\n"
        ":MM_aa001Bob!~MM_aa001B@127.0.0.1 PRIVMSG #ZentharaNET_0 :anyone up for a 2v2?\r\n"
        ":MM_aa020Cid!~MM_aa020C@127.0.0.1 PRIVMSG #ZentharaNET_0 :hut 3 needs one more\r\n");
    desktop.type("count me in, hut 1");
    desktop.forms.client().Timer1_Timer();
    save(desktop.lobby(), "lobby");
    auto* chatting = control<QListWidget>(desktop.lobby(), "CHAT");
    const QPoint bob = chatting->visualItemRect(chatting->item(1)).center();
    QTest::mouseClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, bob);
    QTest::mouseDClick(chatting->viewport(), Qt::LeftButton, Qt::NoModifier, bob);
    save(desktop.lobby(), "lobby-namecard");
    desktop.type("/botedit");
    save(desktop.editor(), "editor");
}

} // namespace
