#include "lobby/refresh.h"

#include "app/ports.h"
#include "lobby/nickcode.h"

namespace Refresh {

QString lobbyTitle(int socketState, const Declares& state)
{
    const QString prefix = WindowCaption + QStringLiteral(" - ");
    switch (socketState) {
    case SocketState::Connecting:
        return prefix + QStringLiteral("Connecting");
    case SocketState::Connected: {
        QString name = NickCode::userName(state.MyNick);
        if (!state.NickSuffix.isEmpty() && name.endsWith(state.NickSuffix))
            name.chop(state.NickSuffix.size());
        return prefix + QStringLiteral("Logged in As: ") + name + QStringLiteral(" in Lobby: ") +
               state.CurrentChannel.mid(1);
    }
    case SocketState::Error:
        return prefix + QStringLiteral("Dis-Connected");
    case SocketState::Closing:
        return prefix + QStringLiteral("Dis-Connected (Server has kicked you)");
    default:
        return prefix + QStringLiteral("Not Connected");
    }
}

QString slotToolTip(const QString& cell)
{
    return cell.mid(5);
}

} // namespace Refresh
