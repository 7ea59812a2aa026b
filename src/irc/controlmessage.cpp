#include "irc/controlmessage.h"

#include <QList>

#include <algorithm>

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

QString kickLine(const QString& channel, const QString& voterNick, const QString& target,
                 const QString& fieldSep)
{
    return frame(channel, KickTag, voterNick + u'>' + target, fieldSep);
}

QString linkLine(const QString& channel, const QString& address, const QString& fieldSep)
{
    return frame(channel, LinkTag, address, fieldSep);
}

std::optional<QString> fields(QStringView block, const QString& tag, const QString& fieldSep)
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
    return block.mid(start, end - start).toString();
}

std::optional<KickVote> parseKick(const QString& fields)
{
    const qsizetype gt = fields.indexOf(u'>');
    if (gt < 0)
        return std::nullopt;
    return KickVote{fields.left(gt), fields.mid(gt + 1)};
}

bool isDottedIPv4(QStringView address)
{
    int parts = 0;
    for (const QStringView part : address.split(u'.')) {
        const bool digits =
            !part.isEmpty() && part.size() <= 3 &&
            std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!digits || part.toUInt() > 255)
            return false;
        ++parts;
    }
    return parts == 4;
}

bool isOneWord(QStringView address)
{
    return !address.isEmpty() && std::none_of(address.begin(), address.end(), [](QChar c) {
        return c.unicode() <= 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0xA0) || c.isSpace();
    });
}

} // namespace ControlMessage
