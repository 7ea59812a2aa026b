#include "irc/dispatcher.h"

#include "irc/connection.h"
#include "irc/foldedtext.h"

#include <utility>

namespace {
const QString CrLf = QStringLiteral("\r\n");

// The substring tests of one line, folded for the lobby's nickname and channel.
struct Needles {
    QString nick;
    QString channel;
    QString folded[6];
    enum { Welcome, AlreadyRegistered, Ping, NickChange, Quit, Join };

    void update(const QString& myNick, const QString& currentChannel)
    {
        if (myNick == nick && currentChannel == channel && !folded[Ping].isEmpty())
            return;
        nick = myNick;
        channel = currentChannel;
        folded[Welcome] = FoldedText::fold(QStringLiteral("001 ") + myNick);
        folded[AlreadyRegistered] = FoldedText::fold(QStringLiteral("462 ") + myNick);
        folded[Ping] = QStringLiteral("ping");
        folded[NickChange] = QStringLiteral("nick :");
        folded[Quit] = QStringLiteral("quit :");
        folded[Join] = QStringLiteral("join :");
    }
    QStringView operator[](int which) const { return folded[which]; }
};
} // namespace

struct Dispatcher::Read {
    Needles needles;
    QString foldedChannel;
    bool pong = false;
    bool names = false;
    bool registration = false;
    bool join = false;
    bool namesLines = false;
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
    };
    QString text;
    for (const QString& line : lines)
        text += line + CrLf;
    return text;
}

void Dispatcher::HandleInbound(const QString& block)
{
    // The read is folded once; every line is a view into both.
    const QString folded = FoldedText::fold(block);
    Read read;
    for (qsizetype start = 0; start < block.size() && !m_handlers.hasEnded();) {
        const qsizetype end = block.indexOf(CrLf, start);
        const qsizetype next = end < 0 ? block.size() : end + 2;
        // A line may change the nickname or the channel the next one is read for.
        read.needles.update(m_d.MyNick, m_d.CurrentChannel);
        if (read.foldedChannel.size() != m_d.CurrentChannel.size() ||
            read.foldedChannel != FoldedText::fold(m_d.CurrentChannel))
            read.foldedChannel = FoldedText::fold(m_d.CurrentChannel);
        const QStringView text = QStringView(block).mid(start, next - start);
        dispatchLine(
            ServerLine::parse(text, QStringView(folded).mid(start, next - start), read.foldedChannel), read);
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
    if (line.has(n[Needles::Ping]) && !std::exchange(read.pong, true))
        m_connection.SendLine(QStringLiteral("pong"));

    if (line.has(n[Needles::NickChange]) || line.has(n[Needles::Quit]) || line.has(n[Needles::Join])) {
        if (!std::exchange(read.names, true))
            m_connection.SendLine(QStringLiteral("NAMES ") + m_d.CurrentChannel);
        return;
    }

    if (line.has(u"notice auth")) {
        if (!std::exchange(read.registration, true))
            m_connection.sendRegistration();
    } else if (line.has(n[Needles::Welcome]) || line.has(n[Needles::AlreadyRegistered])) {
        if (!std::exchange(read.join, true)) {
            m_connection.SendLine(QStringLiteral("JOIN ") + m_d.CurrentChannel);
            m_connection.SendLine(QStringLiteral("MODE ") + m_d.CurrentChannel);
            m_view.setChatText(welcomeText(m_d.ServerHost));
        }
    } else if (line.isReply(u"433") || line.isReply(u"432")) {
        m_handlers.nicknameRefused(line.command.toInt());
        return;
    }

    if (const QStringView names = line.namesList(read.foldedChannel); !names.isNull()) {
        read.namesLines = true;
        m_handlers.namesLine(names);
        return;
    }
    if (line.endsNames(read.foldedChannel)) {
        m_handlers.namesEnd();
        return;
    }
    if (!line.isChannelMessage())
        return; // tags count only in the lobby channel, where their sender is known

    const bool launchTag = line.has(u"[zenlaunch");
    if (!launchTag)
        showChatLine(line);

    if (line.messageHas(u"[zenkick]") && !m_handlers.kickVote(line))
        return;
    if (line.messageHas(u"[zenlnk]"))
        m_handlers.link(line);

    for (int hut = 0; launchTag && hut < 4; ++hut) {
        static const QString tags[] = {QStringLiteral("[zenlaunch0]"), QStringLiteral("[zenlaunch1]"),
                                       QStringLiteral("[zenlaunch2]"), QStringLiteral("[zenlaunch3]")};
        if (line.messageHas(tags[hut]) && !m_handlers.launch(line, hut))
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

    m_view.appendChat(sender + QStringLiteral("> ") + message + CrLf);
    m_handlers.channelMessage(sender, message);
    m_view.refresh();
}
