#include "irc/serverline.h"

namespace {
const QString CrLf = QStringLiteral("\r\n");

// The next blank-separated word of text from pos on; pos moves past it and one blank.
QStringView word(QStringView text, qsizetype& pos)
{
    const qsizetype blank = text.indexOf(u' ', pos);
    const qsizetype end = blank < 0 ? text.size() : blank;
    const QStringView result = text.mid(pos, end - pos);
    pos = blank < 0 ? text.size() : blank + 1;
    return result;
}

// From pos on, folded holds channel and then " :"; pos moves past them.
bool channelAt(QStringView folded, QStringView foldedChannel, qsizetype& pos)
{
    if (!folded.mid(pos).startsWith(foldedChannel) || folded.mid(pos + foldedChannel.size(), 2) != u" :")
        return false;
    pos += foldedChannel.size() + 2;
    return true;
}

QStringView withoutLineEnd(QStringView text)
{
    return text.endsWith(CrLf) ? text.chopped(2) : text;
}
} // namespace

ServerLine ServerLine::parse(QStringView text, QStringView folded, QStringView foldedChannel)
{
    ServerLine line;
    line.text = text;
    line.folded = folded;
    const QStringView bare = withoutLineEnd(text);
    qsizetype pos = 0;
    if (bare.startsWith(u':')) {
        const QStringView prefix = word(bare, pos).mid(1);
        const qsizetype bang = prefix.indexOf(u'!');
        line.sender = bang < 0 ? prefix : prefix.left(bang);
    }
    line.command = word(bare, pos);
    line.params = text.mid(pos);
    if (line.command.compare(u"PRIVMSG", Qt::CaseInsensitive) == 0 && channelAt(folded, foldedChannel, pos))
        line.message = text.mid(pos);
    return line;
}

QStringView ServerLine::namesList(QStringView foldedChannel) const
{
    // 353 <nick> <"=", "*" or "@"> <channel> :<names>
    if (!isReply(u"353") || !text.endsWith(CrLf))
        return {};
    qsizetype pos = text.size() - params.size();
    word(folded, pos);
    const QStringView kind = word(folded, pos);
    if (kind.size() != 1 || !QStringView(u"=*@").contains(kind.at(0)) ||
        !channelAt(folded, foldedChannel, pos))
        return {};
    return text.mid(pos, text.size() - 2 - pos);
}

bool ServerLine::endsNames(QStringView foldedChannel) const
{
    // 366 <nick> <channel> :End of NAMES list
    if (!isReply(u"366"))
        return false;
    qsizetype pos = text.size() - params.size();
    word(folded, pos);
    return channelAt(folded, foldedChannel, pos);
}

QStringView ServerLine::param(int n) const
{
    const QStringView bare = withoutLineEnd(params);
    qsizetype pos = 0;
    for (int i = 0; pos < bare.size(); ++i) {
        if (bare.at(pos) == u':')
            return i == n ? bare.mid(pos + 1) : QStringView();
        const QStringView found = word(bare, pos);
        if (i == n)
            return found;
    }
    return {};
}

bool ServerLine::paramIsChannel(int n, QStringView foldedChannel) const
{
    const QStringView channel = param(n);
    if (channel.isNull())
        return false;
    // The same piece of the folded twin, which has the same length.
    const qsizetype at = channel.data() - text.data();
    return folded.mid(at, channel.size()) == foldedChannel;
}

bool ServerLine::refusesNickname(QStringView myNick) const
{
    // 433 * <nick> :<reason>, read word by word: a chat line quoting one refuses nothing.
    if (!isReply(u"433") && !isReply(u"432"))
        return false;
    const QStringView bare = withoutLineEnd(text);
    qsizetype pos = text.size() - params.size();
    return word(bare, pos) == u"*" && word(bare, pos).compare(myNick, Qt::CaseInsensitive) == 0;
}
