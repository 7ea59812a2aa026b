#pragma once

#include "app/declares.h"
#include "app/ports.h"

class Connection;

// The lobby features the dispatcher hands a block to, in its fixed order.
class InboundHandlers {
public:
    virtual ~InboundHandlers() = default;
    // A block with a names reply for this client; false stops the dispatch.
    virtual bool namesReply(const QString& block) = 0;
    // The text of another user's channel message (line breaks already made).
    virtual void channelMessage(const QString& text) = 0;
    // A block carrying a kick-vote tag; false stops the dispatch.
    virtual bool kickVote(const QString& block) = 0;
    virtual void link(const QString& block) = 0;
    // A block carrying the launch tag of hut n; false stops the dispatch.
    virtual bool launch(const QString& block, int hut) = 0;
    // The server refused the nickname we register with: in use (433), or
    // not one it takes (432).
    virtual void nickRefused(bool inUse) = 0;
};

// HandleInbound: every received block runs through a fixed sequence of
// case-insensitive substring tests over the whole block. The block is never
// parsed as IRC lines: that is how every lobby client on the network reads it.
class Dispatcher {
public:
    Dispatcher(Declares& state, Connection& connection, View& view, InboundHandlers& handlers);

    void HandleInbound(const QString& block);

    static QString welcomeText(const QString& serverHost);
    // 433 or 432 when `line` is the server's refusal of myNick as the nickname
    // of a registration (addressed to "*": the client has none yet); else 0.
    static int nickRefusal(QStringView line, const QString& myNick);

private:
    void showChatLine(const QString& block);

    Declares& m_d;
    Connection& m_connection;
    View& m_view;
    InboundHandlers& m_handlers;
};
