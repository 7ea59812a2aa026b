#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class SimPlayer;

// Whether every player in the lobby shows exactly what a fresh names reply
// gives: each asks the server for the names once more, and its lists (in
// their order), huts and user count must come out as they were.
class FreshNames : public QObject {
    Q_OBJECT
public:
    using Settle = std::function<void(std::function<void()>)>;

    // settle(then) runs then once the traffic has settled; done() runs after the check.
    void check(const std::vector<std::unique_ptr<SimPlayer>>& players, const Settle& settle,
               std::function<void()> done);
    bool checked() const { return m_checked >= 0; }
    int checkedPlayers() const { return m_checked; }
    // Players whose lobby changed when the fresh reply came; empty when none did.
    const std::vector<const SimPlayer*>& differing() const { return m_differing; }
    // " and match a fresh names reply", or how many do not; empty before a check.
    QString note() const;

private:
    int m_checked = -1;
    std::vector<const SimPlayer*> m_differing;
};
