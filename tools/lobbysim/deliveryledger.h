#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class SimPlayer;

// What a crowd owes its players: every chat line a player sent must show
// exactly once on every other player that was in the lobby from before it was
// sent to the end, and every member of a launched hut must start exactly one
// joiner command line for that launch.
class DeliveryLedger {
public:
    struct Figures {
        qint64 chatShown = 0, chatDue = 0;
        qint64 launchesStarted = 0, launchesDue = 0;
    };

    explicit DeliveryLedger(const std::vector<std::unique_ptr<SimPlayer>>& players) : m_players(players) {}

    // Before `sender` sends a line that shows as `shown` ("Name> text").
    void chatSent(int sender, const QString& shown);
    // `player`'s chat pane showed `line`.
    void lineShown(int player, QStringView line);
    // Before a launch reaches `member`: it must start `joinerLine` once.
    void launchDue(int member, const QString& joinerLine);

    Figures figures() const;
    // "  delivered      chat 100.0% (N of N), launches 100.0% (M of M)"
    QString summaryLine() const;

private:
    struct SentChat {
        int sender;
        std::vector<int> sessions; // per player its session when sent, -1 when not in the lobby
        std::vector<quint8> shown; // per player, saturating
    };
    struct LaunchDue {
        int member;
        QString joinerLine;
        qsizetype startedBefore;
    };

    const std::vector<std::unique_ptr<SimPlayer>>& m_players;
    std::vector<SentChat> m_chat;
    QHash<QString, qsizetype> m_chatByLine;
    std::vector<LaunchDue> m_launches;
};
