#include "ui/lobbywindow.h"

#include "lobby/ignorelist.h"
#include "lobby/lobbyclient.h"
#include "lobby/nickcode.h"
#include "ui/chatline.h"
#include "ui/chatpane.h"
#include "ui/hutpanel.h"
#include "ui/imagebutton.h"
#include "ui/layout.h"
#include "ui/look.h"
#include "ui/namecard.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {
QLabel* image(const QString& name, int index, const Layout::Twips& at, const QString& accessibleName,
              QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    if (index >= 0)
        label->setProperty("index", index);
    label->setGeometry(at.rect());
    label->setAccessibleName(accessibleName);
    return label;
}

QLabel* listCaption(const QString& name, const QString& text, const Layout::Twips& at, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(at.rect());
    label->setAlignment(Qt::AlignCenter);
    Look::caption(label, Look::CaptionYellow);
    return label;
}
} // namespace

LobbyWindow::LobbyWindow(const Pictures& pictures, QWidget* parent) : QWidget(parent), m_pictures(pictures)
{
    setObjectName(QStringLiteral("Lobby"));
    setWindowTitle(DesignCaption);
    setWindowIcon(Pictures::programIcon());
    Look::fixedWindow(this, Layout::LobbySize.size());
    // Put away while the game runs; never maximised, the layout is fixed.
    setWindowFlag(Qt::WindowMinimizeButtonHint);

    m_background =
        image(QStringLiteral("BG1"), -1, {0, 0, 9360, 7485}, QStringLiteral("Lobby background"), this);
    m_background->setScaledContents(true);
    m_hutsImage = image(QStringLiteral("HUTSIMG"), -1, Layout::HutsImage, QStringLiteral("Hut area"), this);
    m_hutsImage->setScaledContents(true);
    for (int hut = 0; hut < 4; ++hut) {
        m_huts[std::size_t(hut)] = new HutPanel(hut, pictures, this);
        connect(m_huts[std::size_t(hut)], &HutPanel::slotClicked, this, &LobbyWindow::Hut_Click);
        connect(m_huts[std::size_t(hut)], &HutPanel::launchClicked, this, &LobbyWindow::Launch_Click);
    }
    buildChat();
    buildLists();
    orderTabs();
    m_outchat->setFocus();
}

LobbyWindow::~LobbyWindow() = default;

void LobbyWindow::buildChat()
{
    m_inchat = new ChatPane(this);
    m_inchat->setObjectName(QStringLiteral("INCHAT"));
    m_inchat->setAccessibleName(QStringLiteral("Chat messages"));
    m_inchat->setGeometry(Layout::Twips{360, 4200, 6015, 2535}.rect());
    Look::darkBox(m_inchat);
    m_inchat->replaceText(ConnectingText);

    m_outchat = new ChatLine(this);
    m_outchat->setObjectName(QStringLiteral("OUTCHAT"));
    m_outchat->setAccessibleName(QStringLiteral("Chat input"));
    m_outchat->setGeometry(Layout::Twips{360, 6720, 5295, 360}.rect());
    Look::darkBox(m_outchat);
    m_outchat->installEventFilter(this);
    m_outchat->setNames([this] { return completionNames(); });

    m_send = new QPushButton(this);
    m_send->setObjectName(QStringLiteral("SEND"));
    m_send->setAccessibleName(QStringLiteral("Send"));
    m_send->setGeometry(Layout::Twips{5640, 6720, 735, 375}.rect());
    m_send->setIconSize(m_pictures.SEND1.deviceIndependentSize().toSize());
    m_send->setStyleSheet(QStringLiteral(
        "QPushButton { background: white; border: 1px solid rgb(40, 40, 40); border-radius: 0; padding: 0; }"
        "QPushButton:pressed { background: rgb(220, 220, 220); }"
        "QPushButton:focus { border: 1px solid palette(highlight); }"));
    // A mouse click leaves the focus in the chat input, so typing goes on.
    m_send->setFocusPolicy(Qt::TabFocus);
    connect(m_send, &QPushButton::clicked, this, &LobbyWindow::SEND_Click);
}

