#include "irc/foldedtext.h"

#include <gtest/gtest.h>

namespace {

// The folded search must find exactly what a case-insensitive QString search
// finds, the dispatcher's tests depend on it: ASCII, Latin-1 letters, letters
// that fold to ASCII (Kelvin sign, long s) and letters beyond the BMP.
TEST(FoldedText, FindsWhatACaseInsensitiveSearchFinds)
{
    const QString kelvin = QString(QChar(0x212A));
    const QString longS = QString(QChar(0x017F));
    const QString deseretBig = QString::fromUcs4(U"\U00010400");
    const QString deseretSmall = QString::fromUcs4(U"\U00010428");
    const struct {
        QString text;
        QString needle;
    } cases[] = {
        {"PING :irc.zen.test", "ping"},
        {":a!b@c NiCk :MM_aaFFFAnn", "NICK :"},
        {"no such word", "NICK :"},
        {"[zenkick] MM_aaFFFAnn>Bob|||", "[ZENKICK]"},
        {"[ZEN" + kelvin + "ICK] x", "[ZENKICK]"},
        {"PRIVMSG #Caf" + QString(QChar(0xC9)) + " :hi", "privmsg #caf" + QString(QChar(0xE9)) + " :"},
        {"the pa" + longS + "s", "PASS"},
        {"a " + deseretBig + " b", deseretSmall},
        {"a " + deseretSmall + " b", deseretBig},
        {"half a pair " + QString(QChar(0xD801)) + "x", "X"},
        {"", "x"},
        {"abc", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldedText::fold(c.text).contains(FoldedText::fold(c.needle)), c.text.contains(c.needle, Qt::CaseInsensitive))
            << c.text.toStdString() << " / " << c.needle.toStdString();
    }
}

// Folding never moves a character, so positions in the folded text are
// positions in the block.
TEST(FoldedText, KeepsEveryCharacterInPlace)
{
    const QString text = "AbC" + QString(QChar(0xC4)) + QString::fromUcs4(U"\U00010400") + "z" + QChar(0xD801);
    const QString folded = FoldedText::fold(text);
    ASSERT_EQ(folded.size(), text.size());
    EXPECT_EQ(folded, text.toCaseFolded());
}

} // namespace
