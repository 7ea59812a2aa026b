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
    // The names of one 353 line of the lobby channel's names reply.
    virtual void namesLine(QStringView names) = 0;
    // The 366 line that ends the reply.
    virtual void namesEnd() = 0;
    // The read that brought names lines has been dispatched: the lists are
    // rebuilt once for it, not once per line.
    virtual void namesRead() = 0;
    // The server refused the nickname we register with: in use (433), or
    // not one it takes (432).
    virtual void nickRefused(bool inUse) = 0;
    // Another user's channel message, to show and answer: sender is the user
    // name as shown, text the message with its line breaks made.
    virtual void channelMessage(const QString& sender, const QString& text) = 0;
    // A channel message carrying a kick-vote tag; false stops the line.
    virtual bool kickVote(const ServerLine& line) = 0;
    virtual void link(const ServerLine& line) = 0;
    // A channel message carrying the launch tag of hut n; false stops the line.
    virtual bool launch(const ServerLine& line, int hut) = 0;
};

// HandleInbound: every line of a read runs through the lobby's fixed sequence
// of case-insensitive substring tests by itself. What the client sends in
// answer stays as lobby clients have always sent it for one read: at most one
// "pong" and one NAMES request, however many lines ask for them.
class Dispatcher {
public:
    Dispatcher(Declares& state, Connection& connection, View& view, InboundHandlers& handlers);

    // block: whole lines, each ended by CR LF (an over-long cut piece may lack it).
    void HandleInbound(const QString& block);

    static QString welcomeText(const QString& serverHost);

private:
    struct Read; // what one read has sent already

    void dispatchLine(const ServerLine& line, Read& read);
    void showChatLine(const ServerLine& line);

    Declares& m_d;
    Connection& m_connection;
    View& m_view;
    InboundHandlers& m_handlers;
};
