#include "irc/dispatcher.h"

#include "app/commandhelp.h"
#include "irc/connection.h"
#include "irc/controlmessage.h"
#include "irc/foldedtext.h"

#include <algorithm>
#include <utility>

namespace {
const QString CrLf = QStringLiteral("\r\n");

// A line ends at CR LF. The CR is looked for alone, a much faster search than the pair.
qsizetype lineEnd(const QString& block, qsizetype from)
{
    for (qsizetype cr = block.indexOf(u'\r', from); cr >= 0; cr = block.indexOf(u'\r', cr + 1)) {
        if (cr + 1 < block.size() && block.at(cr + 1) == u'\n')
            return cr;
    }
    return -1;
}

QStringMatcher matcher(const QString& text)
{
    return QStringMatcher(FoldedText::fold(text), Qt::CaseSensitive);
}

// The control tags searched in a channel message's text, folded. They never
// change, so every client of the process shares one set.
struct Tags {
    const QStringMatcher launch = matcher(QStringLiteral("[ZENLAUNCH"));
    const QStringMatcher kick = matcher(ControlMessage::KickTag);
    const QStringMatcher link = matcher(ControlMessage::LinkTag);
    const QStringMatcher launchOf[4] = {
        matcher(ControlMessage::launchTag(0)), matcher(ControlMessage::launchTag(1)),
        matcher(ControlMessage::launchTag(2)), matcher(ControlMessage::launchTag(3))};
};

const Tags& tags()
{
    static const Tags tags;
    return tags;
}
} // namespace

struct Dispatcher::Read {
    bool pong = false;
    bool names = false;
    bool registration = false;
    bool join = false;
    bool roster = false; // names or membership lines came
    bool stopped = false;
};

Dispatcher::Dispatcher(Declares& state, Connection& connection, View& view, InboundHandlers& handlers)
    : m_d(state), m_connection(connection), m_view(view), m_handlers(handlers)
{
}

QString Dispatcher::welcomeText(const QString& serverHost)
{
    const QString lines[] = {
        QStringLiteral("<--WELCOME TO ZentharaNET hosted by ") + serverHost +
            QStringLiteral(", Report Any Bugs To NightShade-->"),
        QStringLiteral("-Command List-"),
    };
    QString text;
    for (const QString& line : lines)
        text += line + CrLf;
    for (const QString& line : CommandHelp::All)
        text += line + CrLf;
    return text;
}

void Dispatcher::HandleInbound(const QString& block)
{
    Read read;
    // Each line is folded into the same storage, which stays in the cache
    // while the line's tests search it.
    QString folded;
    for (qsizetype start = 0; start < block.size() && !read.stopped && !m_handlers.hasEnded();) {
        const qsizetype end = lineEnd(block, start);
        const qsizetype next = end < 0 ? block.size() : end + 2;
        // A line may change the nickname or the channel the next one is read for.
        if (m_d.CurrentChannel != m_channel || m_foldedChannel.isEmpty()) {
            m_channel = m_d.CurrentChannel;
            m_foldedChannel = FoldedText::fold(m_channel);
        }
        const QStringView text = QStringView(block).mid(start, next - start);
        FoldedText::fold(text, folded);
        dispatchLine(ServerLine::parse(text, folded, m_foldedChannel), read);
        start = next;
    }
    if (read.roster && !m_handlers.hasEnded())
        m_handlers.rosterRead();
}

// What a line is comes from its command word and parameters; the text of a
// chat line is only ever chat. Returning early stops this line only.
void Dispatcher::dispatchLine(const ServerLine& line, Read& read)
{
    m_handlers.serverLine(line);
    const QStringView foldedChannel = m_foldedChannel;
    if (line.is(u"PING")) {
        onPing(line, read);
    } else if (line.refusesNickname(m_d.MyNick)) {
        // What else the read holds answered a registration that is over.
        read.stopped = true;
        m_handlers.nickRefused(line.isReply(u"433"));
    } else if (line.is(u"NOTICE")) {
        if (line.param(0).compare(u"AUTH", Qt::CaseInsensitive) == 0 &&
            !std::exchange(read.registration, true))
            m_connection.sendRegistration();
    } else if (line.isReply(u"001") || line.isReply(u"462")) {
        onWelcome(line, read);
    } else if (line.isReply(u"005")) {
        onSupport(line);
    } else if (const QStringView names = line.namesList(foldedChannel); !names.isNull()) {
        read.roster = true;
        m_handlers.namesLine(names);
    } else if (line.endsNames(foldedChannel)) {
        m_handlers.namesEnd();
    } else if (line.is(u"JOIN") || line.is(u"PART") || line.is(u"KICK") || line.is(u"QUIT") ||
               line.is(u"NICK") || line.is(u"MODE")) {
        onMembership(line, read);
    } else if (line.isChannelMessage()) {
        onChannelMessage(line);
    }
}

