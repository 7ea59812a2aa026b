#pragma once

#include "fakes.h"
#include "qtprint.h"
#include "ui/editform.h"
#include "ui/forms.h"
#include "ui/lobbyselect.h"
#include "ui/lobbywindow.h"
#include "ui/loginform.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

// The control called `name` in `window`; for a control array, the element
// with that index. Null when there is none.
template <class T = QWidget> T* control(const QWidget* window, const QString& name, int index = -1)
{
    for (T* widget : window->findChildren<T*>(name)) {
        const QVariant at = widget->property("index");
        if (at.isValid() ? at.toInt() == index : index < 0)
            return widget;
    }
    return nullptr;
}

// A folder standing in for the program's own: a copy of the data files the
// build placed beside the tests, which a test may change or remove.
class ProgramFolder {
public:
    ProgramFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void remove(const QString& name) const { QFile::remove(file(name)); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// Left mouse click in the middle of a widget.
void click(QWidget* widget);

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
    EditForm* editor() { return forms.editForm(); }
    Declares& state() { return forms.client().state(); }

    // The program started (unless it is), Bob typed and Enter, the lobby's spot
    // clicked and the connection accepted: the lobby window is open.
    void enterLobby(int lobby = 0);

    QLineEdit* input() { return control<QLineEdit>(lobby(), QStringLiteral("OUTCHAT")); }
    // Typed into the chat input, then Enter.
    void type(const QString& text) { QTest::keyClicks(input(), text + u'\r'); }
    // The texts of the message boxes shown so far.
    QStringList messages() const;
};
