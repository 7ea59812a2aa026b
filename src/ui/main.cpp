#include "irc/tcptransport.h"
#include "ui/forms.h"
#include "ui/pictures.h"
#include "ui/qtshell.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Both names make the player's folders: ~/.local/share/ZenLobby/ZenLobby on Linux,
    // and his settings: ~/.config/ZenLobby/ZenLobby.conf.
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
    // The player's ignore list and alerts, in the per-user settings.
    QSettings settings;
    forms.client().setSettingsStore(&settings);
    forms.Main();
    return QApplication::exec();
}
