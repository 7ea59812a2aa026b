#pragma once

#include "app/declares.h"
#include "app/ports.h"
#include "irc/serverline.h"

class Connection;

// The lobby features the dispatcher hands lines to, in its fixed order.
class InboundHandlers {
public:
    virtual ~InboundHandlers() = default;
    // The client has ended: the rest of the read is not looked at.
    virtual bool hasEnded() const = 0;
    // Every line, before the lobby's steps: what it says about our own
    // connection and our place in the lobby channel.
    virtual void serverLine(const ServerLine& line) = 0;
    // The names of one 353 line of the lobby channel's names reply.
    virtual void namesLine(QStringView names) = 0;
    // The 366 line that ends the reply.
    virtual void namesEnd() = 0;
    // Membership of the lobby channel, one call per line that changes it.
    // Each returns false when the line does not fit the members kept; the
    // dispatcher then asks for the names (once a read).
    virtual bool memberJoined(QStringView nick) = 0; // someone else
    virtual bool memberParted(QStringView nick) = 0;
    virtual bool memberKicked(QStringView nick, QStringView by) = 0;
    virtual bool memberQuit(QStringView nick) = 0;
    virtual bool memberRenamed(QStringView from, QStringView to) = 0;
    // A read that brought names lines or membership lines has been
    // dispatched: the lists are rebuilt once for it, not once per line.
    virtual void rosterRead() = 0;
    // The server refused the nickname we register with: in use (433), or
    // not one it takes (432).
    virtual void nickRefused(bool inUse) = 0;
    // The server welcomed us under another nickname than the one we sent,
    // maybe cut to its limit (nickLength, 0 when it named none). True when
    // the client takes it and joins.
    virtual bool welcomedAs(QStringView nick, int nickLength) = 0;
    // Another user's channel message, to show and answer: sender is the user
    // name as shown, text the message with its line breaks made.
    virtual void channelMessage(const QString& sender, const QString& text) = 0;
    // A channel message carrying a kick-vote tag; false stops the line.
    virtual bool kickVote(const ServerLine& line) = 0;
    virtual void link(const ServerLine& line) = 0;
    // A channel message carrying the launch tag of hut n; false stops the line.
    virtual bool launch(const ServerLine& line, int hut) = 0;
};

// HandleInbound: every line of a read is recognised by its command word and
// parameters and handed on by itself. Whatever a read holds, the client
// answers it with at most one PONG and one NAMES request.
class Dispatcher {
public:
    // The chat pane's line when the server took a shortened nickname.
    static inline const QString ShortenedText = QStringLiteral("The server shortened your name to %1");

    Dispatcher(Declares& state, Connection& connection, View& view, InboundHandlers& handlers);

    // block: whole lines, each ended by CR LF (an over-long cut piece may lack it).
    void HandleInbound(const QString& block);

    static QString welcomeText(const QString& serverHost);

private:
    struct Read; // what one read has sent already

    void dispatchLine(const ServerLine& line, Read& read);
    void onPing(const ServerLine& line, Read& read);
    void onWelcome(const ServerLine& line, Read& read);
    void onSupport(const ServerLine& line);
    void onMembership(const ServerLine& line, Read& read);
    void onChannelMessage(const ServerLine& line);
    void askNames(Read& read);
    void showChatLine(const ServerLine& line);

    Declares& m_d;
    Connection& m_connection;
    View& m_view;
    InboundHandlers& m_handlers;
    QString m_channel; // the lobby channel the lines are read for, and folded
    QString m_foldedChannel;
    int m_nickLength = 0; // the server's NICKLEN, 0 until it names one
};
