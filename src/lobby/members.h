#pragma once

#include <QList>
#include <QStringList>
#include <QStringView>

// The lobby channel's members, in the order the server lists them (newest
// first, a rename in place), each entry as a names reply gives it to the
// roster: operator marks gone, any other membership mark kept.
class Members {
public:
    void reset(const QList<QStringView>& namesReply);
    void clear() { m_entries.clear(); }
    // Each returns false when the line does not fit the list (a join of
    // someone listed, a part or rename of someone not listed); the list then
    // is as the line says all the same, as far as it can be.
    bool joined(QStringView nick);
    bool left(QStringView nick);
    bool renamed(QStringView from, QStringView to);
    const QStringList& entries() const { return m_entries; }

private:
    qsizetype indexOf(QStringView nick) const;

    QStringList m_entries;
};
