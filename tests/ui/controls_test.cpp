// Every window carries its controls with their names, kinds, design-time
// texts, places, sizes and colours. Places are in twips, as designed.
#include "uitest.h"

#include "ui/layout.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

using T = Layout::Twips;

// One control as designed: its name (and index in a control array), kind,
// design-time text (null: not checked) and place (none: not checked).
struct Design {
    QString name;
    int index;
    const char* kind;
    const char* text = nullptr;
    std::optional<T> at = {};
    bool positionOnly = false; // an image taking its picture's size
};

QString textOf(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* box = qobject_cast<const QLineEdit*>(control))
        return box->text();
    if (const auto* pane = qobject_cast<const QPlainTextEdit*>(control))
        return pane->toPlainText();
    if (const auto* list = qobject_cast<const QListWidget*>(control))
        return listItems(list).join(u'|');
    return QString();
}

void expectControls(const QWidget* window, const std::vector<Design>& designs)
{
    for (const Design& design : designs) {
        SCOPED_TRACE((window->objectName() + u'.' + design.name).toStdString() + "(" +
                     std::to_string(design.index) + ")");
        const QWidget* control = findControl(window, design.name, design.index);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->inherits(design.kind)) << control->metaObject()->className();
        if (design.text)
            EXPECT_EQ(textOf(control), QString::fromLatin1(design.text));
        if (design.at && design.positionOnly)
            EXPECT_EQ(control->pos(), design.at->rect().topLeft());
        else if (design.at)
            EXPECT_EQ(control->geometry(), design.at->rect());
    }
}

// Fixed size, no maximise button, centred on `centre`.
void expectFixedWindow(const QWidget* window, const char* caption, const T& size, const QPoint& centre)
{
    SCOPED_TRACE(window->objectName().toStdString());
    EXPECT_EQ(window->windowTitle(), QString::fromLatin1(caption));
    EXPECT_EQ(window->size(), size.size());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_LE((window->geometry().center() - centre).manhattanLength(), 1);
}

void expectDarkBox(const QWidget* box)
{
    SCOPED_TRACE(box->objectName().toStdString());
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(64, 64, 64));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(192, 192, 0));
    EXPECT_FALSE(box->font().bold());
}

template <class W = QWidget> W* named(const QWidget* window, const char* name, int index = -1)
{
    return control<W>(window, QString::fromLatin1(name), index);
}

