// A ZenLobby put together as the program puts it together (real socket,
// real desktop shell), driven through its windows, that ends itself the way
// a player ends it. The tests run it as a child process and watch how it ends.
//
//   ui_endprobe exit            clicks Exit in the login window
//   ui_endprobe close-login     closes the login window
//   ui_endprobe close-lobby N   logs in as Probe, enters lobby 1 on 127.0.0.1:N,
//                               prints "in lobby" once welcomed, closes the lobby
//
// Whatever it prints after the end would mean the end was not immediate.

#include "eventwait.h"
#include "irc/tcptransport.h"
#include "ui/forms.h"
#include "ui/lobbyselect.h"
#include "ui/lobbywindow.h"
#include "ui/loginform.h"
#include "ui/qtshell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <cstdio>

namespace {

template <class T> T* child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QString::fromLatin1(name));
}

bool inLobby(LobbyWindow* lobby)
{
    return lobby->isVisible() &&
           child<QPlainTextEdit>(lobby, "INCHAT")
               ->toPlainText()
               .startsWith(QStringLiteral("<--WELCOME TO ZentharaNET")) &&
           !child<QListWidget>(lobby, "CHAT")->findItems(QStringLiteral("Probe"), Qt::MatchExactly).isEmpty();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();

    TcpTransport transport;
    QtShell shell;
    Forms forms(transport, shell);
    forms.Main();
    LoginForm* login = forms.loginForm();

    if (mode == QStringLiteral("exit")) {
        child<QAbstractButton>(login, "Command2")->click();
    } else if (mode == QStringLiteral("close-login")) {
        login->close();
    } else if (mode == QStringLiteral("close-lobby") && argc > 2) {
        Declares& d = forms.client().state();
        d.ServerHost = QStringLiteral("127.0.0.1");
        d.ServerPort = qint16(QString::fromLatin1(argv[2]).toInt());
        child<QLineEdit>(login, "NICKNAMEBOX")->setText(QStringLiteral("Probe"));
        child<QAbstractButton>(login, "Command1")->click();
        for (auto* spot : forms.lobbySelect()->findChildren<QAbstractButton*>(QStringLiteral("LBYSEL"))) {
            if (spot->property("index").toInt() == 0)
                spot->click();
        }
        if (!waitUntil([&] { return inLobby(forms.lobby()); }, 10000)) {
            std::printf("never got into the lobby\n");
            return 4;
        }
        std::printf("in lobby\n");
        std::fflush(stdout);
        forms.lobby()->close();
    } else {
        std::fprintf(stderr, "unknown mode\n");
        return 2;
    }
    std::printf("still running\n");
    return 3;
}
