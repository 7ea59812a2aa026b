#include "lobby/playercommands.h"

#include "app/commandhelp.h"
#include "app/playersettings.h"
#include "app/ports.h"
#include "lobby/ignorelist.h"
#include "lobby/lobbycontext.h"

namespace PlayerCommands {

namespace {
const QString CrLf = QStringLiteral("\r\n");

// The first word after command when text is that command, else a null string.
QString argumentOf(const QString& text, QLatin1String command)
{
    if (!text.startsWith(command, Qt::CaseInsensitive))
        return {};
    const QString rest = text.mid(command.size());
    if (!rest.isEmpty() && !rest.startsWith(u' '))
        return {};
    const QString word = rest.section(u' ', 0, 0, QString::SectionSkipEmpty);
    return word.isNull() ? QStringLiteral("") : word;
}

QString alerts(PlayerSettings& settings, const QString& choice)
{
    if (choice.compare(u"on", Qt::CaseInsensitive) == 0)
        settings.setAlerts(true);
    else if (choice.compare(u"off", Qt::CaseInsensitive) == 0)
        settings.setAlerts(false);
    else if (!choice.isEmpty())
        return CommandHelp::Alerts;
    return settings.alerts() ? AlertsOn : AlertsOff;
}

QString ignore(IgnoreList& list, const QString& name)
{
    if (!name.isEmpty()) {
        list.add(name);
        return QStringLiteral("You Are Ignoring ") + IgnoreList::baseName(name).toString();
    }
    if (list.names().isEmpty())
        return IgnoringNobody;
    return QStringLiteral("You Are Ignoring: ") + list.names().join(QStringLiteral(", "));
}

QString unignore(IgnoreList& list, const QString& name)
{
    if (name.isEmpty())
        return CommandHelp::Unignore;
    return (list.remove(name) ? QStringLiteral("You Are No Longer Ignoring ")
                              : QStringLiteral("You Were Not Ignoring ")) +
           IgnoreList::baseName(name).toString();
}
} // namespace

bool run(LobbyContext& lobby, const QString& text)
{
    PlayerSettings& settings = *lobby.settings;
    IgnoreList list(settings);
    QString answer;
    if (const QString choice = argumentOf(text, QLatin1String("/alerts")); !choice.isNull())
        answer = alerts(settings, choice);
    else if (const QString name = argumentOf(text, QLatin1String("/ignore")); !name.isNull())
        answer = ignore(list, name);
    else if (const QString name = argumentOf(text, QLatin1String("/unignore")); !name.isNull())
        answer = unignore(list, name);
    else
        return false;
    lobby.view.appendChat(answer + CrLf);
    return true;
}

} // namespace PlayerCommands
