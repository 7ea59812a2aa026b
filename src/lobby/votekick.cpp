#include "lobby/votekick.h"

#include "irc/connection.h"
#include "irc/controlmessage.h"
#include "irc/serverline.h"
#include "lobby/lobbycontext.h"
#include "lobby/nickcode.h"

namespace VoteKick {

bool receive(LobbyContext& lobby, const ServerLine& line)
{
    Declares& d = lobby.state;
    const auto fields = ControlMessage::fields(line.message, ControlMessage::KickTag, d.FieldSep);
    const auto vote = fields ? ControlMessage::parseKick(*fields) : std::nullopt;
    // A vote without a lobby nickname as voter was typed by hand, and one
    // naming a voter other than its sender was made up: both are ignored.
    if (!vote || vote->voterNick.size() < NickCode::PrefixLength)
        return true;
    const QString voter = NickCode::userName(vote->voterNick);
    if (voter != line.sender.mid(NickCode::PrefixLength))
        return true;

    if (vote->target.toLower() != NickCode::userName(d.MyNick).toLower())
        return false;
    // A substring test: once "Alice" has voted, "Al" counts as voted too.
    if (d.KickVoters.toLower().contains(voter.toLower()))
        return false;

    d.KickVoters += voter + QStringLiteral("\r\n");
    ++d.KickVotes;
    lobby.view.appendChat(voter + QStringLiteral(" Has Voted To Kick You\r\n"));
    lobby.view.refresh();

    if (!thresholdReached(d.KickVotes, d.UserCount))
        return true;
    lobby.connection.SendChat(QStringLiteral("-=") + d.MyNick + QStringLiteral(" Has been kicked=-"));
    lobby.endWithMessage(Config::DefaultTitle, KickedMessage, Shell::Icon::None);
    return false;
}

} // namespace VoteKick
