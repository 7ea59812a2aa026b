#include "lobby/huts.h"

#include "irc/connection.h"
#include "lobby/lobbycontext.h"
#include "lobby/nickcode.h"

namespace Huts {

void Hut_Click(LobbyContext& lobby, int index)
{
    Declares& d = lobby.state;
    const int hut = index / 10;
    const int slot = index - 10 * hut;
    if (hut < 0 || hut >= Count || slot < 0 || slot >= SlotsShown)
        return;
    QString& cell = d.HutTable[hut][slot];
    if (!cell.isEmpty())
        return;
    // The own slot shows as taken at once, before the server confirms.
    cell = d.MyNick.mid(3);
    d.MyNick = NickCode::SetNickCode(d.MyNick, d.CodeLetter, NickCode::placeCode(hut, slot));
    // Each line carries its own line end and SendLine adds one more: the
    // server gets an empty line after each, which every lobby client sends.
    const QString crLf = QStringLiteral("\r\n");
    lobby.connection.SendLine(QStringLiteral("NICK :") + d.MyNick + crLf);
    lobby.connection.SendLine(QStringLiteral("NAMES ") + d.CurrentChannel + crLf);
}

} // namespace Huts
