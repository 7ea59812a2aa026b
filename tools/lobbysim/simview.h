#pragma once

#include "app/ports.h"

#include <QStringList>

#include <functional>

// What a simulated player's lobby window would show. The chat pane keeps only
// its newest text (a crowd chats for hours), but counts every line shown.
class SimView : public View {
public:
    static constexpr qsizetype KeptChat = 16 * 1024;

    void appendChat(const QString& text) override;
    void setChatText(const QString& text) override;
    void setUserLists(const QStringList& chatting, const QStringList& playing) override;
    void appendUsers(const QStringList& chatting, const QStringList& playing) override;
    void setTitle(const QString& title) override { m_title = title; }
    void setSlot(int index, bool taken, const QString& toolTip) override;
    void loadPictures() override;
    void refresh() override {}
    void showLobbySelect() override {}
    void showLogin() override {}
    void showBotEditor() override {}
    void appendCalling(const QString& text) override { appendChat(text); }
    bool isActive() const override { return true; }
    void alert() override {}

    // The newest text of the chat pane.
    const QString& chat() const { return m_chat; }
    // Lines put into the chat pane since the last setChatText.
    qint64 chatLines() const { return m_chatLines; }
    // Called with every line appended to the chat pane, without its CR LF.
    void onLineShown(std::function<void(QStringView line)> shown) { m_lineShown = std::move(shown); }
    const QStringList& chatList() const { return m_chatList; }
    const QStringList& playList() const { return m_playList; }
    int listUpdates() const { return m_listUpdates; }
    const QString& title() const { return m_title; }
    bool slotTaken(int index) const;

private:
    QString m_chat;
    qint64 m_chatLines = 0;
    std::function<void(QStringView)> m_lineShown;
    QStringList m_chatList;
    QStringList m_playList;
    int m_listUpdates = 0;
    QString m_title;
    bool m_taken[34] = {};
};
