#include "app/login.h"

#include "app/wiretext.h"

namespace Login {

QString removedCharacters()
{
    // blank ~ # @ _ - * & ^ % $ pound-sign !
    return QStringLiteral(" ~#@_-*&^%$") + QChar(0x00A3) + u'!';
}

bool logIn(Declares& state, QString& boxText)
{
    boxText = WireText::fromTyped(boxText);
    // Reserved names are compared as typed, before cleaning and with case.
    static const QString refused[] = {QString(), QStringLiteral(" "), QStringLiteral("NightShade"),
                                      QStringLiteral("Night")};
    for (const QString& name : refused) {
        if (boxText == name)
            return false;
    }
    if (boxText == QStringLiteral("@NightShade"))
        boxText = QStringLiteral("NightShade");
    if (boxText == QStringLiteral("@Night"))
        boxText = QStringLiteral("Night");

    for (const QChar c : removedCharacters())
        boxText.remove(c);

    state.CodeLetter = QStringLiteral("a");
    if (boxText.size() > MaxNameLength)
        return false;

    state.NickPrefix = QStringLiteral("MM_") + state.CodeLetter + QStringLiteral("aFFF");
    state.NickSuffix.clear();
    state.MyNick = state.NickPrefix + boxText + state.NickSuffix;
    return true;
}

} // namespace Login
