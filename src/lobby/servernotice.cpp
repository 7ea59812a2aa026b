#include "lobby/servernotice.h"

#include "lobby/nickcode.h"

namespace {
const QString CrLf = QStringLiteral("\r\n");

QString notice(const QString& text)
{
    return QStringLiteral("-=NOTICE: ") + text + QStringLiteral("=-") + CrLf;
}

QString clock(QTime at)
{
    return at.toString(QStringLiteral("HH:mm:ss"));
}

bool same(QStringView a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString refusalInWords(QStringView numeric)
{
    if (numeric == u"471")
        return QStringLiteral("It Is Full");
    if (numeric == u"473")
        return QStringLiteral("It Is Invite Only");
    if (numeric == u"474")
        return QStringLiteral("You Are Banned From It");
    if (numeric == u"475")
        return QStringLiteral("It Needs A Key");
    return {};
}
} // namespace

ServerNotice ServerNotice::of(const ServerLine& line, const QString& myNick, const QString& channel)
{
    ServerNotice n;
    if (line.is(u"ERROR")) {
        n.kind = Kind::Error;
        n.text = line.param(0).toString();
        n.chatLine = notice(QStringLiteral("The Server Says: ") + n.text);
    } else if (line.is(u"JOIN")) {
        if (same(line.sender, myNick) && same(line.param(0), channel))
            n.kind = Kind::Joined;
    } else if (line.is(u"KICK")) {
        if (same(line.param(0), channel) && same(line.param(1), myNick)) {
            n.kind = Kind::Kicked;
            const QString by = line.sender.startsWith(NickCode::Marker)
                                   ? NickCode::userName(line.sender.toString())
                                   : line.sender.toString();
            const QStringView why = line.param(2);
            n.chatLine = notice(QStringLiteral("You Were Kicked From The Lobby By ") + by +
                                (why.isEmpty() ? QString() : QStringLiteral(" (") + why.toString() + u')') +
                                QStringLiteral(". Type /select To Pick A Lobby"));
        }
    } else if (same(line.param(1), channel)) {
        // Numerics: <our nick> <channel> :<reason>
        const QString words = refusalInWords(line.command);
        if (line.isReply(u"404")) {
            n.kind = Kind::NotSent;
            n.chatLine = notice(QStringLiteral("A Line Of Yours Did Not Reach The Lobby: ") +
                                line.param(2).toString());
        } else if (!words.isEmpty()) {
            n.kind = Kind::JoinRefused;
            n.chatLine = notice(QStringLiteral("Could Not Join The Lobby, ") + words +
                                QStringLiteral(". Type /select To Pick Another Lobby"));
        }
    }
    return n;
}

QString ServerNotice::lostLine(bool silent, QTime at)
{
    return notice(QStringLiteral("Connection Lost At ") + clock(at) +
                  (silent ? QStringLiteral(", The Server Stopped Answering")
                          : QStringLiteral(", Closed By The Server")) +
                  QStringLiteral(". Reconnecting..."));
}

QString ServerNotice::reconnectedLine(QTime lostAt, QTime at)
{
    return notice(QStringLiteral("Reconnected At ") + clock(at) + QStringLiteral(" (Lost At ") +
                  clock(lostAt) + QStringLiteral("). Lines Said In The Lobby Meanwhile Were Not Received"));
}

QString ServerNotice::keptLine(const QString& text)
{
    return notice(QStringLiteral("Not In The Lobby, Sent When It Is Back: ") + text);
}

QString ServerNotice::droppedLine(int count)
{
    return notice(QString::number(count) + QStringLiteral(" Older Lines Typed Meanwhile Were Dropped"));
}

QString ServerNotice::refusedMessage(const QString& errorText)
{
    return errorText.isEmpty()
               ? QStringLiteral("The Server Closed The Connection Before The Lobby Was Joined, Three Times")
               : QStringLiteral("The Server Refused The Connection: ") + errorText;
}
