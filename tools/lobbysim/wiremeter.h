#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// The bytes all players receive while the lobby is busy: from the moment
// everyone has joined and the joining traffic has settled, until end().
class WireMeter : public QObject {
    Q_OBJECT
public:
    using Settle = std::function<void(std::function<void()>)>;

    // bytes: what all players have received so far; actions: how many so far.
    WireMeter(std::function<qint64()> bytes, std::function<int()> actions, QObject* parent = nullptr);

    // Begins counting once allJoined() holds and settle() has let the traffic settle.
    void beginWhen(std::function<bool()> allJoined, Settle settle);
    // The first call ends the count; it does nothing before the count began.
    void end();
    // "  wire           R KiB received by all players, P bytes per action"
    QString summaryLine() const;

private:
    std::function<qint64()> m_bytes;
    std::function<int()> m_actions;
    QTimer m_waiting;
    bool m_begun = false;
    bool m_ended = false;
    qint64 m_bytesAtBegin = 0, m_bytesCounted = 0;
    int m_actionsAtBegin = 0, m_actionsCounted = 0;
};
