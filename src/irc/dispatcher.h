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
    // Another user's channel message: the user name its chat line shows and
    // its text (line breaks already made).
    virtual void channelMessage(const QString& sender, const QString& text) = 0;
    // A block carrying a kick-vote tag; false stops the dispatch.
    virtual bool kickVote(const QString& block) = 0;
    virtual void link(const QString& block) = 0;
    // A block carrying the launch tag of hut n; false stops the dispatch.
    virtual bool launch(const QString& block, int hut) = 0;
};

// HandleInbound: every received block runs through a fixed sequence of
// case-insensitive substring tests over the whole block. The block is never
// parsed as IRC lines: that is how every lobby client on the network reads it.
class Dispatcher {
public:
    Dispatcher(Declares& state, Connection& connection, View& view, InboundHandlers& handlers);

    void HandleInbound(const QString& block);

    static QString welcomeText(const QString& serverHost);

private:
    void showChatLine(const QString& block);

    Declares& m_d;
    Connection& m_connection;
    View& m_view;
    InboundHandlers& m_handlers;
};
