#include "irc/dispatcher.h"

#include "irc/connection.h"
#include "irc/foldedtext.h"

namespace {
constexpr auto CI = Qt::CaseInsensitive;
const QString CrLf = QStringLiteral("\r\n");

} // namespace

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

int Dispatcher::nickRefusal(QStringView line, const QString& myNick)
{
    // Word by word, not a substring: a numeric is the second word of a line
    // only the server writes, so a chat line quoting one refuses nothing.
    const QList<QStringView> words = line.split(u' ');
    if (words.size() < 4 || words[2] != u"*" || words[3].compare(myNick, Qt::CaseInsensitive) != 0)
        return 0;
    if (words[1] == u"433")
        return 433;
    return words[1] == u"432" ? 432 : 0;
}

void Dispatcher::HandleInbound(const QString& block)
{
    const FoldedText folded(block);
    const auto has = [&folded](const QString& text) { return folded.contains(text); };
    // A lobby client answers any "ping" in the block, even inside a chat line,
    // with a bare "pong": servers accept it and keep the client.
    if (has(QStringLiteral("ping")))
        m_connection.SendLine(QStringLiteral("pong"));

    if (has(QStringLiteral(" 433 * ")) || has(QStringLiteral(" 432 * "))) {
        for (const QStringView line : QStringView(block).split(CrLf)) {
            if (const int refusal = nickRefusal(line, m_d.MyNick)) {
                m_handlers.nickRefused(refusal == 433);
                return;
            }
        }
    }

    const QString names = QStringLiteral("NAMES ") + m_d.CurrentChannel;
    if (has(QStringLiteral("NICK :"))) {
        m_connection.SendLine(names);
        return;
    }
    if (has(QStringLiteral("QUIT :")) || has(QStringLiteral("JOIN :"))) {
        m_connection.SendLine(names);
        return;
    }

    if (has(QStringLiteral("NOTICE AUTH"))) {
        m_connection.sendRegistration();
    } else if (has(QStringLiteral("001 ") + m_d.MyNick) || has(QStringLiteral("462 ") + m_d.MyNick)) {
        m_connection.SendLine(QStringLiteral("JOIN ") + m_d.CurrentChannel);
        m_connection.SendLine(QStringLiteral("MODE ") + m_d.CurrentChannel);
        m_view.setChatText(welcomeText(m_d.ServerHost));
    }

    if (has(QStringLiteral("353 ") + m_d.MyNick) && !m_handlers.namesReply(block))
        return;

    const bool launchTag = has(QStringLiteral("[ZENLAUNCH"));
    if (!launchTag && has(QStringLiteral("PRIVMSG ") + m_d.CurrentChannel + QStringLiteral(" :")))
        showChatLine(block);

    if (has(QStringLiteral("[ZENKICK]")) && !m_handlers.kickVote(block))
        return;
    if (has(QStringLiteral("[ZENLNK]")))
        m_handlers.link(block);

    for (int hut = 0; launchTag && hut < 4; ++hut) {
        if (has(QStringLiteral("[ZENLAUNCH%1]").arg(hut)) && !m_handlers.launch(block, hut))
            return;
    }
}

void Dispatcher::showChatLine(const QString& block)
{
    const QString marker = QStringLiteral("PRIVMSG ") + m_d.CurrentChannel + QStringLiteral(" :");
    const qsizetype start = block.indexOf(marker, 0, CI) + marker.size();
    const qsizetype end = block.indexOf(CrLf, start);
    const qsizetype bang = block.indexOf(u'!');
    if (end < 0 || bang < 0)
        return; // a cut line: nothing to show

    // The sender runs from the block's second character to its first "!", so
    // text of an earlier line in the same block is part of it.
    QString sender = bang >= 1 ? block.mid(1, bang - 1) : QString();
    if (sender.startsWith(QStringLiteral("MM_")))
        sender.remove(0, 8);

    QString message = block.mid(start, end - start);
    message.replace(QStringLiteral(":endl:"), CrLf);

    m_view.appendChat(sender + QStringLiteral("> ") + message + CrLf);
    m_handlers.channelMessage(message);
    m_view.refresh();
}
