#include "irc/dispatcher.h"

#include "irc/connection.h"
#include "irc/controlmessage.h"
#include "irc/foldedtext.h"

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

// "NICK :", "QUIT :" or "JOIN :" anywhere in the folded line. Each ends in
// " :", which a line holds once or twice: one quick pass for the colon
// instead of three searches.
bool changesMembership(QStringView folded)
{
    for (qsizetype colon = folded.indexOf(u':', 5); colon >= 0; colon = folded.indexOf(u':', colon + 1)) {
        const QStringView word = folded.mid(colon - 5, 4);
        if (folded.at(colon - 1) == u' ' && (word == u"nick" || word == u"quit" || word == u"join"))
            return true;
    }
    return false;
}

// "ping" anywhere in the folded line, found by a quick pass for its "p".
bool mentionsPing(QStringView folded)
{
    for (qsizetype p = folded.indexOf(u'p'); p >= 0; p = folded.indexOf(u'p', p + 1)) {
        if (folded.mid(p, 4) == u"ping")
            return true;
    }
    return false;
}

QStringMatcher matcher(const QString& text)
{
    return QStringMatcher(FoldedText::fold(text), Qt::CaseSensitive);
}

// The substring tests of a line, folded. Two depend on the nickname, which a
// line may change for the next one.
struct Needles {
    const QStringMatcher noticeAuth = matcher(QStringLiteral("NOTICE AUTH"));
    const QStringMatcher launch = matcher(QStringLiteral("[ZENLAUNCH"));
    const QStringMatcher kick = matcher(ControlMessage::KickTag);
    const QStringMatcher link = matcher(ControlMessage::LinkTag);
    const QStringMatcher launchOf[4] = {
        matcher(ControlMessage::launchTag(0)), matcher(ControlMessage::launchTag(1)),
        matcher(ControlMessage::launchTag(2)), matcher(ControlMessage::launchTag(3))};
    QStringMatcher welcome;
    QStringMatcher alreadyRegistered;
    QString nick;
    QString channel;
    QString foldedChannel;

    void update(const QString& myNick, const QString& currentChannel)
    {
        if (myNick != nick || welcome.pattern().isEmpty()) {
            nick = myNick;
            welcome = matcher(QStringLiteral("001 ") + myNick);
            alreadyRegistered = matcher(QStringLiteral("462 ") + myNick);
        }
        if (currentChannel != channel || foldedChannel.isEmpty()) {
            channel = currentChannel;
            foldedChannel = FoldedText::fold(currentChannel);
        }
    }
};
} // namespace

struct Dispatcher::Read {
    Needles needles;
    bool pong = false;
    bool names = false;
    bool registration = false;
    bool join = false;
    bool namesLines = false;
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
        QStringLiteral("Type /select to get back to lobby selection"),
        QStringLiteral("Type /away to set mode to AWAY"),
        QStringLiteral("Type /brb to set mode to BRB"),
        QStringLiteral("Type /kick <USER> to vote a user to be kicked"),
        QStringLiteral("Type /in to set mode to chatting"),
        QStringLiteral("Type /out to exit a hut"),
        QStringLiteral("Type /botupdate to update bot data"),
        QStringLiteral("Type /botedit to change the bots responces"),
        QStringLiteral("Type /ignore <USER> to stop hearing a user"),
        QStringLiteral("Type /unignore <USER> to hear a user again"),
        QStringLiteral("Type /ignore to list the users you ignore"),
        QStringLiteral("Type /alerts off or /alerts on to stop or allow alerts"),
    };
    QString text;
    for (const QString& line : lines)
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
        read.needles.update(m_d.MyNick, m_d.CurrentChannel);
        const QStringView text = QStringView(block).mid(start, next - start);
        FoldedText::fold(text, folded);
        dispatchLine(ServerLine::parse(text, folded, read.needles.foldedChannel), read);
        start = next;
    }
    if (read.namesLines && !m_handlers.hasEnded())
        m_handlers.namesRead();
}

// The lobby's steps for one line. Returning early stops this line only.
void Dispatcher::dispatchLine(const ServerLine& line, Read& read)
{
    const Needles& n = read.needles;
    // A lobby client answers any "ping", even inside a chat line, with a bare
    // "pong": servers accept it and keep the client.
    if (mentionsPing(line.folded) && !std::exchange(read.pong, true))
        m_connection.SendLine(QStringLiteral("pong"));

    if (line.refusesNickname(m_d.MyNick)) {
        // What else the read holds answered a registration that is over.
        read.stopped = true;
        m_handlers.nickRefused(line.isReply(u"433"));
        return;
    }

    if (changesMembership(line.folded)) {
        if (!std::exchange(read.names, true))
            m_connection.SendLine(QStringLiteral("NAMES ") + m_d.CurrentChannel);
        return;
    }

    if (line.has(n.noticeAuth)) {
        if (!std::exchange(read.registration, true))
            m_connection.sendRegistration();
    } else if (line.has(n.welcome) || line.has(n.alreadyRegistered)) {
        if (!std::exchange(read.join, true)) {
            m_connection.SendLine(QStringLiteral("JOIN ") + m_d.CurrentChannel);
            m_connection.SendLine(QStringLiteral("MODE ") + m_d.CurrentChannel);
            m_view.setChatText(welcomeText(m_d.ServerHost));
        }
    }

    if (const QStringView names = line.namesList(n.foldedChannel); !names.isNull()) {
        read.namesLines = true;
        m_handlers.namesLine(names);
        return;
    }
    if (line.endsNames(n.foldedChannel)) {
        m_handlers.namesEnd();
        return;
    }
    if (!line.isChannelMessage())
        return; // tags count only in the lobby channel, where their sender is known

    const bool launchTag = line.has(n.launch);
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
