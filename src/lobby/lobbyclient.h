#pragma once

#include "app/declares.h"
#include "app/playersettings.h"
#include "app/ports.h"
#include "bot/answerbudget.h"
#include "irc/connection.h"
#include "irc/dispatcher.h"
#include "lobby/attention.h"
#include "lobby/intervals.h"
#include "lobby/keptchat.h"
#include "lobby/lobbycontext.h"
#include "lobby/lobbyroster.h"

#include <QObject>
#include <QTime>
#include <QTimer>

#include <functional>

class QSettings;

// One lobby client without windows: owns the client state and wires the
// connection, the dispatcher and the lobby's features to the ports it is
// given. The window calls the entry points named after its controls.
class LobbyClient : public QObject, private InboundHandlers {
    Q_OBJECT
public:
    static constexpr int RefreshIntervalMs = Intervals().refreshMs;
    static constexpr int ReconnectIntervalMs = Intervals().reconnectMs;
    // Connections in a row that the server ends before the lobby is joined
    // before the client stops trying.
    static constexpr int MaxEndedEarly = 3;
    static inline const QString GettingUserList = QStringLiteral("Getting User List...");
    static inline const QString CouldNotFindHost = QStringLiteral("Could Not Find Host");

    LobbyClient(Transport& transport, Shell& shell, View& view, QObject* parent = nullptr);
    ~LobbyClient() override;

    Declares& state() { return m_d; }
    const Declares& state() const { return m_d; }
    Connection& connection() { return m_connection; }
    KeptChat& keptChat() { return m_kept; }
    int socketState() const { return m_connection.state(); }
    // True once the client has ended the program; it then does nothing more.
    bool hasEnded() const override { return m_ended; }

    // Tests and the load generator shorten the timers; the window uses the defaults.
    void setTimerIntervals(int refreshMs, int reconnectMs);
    void setIntervals(const Intervals& intervals);
    // Milliseconds from any fixed start; the bot's answer budget and the
    // server's silence count in it. Tests hand in their own; the default is a
    // monotonic clock.
    void setClock(std::function<qint64()> clock);
    // Where the player's choices are kept between runs; without a store they
    // last for the run.
    void setSettingsStore(QSettings* store) { m_settings.setStore(store); }

    // The lobby window's load: connects and registers; starts both timers the first time.
    void Form_Load();
    void ReConnect_Timer();
    // A lobby picked in the lobby choice after the lobby window was loaded:
    // the client connects to it at once, unless it is already there.
    void lobbyChosen();
    void Timer1_Timer();
    void HandleInbound(const QString& block);

    void SEND_Click(const QString& text);
    void OUTCHAT_GotFocus();
    void Hut_Click(int index);
    void Launch_Click(int hut);

    // Ends the client for good: no more sending, no timers, then the process ends.
    void endProgram();
    // The same after a last message. While the message is open nothing more is
    // dispatched and nothing reconnects, so no second message can follow it;
    // the refresh goes on, and what was sent just before still leaves.
    void endWithMessage(const QString& title, const QString& text, Shell::Icon icon = Shell::Icon::None);

signals:
    // NICK and USER went out on a new connection.
    void registered();
    // Every received block after it was dispatched (tests and tools wait on it).
    void blockHandled();

private:
    void serverLine(const ServerLine& line) override;
    void namesLine(QStringView names) override;
    void namesEnd() override;
    bool memberJoined(QStringView nick) override;
    bool memberParted(QStringView nick) override;
    bool memberKicked(QStringView nick, QStringView by) override;
    bool memberQuit(QStringView nick) override;
    bool memberRenamed(QStringView from, QStringView to) override;
    void rosterRead() override;
    void nickRefused(bool inUse) override;
    bool welcomedAs(QStringView nick, int nickLength) override;
    void channelMessage(const QString& sender, const QString& text) override;
    bool kickVote(const ServerLine& line) override;
    void link(const ServerLine& line) override;
    bool launch(const ServerLine& line, int hut) override;

    void backToLogin(const QString& text);
    void onFailed(bool whileConnecting, int code, const QString& description);
    bool ignores(QStringView userName);
    void onLost(Connection::Loss how);
    void emptyLobby();
    void stopWorking();
    void finish();

    Declares m_d;
    Shell& m_shell;
    View& m_view;
    Connection m_connection;
    Dispatcher m_dispatcher;
    LobbyContext m_lobby;
    PlayerSettings m_settings;
    Attention m_attention;
    KeptChat m_kept;
    LobbyRoster m_roster;
    AnswerBudget m_botBudget;
    std::function<qint64()> m_clock;
    QTimer m_refreshTimer;
    QTimer m_reconnectTimer;
    QString m_connectionChannel; // CurrentChannel when the connection was opened
    bool m_joinedHere = false;   // the lobby channel was joined on this connection
    int m_endedEarly = 0;        // connections in a row the server ended before that
    QString m_lastError;         // the server's last ERROR text since then
    QTime m_lostAt;              // when the connection was lost; null while it is not
    bool m_ended = false;
};