TEST(Controls, Lobby)
{
    Desktop desktop;
    desktop.enterLobby();
    LobbyWindow* lobby = desktop.lobby();
    expectFixedWindow(lobby, "Zenthara Razaz Aduda Clone", T{0, 0, 8790, 7395},
                      lobby->screen()->availableGeometry().center());
    EXPECT_FALSE(lobby->windowIcon().isNull());
    EXPECT_TRUE(lobby->windowFlags() & Qt::WindowMinimizeButtonHint);

    std::vector<Design> designs = {
        {"BG1", -1, "QLabel", nullptr, T{0, 0, 9360, 7485}},
        {"HUTSIMG", -1, "QLabel", nullptr, T{360, 360, 6000, 3915}},
        {"INCHAT", -1, "QPlainTextEdit", "CONECTING TO ZENTHARA NETWORK......", T{360, 4200, 6015, 2535}},
        {"OUTCHAT", -1, "QLineEdit", "", T{360, 6720, 5295, 360}},
        {"SEND", -1, "QPushButton", nullptr, T{5640, 6720, 735, 375}},
        {"ChatLabel", -1, "QLabel", "Users Chatting", T{6360, 600, 2055, 255}},
        {"CHAT", -1, "QListWidget", "Getting User List...", T{6360, 840, 2055, 2955}},
        {"Label1", -1, "QLabel", "Users Playing", T{6360, 4080, 2055, 255}},
        {"PLAY", -1, "QListWidget", "Getting User List...", T{6360, 4320, 2055, 2760}},
        {"HBar1", 0, "QLabel", nullptr, T{6360, 360, 2070, 165}},
        {"HBar1", 1, "QLabel", nullptr, T{6360, 3840, 2070, 165}},
        {"HBAR2", 0, "QLabel", nullptr, T{6360, 480, 2070, 375}},
        {"HBAR2", 1, "QLabel", nullptr, T{6360, 3960, 2070, 375}},
        {"Popup", -1, "QFrame", nullptr, T{6720, 1200, 1540, 1575}},
        {"U_NAME", -1, "QLabel", "", T{120, 360, 1215, 255}},
        {"GradeIMG", -1, "QLabel", nullptr, T{480, 600, 495, 615}},
        {"Image1", -1, "ImageButton", nullptr, T{1200, 0, 375, 255}, true},
        {"HBar1", 2, "QLabel"},
        {"HBar1", 3, "QLabel"},
    };
    const QPoint hutAt[] = {{2400, 3600}, {600, 1440}, {2400, 840}, {4320, 840}};
    for (int hut = 0; hut < 4; ++hut) {
        designs.push_back({"HutBox", hut, "HutPanel", nullptr, T{hutAt[hut].x(), hutAt[hut].y(), 1635, 435}});
        designs.push_back({"HutPBG", hut, "QLabel", nullptr, T{0, 0, 1635, 435}});
        designs.push_back({"Launch", hut, "ImageButton", nullptr, T{1260, 30, 330, 350}});
        const int slotLeft[] = {50, 360, 650, 960};
        for (int slot = 0; slot < 4; ++slot)
            designs.push_back(
                {"Hut", 10 * hut + slot, "ImageButton", nullptr, T{slotLeft[slot], 60, 195, 315}, true});
    }
    expectControls(lobby, designs);

    // Slots, panel background and launch spot sit in their own hut's panel.
    for (int hut = 0; hut < 4; ++hut) {
        const QWidget* panel = named(lobby, "HutBox", hut);
        EXPECT_EQ(named(lobby, "Launch", hut)->parentWidget(), panel);
        EXPECT_EQ(named(lobby, "Hut", 10 * hut + 3)->parentWidget(), panel);
    }
    for (const char* name : {"INCHAT", "OUTCHAT", "CHAT", "PLAY"})
        expectDarkBox(named(lobby, name));
    for (const char* name : {"ChatLabel", "Label1"}) {
        const auto* caption = named<QLabel>(lobby, name);
        EXPECT_EQ(caption->palette().color(QPalette::WindowText), QColor(255, 255, 0)) << name;
        EXPECT_FALSE(caption->autoFillBackground()) << name;
        EXPECT_TRUE(caption->alignment() & Qt::AlignHCenter) << name;
    }
    EXPECT_TRUE(named<QPlainTextEdit>(lobby, "INCHAT")->isReadOnly());
    EXPECT_EQ(named<QPlainTextEdit>(lobby, "INCHAT")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(named(lobby, "Popup")->isVisible());
    for (const char* stretched : {"BG1", "HUTSIMG"})
        EXPECT_TRUE(named<QLabel>(lobby, stretched)->hasScaledContents()) << stretched;
    // A white background around the SEND1 face, and none of it in the face's corners.
    const QImage send = named(lobby, "SEND")->grab().toImage();
    EXPECT_EQ(send.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_NE(send.pixelColor(2, 2), QColor(Qt::white));

    // Tab order: the chat input first, then send, the pane, the lists, the huts.
    QWidget* at = named(lobby, "OUTCHAT");
    EXPECT_EQ(lobby->focusWidget(), at);
    QApplication::setActiveWindow(lobby);
    at->setFocus();
    for (const auto& [name, index] :
         {std::pair{"SEND", -1}, {"INCHAT", -1}, {"CHAT", -1}, {"PLAY", -1}, {"Hut", 0}}) {
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        EXPECT_EQ(at, named(lobby, name, index)) << name;
    }
}

TEST(Controls, LoginForm)
{
    Desktop desktop;
    desktop.forms.Main();
    LoginForm* login = desktop.login();
    expectFixedWindow(login, "Zenthara Razaz Aduda Clone", T{0, 0, 6015, 2355},
                      login->screen()->availableGeometry().center());
    expectControls(login, {{"Label1", -1, "QLabel", "NickName"},
                           {"NICKNAMEBOX", -1, "QLineEdit", ""},
                           {"Command1", -1, "QPushButton", "&Login"},
                           {"Command2", -1, "QPushButton", "&Exit"},
                           {"Label3", -1, "QLabel", "Zenthara Network"},
                           {"Label4", -1, "QLabel", "V0.60"},
                           {"Label5", -1, "QLabel", "Protocal 2"},
                           {"Label2", -1, "QLabel"},
                           {"Image1", -1, "QLabel"},
                           {"LOGO", -1, "QLabel"},
                           {"BG1", -1, "QLabel"}});
    EXPECT_EQ(named(login, "LOGO")->size(), (T{0, 0, 1215, 1215}.size()));
    EXPECT_TRUE(named<QLabel>(login, "LOGO")->hasScaledContents());
    EXPECT_FALSE(named<QLabel>(login, "BG1")->hasScaledContents());
    EXPECT_FALSE(named<QLabel>(login, "Image1")->pixmap().isNull());
    EXPECT_FALSE(named<QLabel>(login, "Label2")->text().isEmpty());
    EXPECT_TRUE(named<QPushButton>(login, "Command1")->isDefault());
    for (const char* name : {"Label4", "Label5"}) {
        const auto* version = named<QLabel>(login, name);
        EXPECT_EQ(version->palette().color(QPalette::WindowText), QColor(Qt::white)) << name;
        EXPECT_TRUE(version->alignment() & Qt::AlignHCenter) << name;
        EXPECT_EQ(version->font().pixelSize(), 18) << name;
        EXPECT_TRUE(version->font().bold()) << name;
    }
    EXPECT_EQ(login->focusWidget(), named(login, "NICKNAMEBOX"));
}

TEST(Controls, LobbySelect)
{
    Desktop desktop;
    desktop.logIn(QStringLiteral("Bob"));
    LobbySelect* select = desktop.select();
    expectFixedWindow(select, "Select Lobby (lobby 1 is Main Lobby)", T{0, 0, 8265, 5700},
                      select->screen()->availableGeometry().center());
    const T spots[] = {{2520, 600, 855, 735},  {3360, 1320, 855, 735},   {3360, 2640, 855, 735},
                       {2520, 3360, 855, 735}, {1320, 3360, 855, 735},   {480, 2640, 855, 735},
                       {480, 1320, 855, 735},  {1560, 1560, 1575, 1575}, {1320, 600, 855, 735}};
    std::vector<Design> designs = {
        {"SELECT1", -1, "QLabel", nullptr, T{0, 0, 4740, 4845}},
        {"CLANLOBBY", -1, "QLineEdit", "", T{1560, 5040, 5295, 360}},
        {"Label11", -1, "QLabel", "Clan Lobby - Clans Only"},
        {"Label10", -1, "QLabel", "Clan Lobby:"},
        {"Command1", -1, "QPushButton", "Join"},
        {"Line1", -1, "QFrame"},
        {"BG1", -1, "QLabel"},
    };
    const char* captions[] = {
        "Lobby 1 - Main/New Players", "Lobby 2 - Brave Grade",  "Lobby 3 - Spy Grade",
        "Lobby 4 - Warrior Grade",    "Lobby 5 - Priest Grade", "Lobby 6 - Fireworker Grade",
        "Lobby 7 - Shaman Grade",     "Lobby 8 - Demo Players", "Lobby 9 - Anything Goes"};
    for (int i = 0; i < 9; ++i) {
        designs.push_back({"LBYSEL", i, "ImageButton", nullptr, spots[i]});
        designs.push_back({QStringLiteral("Label%1").arg(i + 1), -1, "QLabel", captions[i]});
    }
    expectControls(select, designs);
    const auto label = [&](int i) { return control<QWidget>(select, QStringLiteral("Label%1").arg(i + 1)); };

    // The captions stand in a column at the right, top to bottom.
    for (int i = 1; i < 9; ++i)
        EXPECT_GT(label(i)->y(), label(i - 1)->y());
    EXPECT_GE(named(select, "Label1")->x(), Layout::px(4740));
    EXPECT_EQ(named(select, "Label1")->font().pixelSize(), 16);
    const QWidget* line = named(select, "Line1");
    EXPECT_EQ(line->y(), Layout::px(4920));
    EXPECT_EQ(line->width(), Layout::px(8280));
    EXPECT_LT(named(select, "Label11")->geometry().bottom(), line->y());
    EXPECT_FALSE(named<QPushButton>(select, "Command1")->icon().isNull());
    expectDarkBox(named(select, "CLANLOBBY"));
    EXPECT_EQ(select->focusWidget(), named(select, "CLANLOBBY"));
}

TEST(Controls, EditForm)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.lobby()->showBotEditor();
    EditForm* editor = desktop.forms.editForm();
    ASSERT_TRUE(editor->isVisible());
    expectFixedWindow(editor, "Bot Command Edit", T{0, 0, 4680, 4095}, desktop.lobby()->geometry().center());
    EXPECT_EQ(editor->parentWidget(), desktop.lobby());
    expectControls(editor, {{"DataBox", -1, "QPlainTextEdit"},
                            {"BG1", -1, "QLabel"},
                            {"Label1", -1, "QLabel", "Trigger"},
                            {"Text1", -1, "QLineEdit", ""},
                            {"Label2", -1, "QLabel", "Reply"},
                            {"Text2", -1, "QLineEdit", ""},
                            {"Command3", -1, "QPushButton", "&Add"},
                            {"Command4", -1, "QPushButton", "&Clear"},
                            {"Command2", -1, "QPushButton", "&Exit"},
                            {"Command1", -1, "QPushButton", "&Save"}});
    EXPECT_EQ(named(editor, "DataBox")->size(), (T{0, 0, 4695, 3255}.size()));
    EXPECT_TRUE(named<QPlainTextEdit>(editor, "DataBox")->isReadOnly());
    EXPECT_FALSE(named<QLabel>(editor, "BG1")->hasScaledContents());
    EXPECT_TRUE(named<QPushButton>(editor, "Command1")->isDefault());
    EXPECT_EQ(editor->focusWidget(), named(editor, "Text1"));
}

} // namespace
