#pragma once

#include "lobby/lobbyclient.h"
#include "ui/pictures.h"

#include <QObject>

#include <memory>

class EditForm;
class LobbySelect;
class LobbyWindow;
class LoginForm;
class Shell;
class Transport;

// The program's windows around one lobby client: the start-up, and the way
// from the login to the lobby choice to the lobby and back. Each window is
// made the first time it is needed and lives as long as this object.
class Forms : public QObject {
    Q_OBJECT
public:
    static inline const QString DataFilesMessage = QStringLiteral("Could Not Load Data Files");

    Forms(Transport& transport, Shell& shell, QObject* parent = nullptr);
    ~Forms() override;

    // The start-up: configuration, the three backdrops and the bot table from
    // the player's folder or the program's, then the login window. When a file cannot be read
    // the rest is skipped, one message says so, and the login window follows.
    void Main();

    LobbyClient& client() { return m_client; }
    Pictures& pictures() { return m_pictures; }
    LoginForm* loginForm();
    LobbySelect* lobbySelect();
    LobbyWindow* lobby() { return m_lobby.get(); }
    EditForm* editForm();

private:
    void showLogin();
    void showLobbySelect();
    void showLobby();
    void leaveLobbySelect();

    Shell& m_shell;
    Pictures m_pictures;
    std::unique_ptr<LobbyWindow> m_lobby;
    LobbyClient m_client;
    std::unique_ptr<LoginForm> m_login;
    std::unique_ptr<LobbySelect> m_select;
    EditForm* m_editor = nullptr;
    bool m_lobbyLoaded = false;
};