void LobbyWindow::buildLists()
{
    m_hbar1[0] =
        image(QStringLiteral("HBar1"), 0, {6360, 360, 2070, 165}, QStringLiteral("Decorative bar"), this);
    m_hbar1[1] =
        image(QStringLiteral("HBar1"), 1, {6360, 3840, 2070, 165}, QStringLiteral("Decorative bar"), this);
    using Layout::lower;
    m_hbar2[0] = image(QStringLiteral("HBAR2"), 0, Layout::ListBar, QStringLiteral("Decorative bar"), this);
    m_hbar2[1] = image(QStringLiteral("HBAR2"), 1, lower(Layout::ListBar, Layout::PlayingListDrop),
                       QStringLiteral("Decorative bar"), this);
    for (QLabel* bar : m_hbar2)
        bar->setScaledContents(true);

    QLabel* captions[] = {
        listCaption(QStringLiteral("ChatLabel"), QStringLiteral("Users Chatting"), Layout::ListCaption, this),
        listCaption(QStringLiteral("Label1"), QStringLiteral("Users Playing"),
                    lower(Layout::ListCaption, Layout::PlayingListDrop), this)};

    m_chat = new QListWidget(this);
    m_chat->setObjectName(QStringLiteral("CHAT"));
    m_chat->setAccessibleName(QStringLiteral("Users Chatting"));
    m_chat->setGeometry(Layout::Twips{6360, 840, 2055, 2955}.rect());
    m_chat->viewport()->installEventFilter(this);
    m_play = new QListWidget(this);
    m_play->setObjectName(QStringLiteral("PLAY"));
    m_play->setAccessibleName(QStringLiteral("Users Playing"));
    m_play->setGeometry(Layout::Twips{6360, 4320, 2055, 2760}.rect());
    for (QListWidget* list : {m_chat, m_play}) {
        Look::darkBox(list);
        list->addItem(GettingUserList);
    }
    // A caption's last pixel row is the list's first: over the list's frame, descenders stay whole.
    for (QLabel* caption : captions)
        caption->raise();

    m_card = new NameCard(m_pictures, this);
    connect(m_card->closeMark(), &ImageButton::clicked, this, &LobbyWindow::Image1_Click);
}

void LobbyWindow::orderTabs()
{
    QWidget* order[] = {m_outchat, m_send, m_inchat, m_chat, m_play};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    QWidget* last = m_play;
    for (HutPanel* panel : m_huts) {
        for (int slot = 0; slot < 4; ++slot) {
            QWidget::setTabOrder(last, panel->slotImage(slot));
            last = panel->slotImage(slot);
        }
        QWidget::setTabOrder(last, panel->launch());
        last = panel->launch();
    }
}

void LobbyWindow::appendChat(const QString& text)
{
    m_inchat->appendText(text);
}

void LobbyWindow::appendCalling(const QString& text)
{
    m_inchat->appendText(text, true);
}

bool LobbyWindow::isActive() const
{
    return isActiveWindow();
}

void LobbyWindow::alert()
{
    QApplication::alert(this);
}

// The user names in the two lists, without status marks and suffixes, but
// for the player's own.
QStringList LobbyWindow::completionNames() const
{
    const QString own =
        m_client ? IgnoreList::baseName(NickCode::userName(m_client->state().MyNick)).toString() : QString();
    QStringList names;
    for (const QListWidget* list : {m_chat, m_play}) {
        for (int row = 0; row < list->count(); ++row) {
            QString name = list->item(row)->text();
            for (const QLatin1String mark : {QLatin1String("(Away)"), QLatin1String("(BRB)")}) {
                if (name.startsWith(mark))
                    name.remove(0, mark.size());
            }
            name = IgnoreList::baseName(name).toString();
            if (!name.isEmpty() && !name.contains(u' ') && name.compare(own, Qt::CaseInsensitive) != 0)
                names.append(name);
        }
    }
    return names;
}

