#pragma once

#include <QString>
#include <QStringView>

// A lobby nickname carries its owner's state: "MM_", the code letter, the
// status letter (a chatting, b playing, c away, d be right back), two hex hut
// digits and one hex slot digit ("FFF" for none), then the user name.
namespace NickCode {

inline const QString Marker = QStringLiteral("MM_");
inline constexpr int PrefixLength = 8;

// The nickname with its status and place (four characters) replaced.
QString SetNickCode(const QString& myNick, const QString& codeLetter, const QString& placeCode);

// The first two characters read as upper-case hex digits; anything else counts 0.
int HexToNum(QStringView text);

// What every list, chat line and tool tip shows: the nickname without its prefix.
inline QString userName(const QString& nick)
{
    return nick.mid(PrefixLength);
}

// Hut number held in the nickname's hut digits (255 for none).
inline int hutOf(const QString& nick)
{
    return HexToNum(QStringView(nick).mid(5, 2));
}

// The four status-and-place characters for status "a" in hut h, slot s.
QString placeCode(int hut, int slot);

} // namespace NickCode
