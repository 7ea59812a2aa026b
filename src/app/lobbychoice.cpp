#include "app/lobbychoice.h"

#include "app/wiretext.h"
#include <algorithm>

namespace LobbyChoice {

QString lobbyChannel(int index)
{
    return QStringLiteral("#ZentharaNET_") + QString::number(index);
}

std::optional<QString> clanChannel(const QString& name)
{
    // A blank or a comma would end the channel name on the wire, a colon
    // makes it one the server refuses.
    const auto breaksChannel = [](QChar c) {
        return c == u' ' || c == u',' || c == u':' || c.category() == QChar::Other_Control;
    };
    if (name.isEmpty() || name.size() > MaxClanLength || std::any_of(name.begin(), name.end(), breaksChannel))
        return std::nullopt;
    return QStringLiteral("#ZenNETCLAN_") + WireText::fromTyped(name);
}

QString lobbyCaption(int index)
{
    static const char* const captions[LobbyCount] = {
        "Lobby 1 - Main/New Players", "Lobby 2 - Brave Grade",  "Lobby 3 - Spy Grade",
        "Lobby 4 - Warrior Grade",    "Lobby 5 - Priest Grade", "Lobby 6 - Fireworker Grade",
        "Lobby 7 - Shaman Grade",     "Lobby 8 - Demo Players", "Lobby 9 - Anything Goes",
    };
    if (index < 0 || index >= LobbyCount)
        return QString();
    return QString::fromLatin1(captions[index]);
}

} // namespace LobbyChoice
