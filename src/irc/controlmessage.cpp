#include "irc/controlmessage.h"

namespace ControlMessage {

namespace {
QString frame(const QString& channel, const QString& tag, const QString& body, const QString& fieldSep)
{
    return QStringLiteral("PRIVMSG ") + channel + QStringLiteral(" :") + tag + u' ' + body + fieldSep;
}
} // namespace

QString launchTag(int hut)
{
    return QStringLiteral("[ZENLAUNCH%1]").arg(hut);
}

QString launchLine(const QString& channel, int hut, const QString& localIP, const QString& fieldSep)
{
    return frame(channel, launchTag(hut), localIP, fieldSep);
}

QString kickLine(const QString& channel, const QString& voterNick, const QString& target, const QString& fieldSep)
{
    return frame(channel, KickTag, voterNick + u'>' + target, fieldSep);
}

QString linkLine(const QString& channel, const QString& address, const QString& fieldSep)
{
    return frame(channel, LinkTag, address, fieldSep);
}

std::optional<QString> fields(const QString& block, const QString& tag, const QString& fieldSep)
{
    const qsizetype at = block.indexOf(tag, 0, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    // Whatever character follows the tag is skipped, blank or not.
    const qsizetype start = at + tag.size() + 1;
    if (start > block.size())
        return std::nullopt;
    const qsizetype end = block.indexOf(fieldSep + QStringLiteral("\r\n"), start);
    if (end < 0)
        return std::nullopt;
    return block.mid(start, end - start);
}

std::optional<KickVote> parseKick(const QString& fields)
{
    const qsizetype gt = fields.indexOf(u'>');
    if (gt < 0)
        return std::nullopt;
    return KickVote{fields.left(gt), fields.mid(gt + 1)};
}

} // namespace ControlMessage