void Dispatcher::onPing(const ServerLine& line, Read& read)
{
    if (std::exchange(read.pong, true))
        return;
    // The token goes back as it came, but a lone CR or LF in it would end our line early.
    QStringView token = line.param(0);
    for (qsizetype i = 0; i < token.size(); ++i) {
        if (token.at(i) == u'\r' || token.at(i) == u'\n' || token.at(i) == u'\0') {
            token = token.left(i);
            break;
        }
    }
    m_connection.SendLine(QStringLiteral("PONG :").append(token));
}

void Dispatcher::onWelcome(const ServerLine& line, Read& read)
{
    // The welcome's target is our nickname from now on; numerics come to us
    // only, so a different one is ours as the server cut it.
    const QStringView target = line.param(0);
    const bool ours = target.compare(m_d.MyNick, Qt::CaseInsensitive) == 0;
    if (!ours && !line.isReply(u"001"))
        return;
    if (!ours && !m_handlers.welcomedAs(target, m_nickLength)) {
        read.stopped = true;
        return;
    }
    if (std::exchange(read.join, true))
        return;
    m_connection.SendLine(QStringLiteral("JOIN ") + m_d.CurrentChannel);
    m_connection.SendLine(QStringLiteral("MODE ") + m_d.CurrentChannel);
    m_view.setChatText(welcomeText(m_d.ServerHost));
    if (!ours)
        m_view.appendChat(ShortenedText.arg(m_d.MyNick.mid(8)) + CrLf);
}

void Dispatcher::onSupport(const ServerLine& line)
{
    // 005 <nick> <token>... :are supported by this server
    static const QString key = QStringLiteral(" NICKLEN=");
    const QStringView params = line.params.left(line.params.indexOf(QStringLiteral(" :")));
    const qsizetype at = params.indexOf(key);
    if (at >= 0) {
        const QStringView value = params.mid(at + key.size());
        m_nickLength = value.left(value.indexOf(u' ')).trimmed().toInt();
    }
}

// JOIN, PART, KICK, QUIT, NICK and MODE keep the members; a line the kept
// list cannot follow makes the client ask for the names.
void Dispatcher::onMembership(const ServerLine& line, Read& read)
{
    const QStringView channel = m_foldedChannel;
    const QStringView sender = line.sender;
    if (sender.isEmpty())
        return; // no one to follow
    bool fits = true;
    if (line.is(u"QUIT")) {
        fits = m_handlers.memberQuit(sender);
    } else if (line.is(u"NICK")) {
        if (line.param(0).isEmpty())
            return;
        fits = m_handlers.memberRenamed(sender, line.param(0));
    } else if (line.is(u"JOIN")) {
        if (!line.paramIsChannel(0, channel))
            return;
        // Our own join: the names reply that follows sets the list.
        if (sender.compare(m_d.MyNick, Qt::CaseInsensitive) == 0)
            return;
        fits = m_handlers.memberJoined(sender);
    } else if (line.is(u"PART")) {
        if (!line.paramIsChannel(0, channel))
            return;
        fits = m_handlers.memberParted(sender);
    } else if (line.is(u"KICK")) {
        if (!line.paramIsChannel(0, channel) || line.param(1).isEmpty())
            return;
        fits = m_handlers.memberKicked(line.param(1), sender);
    } else {
        // A mode that gives or takes a member's mark changes how the names
        // reply lists him; the lines do not say enough to follow it.
        const QStringView modes = line.param(1);
        fits = !line.paramIsChannel(0, channel) || std::none_of(modes.begin(), modes.end(), [](QChar c) {
            return QStringView(u"qaohv").contains(c);
        });
    }
    read.roster = true;
    if (!fits)
        askNames(read);
}

void Dispatcher::askNames(Read& read)
{
    if (!std::exchange(read.names, true))
        m_connection.SendLine(QStringLiteral("NAMES ") + m_d.CurrentChannel);
}

// Control tags count only in a channel message to the lobby channel, where
// their sender is known.
void Dispatcher::onChannelMessage(const ServerLine& line)
{
    const Tags& n = tags();
    const bool launchTag = line.messageHas(n.launch);
    if (!launchTag)
        showChatLine(line);

    if (line.messageHas(n.kick) && !m_handlers.kickVote(line))
        return;
    if (line.messageHas(n.link))
        m_handlers.link(line);

    for (int hut = 0; launchTag && hut < 4; ++hut) {
        if (line.messageHas(n.launchOf[hut]) && !m_handlers.launch(line, hut))
            return;
    }
}

void Dispatcher::showChatLine(const ServerLine& line)
{
    if (!line.text.endsWith(CrLf))
        return; // a cut line: nothing to show
    QString sender = line.sender.toString();
    if (sender.startsWith(QStringLiteral("MM_")))
        sender.remove(0, 8);

    QString message = line.message.chopped(2).toString();
    message.replace(QStringLiteral(":endl:"), CrLf);

    m_handlers.channelMessage(sender, message);
    m_view.refresh();
}
