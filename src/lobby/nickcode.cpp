#include "lobby/nickcode.h"

namespace NickCode {

QString SetNickCode(const QString& myNick, const QString& codeLetter, const QString& placeCode)
{
    return Marker + codeLetter + placeCode + myNick.mid(PrefixLength);
}

namespace {
int digitValue(QStringView digit)
{
    if (digit.isEmpty())
        return 0;
    const QChar c = digit.front();
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return 0;
}
} // namespace

int HexToNum(QStringView text)
{
    return digitValue(text.mid(0, 1)) * 16 + digitValue(text.mid(1, 1));
}

QString placeCode(int hut, int slot)
{
    return QStringLiteral("a0") + QString::number(hut, 16).toUpper() + QString::number(slot, 16).toUpper();
}

} // namespace NickCode
