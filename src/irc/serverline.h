#pragma once

#include <QString>
#include <QStringMatcher>
#include <QStringView>

// One line of what the server sent, looked at once. The lobby's tests are
// case-insensitive substring searches over a line, so the line comes with a
// case-folded twin; the few pieces the features need are cut out here.
struct ServerLine {
    QStringView text;    // the whole line, with its CR LF when it has one
    QStringView folded;  // the same, folded to one case (same length)
    QStringView sender;  // the prefix's nickname: after ":" up to "!" (all of the prefix without "!")
    QStringView command; // the command word or numeric reply
    QStringView params;  // everything after the command, line end included
    // The text of a channel message to the lobby channel (after "PRIVMSG "
    // + channel + " :"), line end included; null for any other line.
    QStringView message;

    // text and folded must be the same line; foldedChannel the folded lobby channel.
    static ServerLine parse(QStringView text, QStringView folded, QStringView foldedChannel);

    // The needle is folded already. A Boyer-Moore matcher skips through a
    // line a needle's length at a time, so the lobby's many tests of every
    // line cost together about one look at each character.
    bool has(const QStringMatcher& foldedNeedle) const { return foldedNeedle.indexIn(folded) >= 0; }
    // Whether the channel message's text holds the needle.
    bool messageHas(const QStringMatcher& foldedNeedle) const
    {
        return foldedNeedle.indexIn(folded.mid(text.size() - message.size())) >= 0;
    }
    bool isChannelMessage() const { return !message.isNull(); }
    bool isReply(QStringView numeric) const { return command == numeric; }
    // Whether the command word is this one, in any letter case.
    bool is(QStringView word) const { return command.compare(word, Qt::CaseInsensitive) == 0; }
    // Parameter n (from 0) after the command: a blank-separated word, or the
    // rest of the line when it begins with ":" (without the ":"); null when
    // the line has fewer.
    QStringView param(int n) const;
    // Whether parameter n is the lobby channel.
    bool paramIsChannel(int n, QStringView foldedChannel) const;
    // The names of a 353 line for the lobby channel, whatever nickname it is
    // addressed to (our own may have changed on the way); null otherwise.
    QStringView namesList(QStringView foldedChannel) const;
    // A 366 line that ends the lobby channel's names reply.
    bool endsNames(QStringView foldedChannel) const;
    // The server's refusal (433 in use, 432 erroneous) of myNick as the
    // nickname of a registration: addressed to "*", the client having none yet.
    bool refusesNickname(QStringView myNick) const;
};
