#include "app/playersettings.h"

#include <QSettings>

namespace {
const QString AlertsKey = QStringLiteral("alerts");
const QString IgnoredKey = QStringLiteral("ignored");
} // namespace

void PlayerSettings::setStore(QSettings* store)
{
    m_store = store;
    if (!m_store)
        return;
    m_alerts = m_store->value(AlertsKey, true).toBool();
    m_ignored = m_store->value(IgnoredKey).toStringList();
}

void PlayerSettings::write(const QString& key, const QVariant& value)
{
    if (!m_store)
        return;
    m_store->setValue(key, value);
    // The program ends at once, without the event loop that would write it later.
    m_store->sync();
}

void PlayerSettings::setAlerts(bool on)
{
    m_alerts = on;
    write(AlertsKey, on);
}

void PlayerSettings::setIgnored(const QStringList& names)
{
    m_ignored = names;
    write(IgnoredKey, names);
}
