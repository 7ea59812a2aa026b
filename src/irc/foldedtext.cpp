#include "irc/foldedtext.h"

namespace FoldedText {

// Lobby traffic is nearly all ASCII, folded here by hand; Qt's own folding of
// a whole string costs several times a search.
void fold(QStringView text, QString& folded)
{
    folded.resize(text.size());
    const auto* in = text.utf16();
    auto* out = reinterpret_cast<char16_t*>(folded.data());
    const qsizetype size = text.size();
    // A read of plain ASCII, the common case, takes two simple loops the
    // compiler turns into vector code.
    char16_t seen = 0;
    for (qsizetype i = 0; i < size; ++i)
        seen |= in[i];
    if (seen < 0x80) {
        for (qsizetype i = 0; i < size; ++i)
            out[i] = char16_t(in[i] + (unsigned(in[i] - u'A') < 26u ? 32 : 0));
        return;
    }
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
}

QString fold(QStringView text)
{
    QString folded;
    fold(text, folded);
    return folded;
}

} // namespace FoldedText
