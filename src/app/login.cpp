#include "app/login.h"

#include "app/wiretext.h"
#include <algorithm>

namespace Login {

QString removedCharacters()
{
    // blank ~ # @ _ - * & ^ % $ pound-sign !
    return QStringLiteral(" ~#@_-*&^%$") + QChar(0x00A3) + u'!';
}

namespace {
// The characters of an IRC nickname: a server refuses a name with any other.
bool nicknameCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ||
           QStringView(u"[]\\`^{|}_-").contains(c);
}
} // namespace

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
    if (boxText.isEmpty() || boxText.size() > MaxNameLength ||
        !std::all_of(boxText.begin(), boxText.end(), nicknameCharacter))
        return false;

    state.NickPrefix = QStringLiteral("MM_") + state.CodeLetter + QStringLiteral("aFFF");
    state.NickSuffix.clear();
    state.MyNick = state.NickPrefix + boxText + state.NickSuffix;
    return true;
}

} // namespace Login
