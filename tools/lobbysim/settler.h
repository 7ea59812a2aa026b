#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <list>
#include <memory>
#include <vector>

class SimPlayer;

// Waits for a crowd's traffic to settle: every welcomed player asks its
// server for a PONG and waits for it, twice, so whatever anyone sent before
// has reached everyone, across linked servers too. A player that loses its
// connection meanwhile is not waited for. Gives up after a minute.
class Settler : public QObject {
    Q_OBJECT
public:
    explicit Settler(const std::vector<std::unique_ptr<SimPlayer>>& players, QObject* parent = nullptr);

    // Runs `then` once settled; several waits may run at once. With
    // `among`, only the players it holds for take part.
    void settle(std::function<void()> then, std::function<bool(const SimPlayer&)> among = {});
    // Whether the waits so far have all ended.
    bool idle() const { return m_waits.empty(); }
    // Checks the waits again (a player's PONG came).
    void check();

private:
    struct Wait {
        std::vector<qint64> awaited; // per player the sync it waits for, 0 for none
        std::vector<int> sessions;
        std::function<bool(const SimPlayer&)> among;
        int roundsLeft = 0;
        QDeadlineTimer deadline;
        std::function<void()> then;
    };

    void startRound(Wait& wait);
    bool roundDone(const Wait& wait) const;

    const std::vector<std::unique_ptr<SimPlayer>>& m_players;
    std::list<Wait> m_waits;
    QTimer m_timer; // notices players that drop while settling
};
