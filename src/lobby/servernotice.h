#pragma once

#include "irc/serverline.h"

#include <QString>
#include <QTime>

// What a server line says about our own place in the lobby channel, read from
// its command word and parameters (never from words in its text), and the
// chat pane's lines about the connection.
struct ServerNotice {
    enum class Kind { None, Joined, Kicked, Error, NotSent, JoinRefused };

    Kind kind = Kind::None;
    QString text;     // Error: the server's own words
    QString chatLine; // what the chat pane shows, CR LF included; empty for none

    static ServerNotice of(const ServerLine& line, const QString& myNick, const QString& channel);

    static QString lostLine(bool silent, QTime at);
    // The welcome of a new connection clears the pane: this line names both times.
    static QString reconnectedLine(QTime lostAt, QTime at);
    static QString keptLine(const QString& text);
    static QString droppedLine(int count);
    // The message when the server has ended connection after connection
    // before the lobby was joined; errorText is its last ERROR, if any.
    static QString refusedMessage(const QString& errorText);
};
