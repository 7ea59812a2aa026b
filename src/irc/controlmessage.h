#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Launch, kick and link messages: channel messages whose text starts with a
// bracketed tag, one blank, the fields, and "|||" right before the line end.
namespace ControlMessage {

inline const QString KickTag = QStringLiteral("[ZENKICK]");
inline const QString LinkTag = QStringLiteral("[ZENLNK]");
QString launchTag(int hut);

// Lines as handed to SendLine (which adds the CR LF).
QString launchLine(const QString& channel, int hut, const QString& localIP, const QString& fieldSep);
QString kickLine(const QString& channel, const QString& voterNick, const QString& target,
                 const QString& fieldSep);
QString linkLine(const QString& channel, const QString& address, const QString& fieldSep);

// The fields of the first occurrence of tag in text (found ignoring case):
// from one character after the tag to the first fieldSep + CR LF after that.
// Nothing when the terminator is missing.
std::optional<QString> fields(QStringView text, const QString& tag, const QString& fieldSep);

struct KickVote {
    QString voterNick;
    QString target;
};
// Splits kick fields at their first ">"; nothing when there is none.
std::optional<KickVote> parseKick(const QString& fields);

// A host address the game can be pointed at: four dotted decimal numbers up to 255.
bool isDottedIPv4(QStringView address);
// A link the browser is given as one argument: one word, no blank or control character.
bool isOneWord(QStringView address);

} // namespace ControlMessage
