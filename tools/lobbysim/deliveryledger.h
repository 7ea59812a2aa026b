#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <vector>

class SimPlayer;

// What a crowd owes its players: every chat line a player sent must show
// exactly once on every other player that was in the lobby from before it was
// sent to the end, and every member of a launched hut must start exactly one
// joiner command line for that launch. Only players connected throughout
// count: a line or a launch whose sender lost the connection later (a server
// restarted under it) may never have left that server, and a player who lost
// it is owed nothing from before.
class DeliveryLedger {
public:
    struct Figures {
        qint64 chatShown = 0, chatDue = 0;
        qint64 launchesStarted = 0, launchesDue = 0;
    };

    // What the ledger asks about the crowd's players, by index, at any time.
    class Crowd {
    public:
        virtual ~Crowd() = default;
        virtual int size() const = 0;
        // The number of its connection while it is in the lobby; -1 when it is not.
        virtual int sessionInLobby(int player) const = 0;
        // The command lines it has started so far.
        virtual const QStringList& started(int player) const = 0;
    };

    explicit DeliveryLedger(const Crowd& crowd) : m_crowd(crowd) {}
    // The ledger of simulated players.
    explicit DeliveryLedger(const std::vector<std::unique_ptr<SimPlayer>>& players);
    ~DeliveryLedger();

    // Before `sender` sends a line that shows as `shown` ("Name> text").
    void chatSent(int sender, const QString& shown);
    // `player`'s chat pane showed `line`.
    void lineShown(int player, QStringView line);
    // Before `host`'s launch reaches `member`: it must start `joinerLine` once.
    void launchDue(int host, int member, const QString& joinerLine);

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
        int host, hostSession;
        int member;
        int session;
        QString joinerLine;
        qsizetype startedBefore;
    };

    std::unique_ptr<Crowd> m_ownCrowd;
    const Crowd& m_crowd;
    std::vector<SentChat> m_chat;
    QHash<QString, qsizetype> m_chatByLine;
    std::vector<LaunchDue> m_launches;
};
