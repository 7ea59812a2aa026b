#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// The client's ways out to the world. The core is handed one of each; the real
// ones live at the edge (irc/, ui/), tests hand in fakes that record calls.

// Numeric socket states the lobby tells apart.
namespace SocketState {
inline constexpr int Closed = 0;
inline constexpr int Connecting = 6;
inline constexpr int Connected = 7;
inline constexpr int Closing = 8; // the server closed the connection
inline constexpr int Error = 9;
} // namespace SocketState

// One TCP connection to the IRC server. Bytes in and out; the client turns
// them into text.
class Transport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Transport() override = default;

    virtual void connectToHost(const QString& host, quint16 port) = 0;
    // Drops any connection at once, without sending anything more; state() becomes Closed.
    virtual void close() = 0;
    virtual int state() const = 0;
    virtual void send(const QByteArray& data) = 0;
    // Dotted IPv4 address of this end of the connection; when not connected,
    // the machine's first non-loopback IPv4 address, else 127.0.0.1.
    virtual QString localIP() const = 0;

signals:
    void connected();
    void received(const QByteArray& data);
    // The server closed the connection; state() is now Closing.
    void closedByServer();
    // A socket failure (not a server-side close); state() is now Error.
    void failed(int code, const QString& description);
};

// What the lobby asks of the desktop.
class Shell {
public:
    enum class Icon { None, Critical };

    virtual ~Shell() = default;
    // Modal message with an OK button.
    virtual void message(const QString& title, const QString& text, Icon icon = Icon::None) = 0;
    // A question with Yes and No that holds nothing back: it returns at once,
    // and answered(true) runs when the player picks Yes, answered(false) on No.
    virtual void askYesNo(const QString& title, const QString& text,
                          std::function<void(bool yes)> answered) = 0;
    // Starts a program detached; the command line is split at blanks, never
    // handed to a shell. False when it could not be started.
    virtual bool startProgram(const QString& commandLine) = 0;
    // Ends the process at once. Fakes record the call; the client stops
    // working after it either way.
    virtual void endProgram() = 0;
    // Folder of the executable, which holds the default pictures and bot.dat.
    virtual QString programFolder() const = 0;
    // Folder of the player's files (DataFolder::choose): bot.dat is read and
    // saved there, and a backdrop found there wins over the program's own.
    virtual QString dataFolder() const = 0;
};

// What the lobby window shows. Texts are the lobby's own, line ends CR LF.
class View {
public:
    virtual ~View() = default;
    virtual void appendChat(const QString& text) = 0;
    virtual void setChatText(const QString& text) = 0;
    virtual void setUserLists(const QStringList& chatting, const QStringList& playing) = 0;
    // More of a names reply that came in several reads: these users go
    // below the ones already listed.
    virtual void appendUsers(const QStringList& chatting, const QStringList& playing) = 0;
    virtual void setTitle(const QString& title) = 0;
    // Hut slot image 10*h + s: taken shows PlayerIN, free PlayerOUT.
    virtual void setSlot(int index, bool taken, const QString& toolTip) = 0;
    // Copies the shared pictures into the window again; every slot shows PlayerOUT.
    virtual void loadPictures() = 0;
    // Repaint after the chat or the lists changed.
    virtual void refresh() = 0;
    // "/select": hide the lobby, show the lobby choice again.
    virtual void showLobbySelect() = 0;
    // The server takes no nickname of ours: hide the lobby (and the lobby
    // choice), show the login window again with the last name in its box.
    virtual void showLogin() = 0;
    // "/botedit": show the bot editor, loading it if it is not open.
    virtual void showBotEditor() = 0;
    // A chat line that calls the player by name: shown in the highlight colour.
    virtual void appendCalling(const QString& text) = 0;
    // The lobby window is the one the player works in.
    virtual bool isActive() const = 0;
    // Asks the desktop for the player's attention (urgency hint, flashing task-bar button).
    virtual void alert() = 0;
};
