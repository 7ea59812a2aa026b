#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

class Connection;
class View;

// Chat typed while the lobby channel is not joined: kept (the newest MaxKept
// lines) and sent in order once it is joined again, one line per interval at
// most, each echoed when it really goes out. Nothing typed vanishes unseen.
class KeptChat : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxKept = 20;
    static constexpr int DefaultIntervalMs = 1000;

    KeptChat(Connection& connection, View& view, QObject* parent = nullptr);

    void setInterval(int ms) { m_timer.setInterval(ms); }
    // A chat line the player typed.
    void say(const QString& text);
    // The server echoed our JOIN of the lobby channel (true), or we are out of it.
    void setJoined(bool joined);
    // The pacing timer's tick: the next kept line goes out.
    void sendNext();

private:
    bool inLobby() const;

    Connection& m_connection;
    View& m_view;
    QStringList m_lines;
    int m_dropped = 0;
    bool m_joined = false;
    QTimer m_timer;
};
