#include "irc/foldedtext.h"

// Lobby traffic is nearly all ASCII, folded here by hand; Qt's own folding of
// a whole string costs several times a search.
QString FoldedText::fold(const QString& text)
{
    QString folded(text.size(), Qt::Uninitialized);
    const auto* in = reinterpret_cast<const char16_t*>(text.constData());
    auto* out = reinterpret_cast<char16_t*>(folded.data());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) {
            out[i] = c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
        } else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(in[i + 1])) {
            const char32_t point = QChar::toCaseFolded(QChar::surrogateToUcs4(c, in[i + 1]));
            out[i] = QChar::highSurrogate(point);
            out[i + 1] = QChar::lowSurrogate(point);
            ++i;
        } else {
            out[i] = char16_t(QChar::toCaseFolded(char32_t(c)));
        }
    }
    return folded;
}
