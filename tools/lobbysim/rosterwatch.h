#pragma once

#include "rostersnapshot.h"

#include <QObject>

#include <vector>

class SimPlayer;

// Counts the players whose lobby shows an expected picture, checking a player
// again each time it has handled a received block. Waiting for a crowd to
// agree then costs one comparison per block, not one per player per event.
class RosterWatch : public QObject {
    Q_OBJECT
public:
    explicit RosterWatch(std::vector<SimPlayer*> players, QObject* parent = nullptr);

    // What every player should show; checks everyone at once.
    void expect(const RosterSnapshot& expected);
    bool allShow() const { return m_matching == int(m_players.size()); }
    int matching() const { return m_matching; }
    // The first few players that do not show it, with what they show.
    QString differences(int shown = 3) const;

private:
    void check(size_t index);

    std::vector<SimPlayer*> m_players;
    std::vector<bool> m_matches;
    RosterSnapshot m_expected;
    int m_matching = 0;
};
