#pragma once

#include "fakes.h"
#include "ui/editform.h"
#include "ui/forms.h"
#include "ui/lobbyselect.h"
#include "ui/lobbywindow.h"
#include "ui/loginform.h"

#include <QTemporaryDir>
#include <QWidget>

class QLineEdit;
class QListWidget;

// The control called `name` in `window`; for a control array, the element
// with that index. Null when there is none.
QWidget* findControl(const QWidget* window, const QString& name, int index = -1);

template <class T> T* control(const QWidget* window, const QString& name, int index = -1)
{
    return qobject_cast<T*>(findControl(window, name, index));
}

// A folder standing in for the program's own: a copy of the data files the
// build placed beside the tests, which a test may change or remove.
class ProgramFolder {
public:
    ProgramFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void remove(const QString& name) const;
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// The program's windows around a client whose socket the test plays by hand.
struct Desktop {
    FakeTransport transport;
    FakeShell shell;
    ProgramFolder folder;
    Forms forms{transport, shell};

    Desktop() { shell.folder = folder.path(); }

    LoginForm* login() { return forms.loginForm(); }
    LobbySelect* select() { return forms.lobbySelect(); }
    LobbyWindow* lobby() { return forms.lobby(); }
    Declares& state() { return forms.client().state(); }

    // Start-up, a name typed and Login clicked.
    void logIn(const QString& name);
    // The lobby button clicked, the connection accepted: the lobby window is open.
    void enterLobby(const QString& name = QStringLiteral("Bob"), int lobby = 0);
    // A line from the server, CR LF added.
    void serverSends(const QString& line) { transport.deliver(line.toLatin1() + "\r\n"); }

    // The lobby window's chat input, the text typed into it and Enter, and its chat pane.
    QLineEdit* input();
    void type(const QString& text);
    QString pane();
};

// Left mouse click in the middle of a widget.
void click(QWidget* widget);
// The texts of a list's items, top to bottom.
QStringList listItems(const QListWidget* list);