void LobbyWindow::setChatText(const QString& text)
{
    m_inchat->replaceText(text);
}

void LobbyWindow::setUserLists(const QStringList& chatting, const QStringList& playing)
{
    m_chat->clear();
    m_chat->addItems(chatting);
    m_play->clear();
    m_play->addItems(playing);
}

void LobbyWindow::appendUsers(const QStringList& chatting, const QStringList& playing)
{
    m_chat->addItems(chatting);
    m_play->addItems(playing);
}

void LobbyWindow::setTitle(const QString& title)
{
    setWindowTitle(title);
}

void LobbyWindow::setSlot(int index, bool taken, const QString& toolTip)
{
    const int hut = index / 10;
    const int slot = index % 10;
    if (hut < 0 || hut >= 4 || slot < 0 || slot >= 4)
        return;
    ImageButton* image = m_huts[std::size_t(hut)]->slotImage(slot);
    image->setPixmap(taken ? m_pictures.PlayerIN : m_pictures.PlayerOUT);
    image->setToolTip(toolTip);
    image->setAccessibleDescription(toolTip);
}

void LobbyWindow::loadPictures()
{
    m_background->setPixmap(m_pictures.BG1);
    m_hutsImage->setPixmap(m_pictures.HUTSIMG);
    m_send->setIcon(m_pictures.SEND1);
    for (QLabel* bar : m_hbar1)
        bar->setPixmap(m_pictures.HBar1);
    for (QLabel* bar : m_hbar2)
        bar->setPixmap(m_pictures.HBAR2);
    for (HutPanel* panel : m_huts) {
        for (int slot = 0; slot < 4; ++slot)
            panel->slotImage(slot)->setPixmap(m_pictures.PlayerOUT);
    }
}

void LobbyWindow::refresh()
{
    update();
}

void LobbyWindow::showLobbySelect()
{
    hide();
    emit lobbySelectRequested();
}

void LobbyWindow::showLogin()
{
    hide();
    emit loginRequested();
}

void LobbyWindow::showBotEditor()
{
    emit botEditorRequested();
}

void LobbyWindow::closeEvent(QCloseEvent* event)
{
    // Closing the lobby ends the program at once: no QUIT, nothing saved.
    event->accept();
    if (m_client)
        m_client->endProgram();
}

bool LobbyWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_outchat && event->type() == QEvent::FocusIn)
        OUTCHAT_GotFocus();
    else if (watched == m_chat->viewport() && event->type() == QEvent::MouseButtonDblClick)
        CHAT_DblClick();
    return QWidget::eventFilter(watched, event);
}

void LobbyWindow::keyPressEvent(QKeyEvent* event)
{
    // SEND is the window's default button: Enter that no control takes (in
    // the chat input above all) clicks it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A held Enter key repeats: one press sends once, the channel is not flooded.
        if (!event->isAutoRepeat())
            m_send->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void LobbyWindow::SEND_Click()
{
    const QString text = m_outchat->text();
    m_outchat->remember(text);
    if (m_client)
        m_client->SEND_Click(text);
    m_outchat->clear();
}

void LobbyWindow::OUTCHAT_GotFocus()
{
    if (m_client)
        m_client->OUTCHAT_GotFocus();
}

void LobbyWindow::CHAT_DblClick()
{
    const QList<QListWidgetItem*> selected = m_chat->selectedItems();
    m_card->showName(selected.isEmpty() ? QString() : selected.first()->text());
}

void LobbyWindow::Image1_Click()
{
    m_card->hide();
}

void LobbyWindow::Hut_Click(int index)
{
    if (m_client)
        m_client->Hut_Click(index);
}

void LobbyWindow::Launch_Click(int hut)
{
    if (m_client)
        m_client->Launch_Click(hut);
}
