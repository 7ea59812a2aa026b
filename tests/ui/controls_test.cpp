// Every window carries its controls with their names, kinds, design-time
// texts, places, sizes and colours.
#include "controldesign.h"
#include "uitest.h"

#include "ui/hutpanel.h"
#include "ui/imagebutton.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using T = Layout::Twips;

void expectFixedWindow(const QWidget* window, const QString& caption, const T& size)
{
    SCOPED_TRACE(window->objectName().toStdString());
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_EQ(window->size(), size.size());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
}

void expectCentred(const QWidget* window, const QPoint& centre)
{
    const QPoint off = window->geometry().center() - centre;
    EXPECT_LE(off.manhattanLength(), 1) << window->objectName().toStdString();
}

void expectDarkBox(const QWidget* box)
{
    SCOPED_TRACE(box->objectName().toStdString());
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(64, 64, 64));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(192, 192, 0));
    EXPECT_FALSE(box->font().bold());
}

QWidget* tabFrom(QWidget* widget)
{
    QTest::keyClick(widget, Qt::Key_Tab);
    return QApplication::focusWidget();
}

TEST(Controls, Lobby)
{
    Desktop desktop;
    desktop.enterLobby();
    LobbyWindow* lobby = desktop.lobby();
    expectFixedWindow(lobby, QStringLiteral("Zenthara Razaz Aduda Clone"), Layout::LobbySize);
    EXPECT_FALSE(lobby->windowIcon().isNull());
    expectCentred(lobby, lobby->screen()->availableGeometry().center());

    std::vector<ControlDesign> designs = {
        {QStringLiteral("BG1"), -1, "QLabel", {}, T{0, 0, 9360, 7485}},
        {QStringLiteral("HUTSIMG"), -1, "QLabel", {}, T{360, 360, 6000, 3915}},
        {QStringLiteral("INCHAT"), -1, "QPlainTextEdit",
         QStringLiteral("CONECTING TO ZENTHARA NETWORK......"), T{360, 4200, 6015, 2535}},
        {QStringLiteral("OUTCHAT"), -1, "QLineEdit", QString(), T{360, 6720, 5295, 360}},
        {QStringLiteral("SEND"), -1, "QPushButton", {}, T{5640, 6720, 735, 375}},
        {QStringLiteral("ChatLabel"), -1, "QLabel", QStringLiteral("Users Chatting"),
         T{6360, 600, 2055, 255}},
        {QStringLiteral("CHAT"), -1, "QListWidget", QStringLiteral("Getting User List..."),
         T{6360, 840, 2055, 2955}},
        {QStringLiteral("Label1"), -1, "QLabel", QStringLiteral("Users Playing"), T{6360, 4080, 2055, 255}},
        {QStringLiteral("PLAY"), -1, "QListWidget", QStringLiteral("Getting User List..."),
         T{6360, 4320, 2055, 2760}},
        {QStringLiteral("HBar1"), 0, "QLabel", {}, T{6360, 360, 2070, 165}},
        {QStringLiteral("HBar1"), 1, "QLabel", {}, T{6360, 3840, 2070, 165}},
        {QStringLiteral("HBAR2"), 0, "QLabel", {}, T{6360, 480, 2070, 375}},
        {QStringLiteral("HBAR2"), 1, "QLabel", {}, T{6360, 3960, 2070, 375}},
        {QStringLiteral("Popup"), -1, "QFrame", {}, T{6720, 1200, 1540, 1575}},
        {QStringLiteral("U_NAME"), -1, "QLabel", QString(), T{120, 360, 1215, 255}},
        {QStringLiteral("GradeIMG"), -1, "QLabel", {}, T{480, 600, 495, 615}},
        {QStringLiteral("Image1"), -1, "ImageButton", {}, T{1200, 0, 375, 255}, true},
        {QStringLiteral("HBar1"), 2, "QLabel", {}, {}},
        {QStringLiteral("HBar1"), 3, "QLabel", {}, {}},
    };
    for (int hut = 0; hut < 4; ++hut) {
        designs.push_back({QStringLiteral("HutBox"), hut, "HutPanel", {}, Layout::HutBox[std::size_t(hut)]});
        designs.push_back({QStringLiteral("HutPBG"), hut, "QLabel", {}, T{0, 0, 1635, 435}});
        designs.push_back({QStringLiteral("Launch"), hut, "ImageButton", {}, T{1260, 30, 330, 350}});
        for (int slot = 0; slot < 4; ++slot)
            designs.push_back(
                {QStringLiteral("Hut"), 10 * hut + slot, "ImageButton", {}, Layout::slot(slot), true});
    }
    expectControls(lobby, designs);

    // Slots, panel background and launch spot sit in their own hut's panel.
    for (int hut = 0; hut < 4; ++hut) {
        const QWidget* panel = findControl(lobby, QStringLiteral("HutBox"), hut);
        EXPECT_EQ(findControl(lobby, QStringLiteral("Launch"), hut)->parentWidget(), panel);
        EXPECT_EQ(findControl(lobby, QStringLiteral("Hut"), 10 * hut + 3)->parentWidget(), panel);
    }
    for (const char* name : {"INCHAT", "OUTCHAT", "CHAT", "PLAY"})
        expectDarkBox(findControl(lobby, QString::fromLatin1(name)));
    for (const char* name : {"ChatLabel", "Label1"}) {
        const QWidget* caption = findControl(lobby, QString::fromLatin1(name));
        EXPECT_EQ(caption->palette().color(QPalette::WindowText), QColor(255, 255, 0)) << name;
        EXPECT_FALSE(caption->autoFillBackground()) << name;
        EXPECT_TRUE(control<QLabel>(lobby, QString::fromLatin1(name))->alignment() & Qt::AlignHCenter)
            << name;
    }
    auto* pane = control<QPlainTextEdit>(lobby, QStringLiteral("INCHAT"));
    EXPECT_TRUE(pane->isReadOnly());
    EXPECT_EQ(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(findControl(lobby, QStringLiteral("Popup"))->isVisible());
    for (const char* stretched : {"BG1", "HUTSIMG"})
        EXPECT_TRUE(control<QLabel>(lobby, QString::fromLatin1(stretched))->hasScaledContents()) << stretched;
    const QImage send = findControl(lobby, QStringLiteral("SEND"))->grab().toImage();
    EXPECT_EQ(send.pixelColor(1, 1), QColor(Qt::white));

    // Tab order: the chat input first, then send, the pane, the lists, the huts.
    QWidget* at = findControl(lobby, QStringLiteral("OUTCHAT"));
    EXPECT_EQ(lobby->focusWidget(), at);
    QApplication::setActiveWindow(lobby);
    at->setFocus();
    for (const auto& [name, index] :
         {std::pair{"SEND", -1}, {"INCHAT", -1}, {"CHAT", -1}, {"PLAY", -1}, {"Hut", 0}}) {
        at = tabFrom(at);
        EXPECT_EQ(at, findControl(lobby, QString::fromLatin1(name), index)) << name;
    }
}

TEST(Controls, LoginForm)
{
    Desktop desktop;
    desktop.forms.Main();
    LoginForm* login = desktop.login();
    expectFixedWindow(login, QStringLiteral("Zenthara Razaz Aduda Clone"), Layout::LoginFormSize);
    expectCentred(login, login->screen()->availableGeometry().center());
    expectControls(login,
                   {
                       {QStringLiteral("Label1"), -1, "QLabel", QStringLiteral("NickName"), {}},
                       {QStringLiteral("NICKNAMEBOX"), -1, "QLineEdit", QString(), {}},
                       {QStringLiteral("Command1"), -1, "QPushButton", QStringLiteral("&Login"), {}},
                       {QStringLiteral("Command2"), -1, "QPushButton", QStringLiteral("&Exit"), {}},
                       {QStringLiteral("Label3"), -1, "QLabel", QStringLiteral("Zenthara Network"), {}},
                       {QStringLiteral("Label4"), -1, "QLabel", QStringLiteral("V0.60"), {}},
                       {QStringLiteral("Label5"), -1, "QLabel", QStringLiteral("Protocal 2"), {}},
                       {QStringLiteral("Label2"), -1, "QLabel", {}, {}},
                       {QStringLiteral("Image1"), -1, "QLabel", {}, {}},
                       {QStringLiteral("LOGO"), -1, "QLabel", {}, {}},
                       {QStringLiteral("BG1"), -1, "QLabel", {}, {}},
                   });
    EXPECT_EQ(findControl(login, QStringLiteral("LOGO"))->size(), (T{0, 0, 1215, 1215}.size()));
    EXPECT_TRUE(control<QLabel>(login, QStringLiteral("LOGO"))->hasScaledContents());
    EXPECT_FALSE(control<QLabel>(login, QStringLiteral("Image1"))->pixmap().isNull());
    EXPECT_FALSE(control<QLabel>(login, QStringLiteral("Label2"))->text().isEmpty());
    EXPECT_TRUE(control<QPushButton>(login, QStringLiteral("Command1"))->isDefault());
    for (const char* name : {"Label4", "Label5"}) {
        const auto* version = control<QLabel>(login, QString::fromLatin1(name));
        EXPECT_EQ(version->palette().color(QPalette::WindowText), QColor(Qt::white)) << name;
        EXPECT_TRUE(version->alignment() & Qt::AlignHCenter) << name;
        EXPECT_DOUBLE_EQ(version->font().pointSizeF(), 13.5) << name;
        EXPECT_TRUE(version->font().bold()) << name;
    }
    EXPECT_EQ(login->focusWidget(), findControl(login, QStringLiteral("NICKNAMEBOX")));
}

TEST(Controls, LobbySelect)
{
    Desktop desktop;
    desktop.logIn(QStringLiteral("Bob"));
    LobbySelect* select = desktop.select();
    expectFixedWindow(select, QStringLiteral("Select Lobby (lobby 1 is Main Lobby)"),
                      Layout::LobbySelectSize);
    expectCentred(select, select->screen()->availableGeometry().center());
    const char* captions[] = {
        "Lobby 1 - Main/New Players", "Lobby 2 - Brave Grade",  "Lobby 3 - Spy Grade",
        "Lobby 4 - Warrior Grade",    "Lobby 5 - Priest Grade", "Lobby 6 - Fireworker Grade",
        "Lobby 7 - Shaman Grade",     "Lobby 8 - Demo Players", "Lobby 9 - Anything Goes"};
    const T spots[] = {{2520, 600, 855, 735},  {3360, 1320, 855, 735},   {3360, 2640, 855, 735},
                       {2520, 3360, 855, 735}, {1320, 3360, 855, 735},   {480, 2640, 855, 735},
                       {480, 1320, 855, 735},  {1560, 1560, 1575, 1575}, {1320, 600, 855, 735}};
    std::vector<ControlDesign> designs = {
        {QStringLiteral("SELECT1"), -1, "QLabel", {}, T{0, 0, 4740, 4845}},
        {QStringLiteral("Line1"), -1, "QFrame", {}, {}},
        {QStringLiteral("Label11"), -1, "QLabel", QStringLiteral("Clan Lobby - Clans Only"), {}},
        {QStringLiteral("Label10"), -1, "QLabel", QStringLiteral("Clan Lobby:"), {}},
        {QStringLiteral("CLANLOBBY"), -1, "QLineEdit", QString(), T{1560, 5040, 5295, 360}},
        {QStringLiteral("Command1"), -1, "QPushButton", QStringLiteral("Join"), {}},
        {QStringLiteral("BG1"), -1, "QLabel", {}, {}},
    };
    for (int i = 0; i < 9; ++i) {
        designs.push_back({QStringLiteral("LBYSEL"), i, "ImageButton", {}, spots[i]});
        designs.push_back(
            {QStringLiteral("Label%1").arg(i + 1), -1, "QLabel", QString::fromLatin1(captions[i]), {}});
    }
    expectControls(select, designs);

    // The captions stand in a column at the right, top to bottom.
    for (int i = 1; i < 9; ++i)
        EXPECT_GT(findControl(select, QStringLiteral("Label%1").arg(i + 1))->y(),
                  findControl(select, QStringLiteral("Label%1").arg(i))->y());
    EXPECT_GE(findControl(select, QStringLiteral("Label1"))->x(), Layout::SelectImage.rect().right());
    EXPECT_DOUBLE_EQ(findControl(select, QStringLiteral("Label1"))->font().pointSizeF(), 12);
    const QWidget* line = findControl(select, QStringLiteral("Line1"));
    EXPECT_EQ(line->y(), Layout::px(4920));
    EXPECT_EQ(line->width(), Layout::px(8280));
    EXPECT_LT(findControl(select, QStringLiteral("Label11"))->geometry().bottom(), line->y());
    EXPECT_FALSE(control<QPushButton>(select, QStringLiteral("Command1"))->icon().isNull());
    expectDarkBox(findControl(select, QStringLiteral("CLANLOBBY")));
    EXPECT_EQ(select->focusWidget(), findControl(select, QStringLiteral("CLANLOBBY")));
}

TEST(Controls, EditForm)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.lobby()->showBotEditor();
    EditForm* editor = desktop.forms.editForm();
    ASSERT_TRUE(editor->isVisible());
    expectFixedWindow(editor, QStringLiteral("Bot Command Edit"), Layout::EditFormSize);
    expectCentred(editor, desktop.lobby()->geometry().center());
    EXPECT_EQ(editor->parentWidget(), desktop.lobby());
    expectControls(editor, {
                               {QStringLiteral("DataBox"), -1, "QPlainTextEdit", {}, {}},
                               {QStringLiteral("Label1"), -1, "QLabel", QStringLiteral("Trigger"), {}},
                               {QStringLiteral("Text1"), -1, "QLineEdit", QString(), {}},
                               {QStringLiteral("Label2"), -1, "QLabel", QStringLiteral("Reply"), {}},
                               {QStringLiteral("Text2"), -1, "QLineEdit", QString(), {}},
                               {QStringLiteral("Command3"), -1, "QPushButton", QStringLiteral("&Add"), {}},
                               {QStringLiteral("Command4"), -1, "QPushButton", QStringLiteral("&Clear"), {}},
                               {QStringLiteral("Command2"), -1, "QPushButton", QStringLiteral("&Exit"), {}},
                               {QStringLiteral("Command1"), -1, "QPushButton", QStringLiteral("&Save"), {}},
                               {QStringLiteral("BG1"), -1, "QLabel", {}, {}},
                           });
    EXPECT_EQ(findControl(editor, QStringLiteral("DataBox"))->size(), (T{0, 0, 4695, 3255}.size()));
    EXPECT_TRUE(control<QPlainTextEdit>(editor, QStringLiteral("DataBox"))->isReadOnly());
    EXPECT_TRUE(control<QPushButton>(editor, QStringLiteral("Command1"))->isDefault());
    EXPECT_EQ(editor->focusWidget(), findControl(editor, QStringLiteral("Text1")));
}

} // namespace
