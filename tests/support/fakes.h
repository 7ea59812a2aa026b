#pragma once

#include "app/ports.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

// A transport the test drives by hand: it records what the client sends and
// lets the test play the server.
class FakeTransport : public Transport {
    Q_OBJECT
public:
    using Transport::Transport;

    void connectToHost(const QString& toHost, quint16 toPort) override
    {
        host = toHost;
        port = toPort;
        ++connectCount;
        m_state = SocketState::Connecting;
    }
    void close() override { m_state = SocketState::Closed; }
    int state() const override { return m_state; }
    void send(const QByteArray& data) override { m_sent += data; }
    QString localIP() const override { return m_localIP; }

    // The server side.
    void acceptConnection()
    {
        m_state = SocketState::Connected;
        emit connected();
    }
    void deliver(const QByteArray& data) { emit received(data); }
    void closeFromServer()
    {
        m_state = SocketState::Closing;
        emit closedByServer();
    }
    void fail(int code, const QString& description)
    {
        m_state = SocketState::Error;
        emit failed(code, description);
    }
    void setLocalIP(const QString& ip) { m_localIP = ip; }

    // Lines sent since the last take, split at CR LF (an empty line stays).
    QStringList takeLines();
    QByteArray sent() const { return m_sent; }

    QString host;
    quint16 port = 0;
    int connectCount = 0;

private:
    int m_state = SocketState::Closed;
    QByteArray m_sent;
    QString m_localIP = QStringLiteral("10.0.0.5");
};

// Records every dialog and program start; answers questions as told.
class FakeShell : public Shell {
public:
    struct Message {
        QString title, text;
        Icon icon;
    };

    void message(const QString& title, const QString& text, Icon icon) override
    {
        messages.push_back({title, text, icon});
        if (onMessage)
            onMessage(text);
    }
    void askYesNo(const QString& title, const QString& text, std::function<void(bool yes)> answered) override
    {
        questions.push_back({title, text, Icon::None});
        if (holdQuestions)
            openQuestions.push_back(std::move(answered));
        else
            answered(true);
    }
    // The player answers the oldest question held open.
    void answer(bool yes)
    {
        auto answered = std::move(openQuestions.front());
        openQuestions.erase(openQuestions.begin());
        answered(yes);
    }
    bool startProgram(const QString& commandLine) override
    {
        started.append(commandLine);
        return startSucceeds;
    }
    void endProgram() override { ++endCount; }
    QString programFolder() const override { return folder; }
    QString dataFolder() const override { return folder; }

    std::vector<Message> messages, questions;
    // Called as the message box would open: a test may look around, or let
    // events run as they do under a modal box, before it closes.
    std::function<void(const QString& text)> onMessage;
    QStringList started;
    // Questions stay open until answer(); otherwise the player answers Yes at once.
    bool holdQuestions = false, startSucceeds = true;
    std::vector<std::function<void(bool)>> openQuestions;
    int endCount = 0;
    QString folder;
};

// Keeps what the lobby window would show.
class FakeView : public View {
public:
    void appendChat(const QString& text) override { chat += text; }
    void setChatText(const QString& text) override { chat = text; }
    void setUserLists(const QStringList& chatting, const QStringList& playing) override
    {
        chatList.clear();
        playList.clear();
        appendUsers(chatting, playing);
    }
    void appendUsers(const QStringList& chatting, const QStringList& playing) override
    {
        chatList += chatting;
        playList += playing;
        usersHandedOver += chatting.size() + playing.size();
    }
    void setTitle(const QString& text) override { title = text; }
    void setSlot(int index, bool taken, const QString& toolTip) override
    {
        if (index >= 0 && index < 34) {
            slotTaken[index] = taken;
            slotToolTip[index] = toolTip;
        }
    }
    void loadPictures() override { std::fill(std::begin(slotTaken), std::end(slotTaken), false); }
    void refresh() override { ++refreshCount; }
    void showLobbySelect() override { ++lobbySelectShown; }
    void showLogin() override { ++loginShown; }
    void showBotEditor() override { ++botEditorShown; }
    void appendCalling(const QString& text) override
    {
        chat += text;
        calling += text;
    }
    bool isActive() const override { return active; }
    void alert() override { ++alerts; }

    QString chat, title;
    QString calling; // the lines of chat that called the player
    bool active = false;
    int alerts = 0;
    QStringList chatList, playList;
    bool slotTaken[34] = {};
    QString slotToolTip[34];
    // Every user ever handed to the lists: a reply read in many blocks should
    // hand on each user once, not the whole list again for every block.
    qsizetype usersHandedOver = 0;
    int refreshCount = 0, lobbySelectShown = 0, loginShown = 0, botEditorShown = 0;
};
