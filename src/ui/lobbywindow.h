#pragma once

#include "app/ports.h"

#include <QWidget>

#include <array>

class ChatLine;
class ChatPane;
class HutPanel;
class ImageButton;
class LobbyClient;
class NameCard;
class QLabel;
class QListWidget;
class QPushButton;
struct Pictures;

// Lobby: the main window, with the chat pane, the chat input, the two user
// lists, the four huts and the name card. Its handlers only hand the event to
// the client; what the window shows is set by the client through View.
class LobbyWindow : public QWidget, public View {
    Q_OBJECT
public:
    static inline const QString DesignCaption = QStringLiteral("Zenthara Razaz Aduda Clone");
    static inline const QString ConnectingText = QStringLiteral("CONECTING TO ZENTHARA NETWORK......\r\n");
    static inline const QString GettingUserList = QStringLiteral("Getting User List...");

    explicit LobbyWindow(const Pictures& pictures, QWidget* parent = nullptr);
    ~LobbyWindow() override;

    void setClient(LobbyClient* client) { m_client = client; }

    void appendChat(const QString& text) override;
    void setChatText(const QString& text) override;
    void setUserLists(const QStringList& chatting, const QStringList& playing) override;
    void appendUsers(const QStringList& chatting, const QStringList& playing) override;
    void setTitle(const QString& title) override;
    void setSlot(int index, bool taken, const QString& toolTip) override;
    void loadPictures() override;
    void refresh() override;
    void showLobbySelect() override;
    void showLogin() override;
    void showBotEditor() override;
    void appendCalling(const QString& text) override;
    bool isActive() const override;
    void alert() override;

signals:
    void lobbySelectRequested();
    void loginRequested();
    void botEditorRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildChat();
    void buildLists();
    void orderTabs();
    QStringList completionNames() const;

    void SEND_Click();
    void OUTCHAT_GotFocus();
    void CHAT_DblClick();
    void Image1_Click();
    void Hut_Click(int index);
    void Launch_Click(int hut);

    const Pictures& m_pictures;
    LobbyClient* m_client = nullptr;

    QLabel* m_background = nullptr;
    QLabel* m_hutsImage = nullptr;
    std::array<HutPanel*, 4> m_huts{};
    ChatPane* m_inchat = nullptr;
    ChatLine* m_outchat = nullptr;
    QPushButton* m_send = nullptr;
    QListWidget* m_chat = nullptr;
    QListWidget* m_play = nullptr;
    std::array<QLabel*, 2> m_hbar1{};
    std::array<QLabel*, 2> m_hbar2{};
    NameCard* m_card = nullptr;
};
