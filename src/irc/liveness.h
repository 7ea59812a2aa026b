#pragma once

#include <QtGlobal>

// Whether the server is still there. A link can die without a close (a
// router, a suspended laptop, a hung server): then nothing arrives, ever.
// Any line counts as life; after a quiet spell the client asks with a PING of
// its own, and a server that stays silent after it is taken for gone.
class Liveness {
public:
    enum class Step { None, Ping, Drop };

    static constexpr qint64 DefaultQuietMs = 60000;
    static constexpr qint64 DefaultAnswerMs = 30000;

    void setIntervals(qint64 quietMs, qint64 answerMs);
    // How often check() should run: often enough that neither time is overrun by much.
    qint64 checkEveryMs() const;

    // A new connection, or a line from the server: the silence starts again.
    void heard(qint64 now);
    // What is due now: a PING once the quiet time has passed, the drop once
    // the answer time has passed after it. Each is handed out once.
    Step check(qint64 now);

private:
    qint64 m_quietMs = DefaultQuietMs;
    qint64 m_answerMs = DefaultAnswerMs;
    qint64 m_lastHeard = 0;
    qint64 m_pingedAt = 0;
    bool m_pinged = false;
    bool m_dropped = false;
};
