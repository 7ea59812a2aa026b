#pragma once

#include <QStringList>

class QSettings;
class QVariant;

// The player's choices that outlive a run: who is ignored and whether the
// lobby window may ask for attention. Kept in the store the client is handed
// (the per-user settings in the program, a file of their own in tests);
// without one they last as long as the run.
class PlayerSettings {
public:
    // Reads the store's choices now; every later change is written to it.
    void setStore(QSettings* store);

    bool alerts() const { return m_alerts; }
    void setAlerts(bool on);
    const QStringList& ignored() const { return m_ignored; }
    void setIgnored(const QStringList& names);

private:
    void write(const QString& key, const QVariant& value);

    QSettings* m_store = nullptr;
    bool m_alerts = true;
    QStringList m_ignored;
};
