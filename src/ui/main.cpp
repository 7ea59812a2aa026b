#include "irc/tcptransport.h"
#include "ui/forms.h"
#include "ui/pictures.h"
#include "ui/qtshell.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Both names make the player's folders: ~/.local/share/ZenLobby/ZenLobby on Linux.
    QApplication::setOrganizationName(QStringLiteral("ZenLobby"));
    QApplication::setApplicationName(QStringLiteral("ZenLobby"));
    QApplication::setWindowIcon(Pictures::programIcon());
    // The program ends only by its own rules (closing the lobby or the login
    // window, Exit, a socket error, a kick). While it connects no window is
    // open at all, and a message box closing must not end it either.
    QApplication::setQuitOnLastWindowClosed(false);

    TcpTransport transport;
    QtShell shell;
    Forms forms(transport, shell);
    forms.Main();
    return QApplication::exec();
}
