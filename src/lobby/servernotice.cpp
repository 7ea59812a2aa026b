#include "lobby/servernotice.h"

#include "lobby/nickcode.h"

#include <QStringList>

namespace {
const QString CrLf = QStringLiteral("\r\n");

QString notice(const QString& text)
{
    return QStringLiteral("-=NOTICE: ") + text + QStringLiteral("=-") + CrLf;
}

// The middle parameters, then the trailing one (after " :") if there is one.
QStringList parameters(QStringView params)
{
    if (params.endsWith(CrLf))
        params.chop(2);
    QStringList list;
    while (!params.isEmpty()) {
        if (params.startsWith(u':')) {
            list << params.mid(1).toString();
            break;
        }
        const qsizetype blank = params.indexOf(u' ');
        list << params.left(blank < 0 ? params.size() : blank).toString();
        params = blank < 0 ? QStringView() : params.mid(blank + 1);
    }
    return list;
}

QString clock(QTime at)
{
    return at.toString(QStringLiteral("HH:mm:ss"));
}

bool same(const QString& a, const QString& b)
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
    const QStringList p = parameters(line.params);
    const QString sender = line.sender.toString();
    ServerNotice n;
    if (line.command.compare(u"ERROR", Qt::CaseInsensitive) == 0) {
        n.kind = Kind::Error;
        n.text = p.value(0);
        n.chatLine = notice(QStringLiteral("The Server Says: ") + n.text);
    } else if (line.command.compare(u"JOIN", Qt::CaseInsensitive) == 0) {
        if (same(sender, myNick) && same(p.value(0), channel))
            n.kind = Kind::Joined;
    } else if (line.command.compare(u"KICK", Qt::CaseInsensitive) == 0) {
        if (p.size() >= 2 && same(p[0], channel) && same(p[1], myNick)) {
            n.kind = Kind::Kicked;
            const QString by = sender.startsWith(NickCode::Marker) ? NickCode::userName(sender) : sender;
            const QString why = p.value(2).isEmpty() ? QString() : QStringLiteral(" (") + p[2] + u')';
            n.chatLine = notice(QStringLiteral("You Were Kicked From The Lobby By ") + by + why +
                                QStringLiteral(". Type /select To Pick A Lobby"));
        }
    } else if (p.size() >= 2 && same(p[1], channel)) {
        // Numerics: <our nick> <channel> :<reason>
        const QString words = refusalInWords(line.command);
        if (line.command == u"404") {
            n.kind = Kind::NotSent;
            n.chatLine = notice(QStringLiteral("A Line Of Yours Did Not Reach The Lobby: ") + p.value(2));
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
