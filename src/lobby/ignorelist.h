#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class PlayerSettings;

// The players the player does not want to hear from, kept in the player's
// settings. A player is known by his user name without the suffix a taken
// nickname made his client add, in any case: he stays ignored whatever his
// status, seat or suffix.
class IgnoreList {
public:
    explicit IgnoreList(PlayerSettings& settings) : m_settings(settings) {}

    // False when the name was on the list already.
    bool add(const QString& name);
    // False when the name was not on the list.
    bool remove(const QString& name);
    bool ignores(QStringView userName) const;
    const QStringList& names() const;

    // The user name without a trailing "_" or "_2" to "_9".
    static QStringView baseName(QStringView userName);

private:
    qsizetype indexOf(QStringView name) const;

    PlayerSettings& m_settings;
};
