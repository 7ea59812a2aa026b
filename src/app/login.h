#pragma once

#include "app/declares.h"

#include <QString>

namespace Login {

inline const QString RefusedMessage = QStringLiteral("Please Use a Valid UserName");
inline const QString InUseMessage = QStringLiteral("That UserName Is In Use, Please Choose Another");
// The server cut the code off a nickname: with its limit, and without.
inline const QString TooLongMessage = QStringLiteral(
    "That UserName Is Too Long: This Server Takes Nicknames Of At Most %1 Characters, %2 For Your Name");
inline const QString CutMessage =
    QStringLiteral("That UserName Is Too Long For This Server, Please Choose A Shorter One");
// What the login box tells the player: the characters left after cleaning
// that a server takes in a nickname.
inline const QString NameHint =
    QStringLiteral("Up to 20 characters: A-Z, a-z, 0-9 and [ ] \\ ` { | } (no accented letters)");
inline constexpr int MaxNameLength = 20;

// The characters a lobby name never holds, removed in this order.
QString removedCharacters();

// The login button: boxText is the login box, read and written back as the
// player sees it. On success fills CodeLetter, NickPrefix, NickSuffix and
// MyNick and returns true; on a refusal returns false (the caller shows
// RefusedMessage), with the box as far as it was cleaned. A cleaned name must
// be one a server takes: not empty, only IRC nickname characters.
bool logIn(Declares& state, QString& boxText);

} // namespace Login
