#include "lobby/ignorelist.h"

#include "app/playersettings.h"

QStringView IgnoreList::baseName(QStringView userName)
{
    if (userName.endsWith(u'_'))
        return userName.chopped(1);
    const qsizetype n = userName.size();
    if (n > 2 && userName.at(n - 2) == u'_' && userName.at(n - 1) >= u'2' && userName.at(n - 1) <= u'9')
        return userName.chopped(2);
    return userName;
}

qsizetype IgnoreList::indexOf(QStringView name) const
{
    const QStringView base = baseName(name);
    const QStringList& names = m_settings.ignored();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (base.compare(names[i], Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IgnoreList::add(const QString& name)
{
    if (indexOf(name) >= 0)
        return false;
    m_settings.setIgnored(m_settings.ignored() + QStringList{baseName(name).toString()});
    return true;
}

bool IgnoreList::remove(const QString& name)
{
    const qsizetype at = indexOf(name);
    if (at < 0)
        return false;
    QStringList names = m_settings.ignored();
    names.removeAt(at);
    m_settings.setIgnored(names);
    return true;
}

bool IgnoreList::ignores(QStringView userName) const
{
    return !m_settings.ignored().isEmpty() && indexOf(userName) >= 0;
}

const QStringList& IgnoreList::names() const
{
    return m_settings.ignored();
}
