#include "app/wiretext.h"

namespace WireText {

QString fromTyped(const QString& typed)
{
    QString text;
    text.reserve(typed.size());
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed.at(i);
        if (c.unicode() <= 0xFF) {
            text += c;
            continue;
        }
        text += u'?';
        if (c.isHighSurrogate() && i + 1 < typed.size() && typed.at(i + 1).isLowSurrogate())
            ++i;
    }
    return text;
}

} // namespace WireText
