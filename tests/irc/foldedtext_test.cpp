#include "irc/foldedtext.h"

#include <gtest/gtest.h>

namespace {

// The dispatcher's case-insensitive searches run on folded text: it must fold
// as Qt does, character for character, so positions stay those of the block.
TEST(FoldedText, FoldsAsQtDoesAndKeepsEveryCharacterInPlace)
{
    const QString bmpAndBeyond = QString::fromUcs4(U"\u00C4\u212A\u017F\U00010400");
    const QString texts[] = {
        "@AZ[`az{ PING :irc",           // plain ASCII and the letters' edges
        "@AZ[`az{" + bmpAndBeyond,      // the same beside letters beyond ASCII
        bmpAndBeyond + QChar(0xD801),   // half a pair at the end
        QChar(0xD801) + QString("AbC"), // half a pair before ASCII
        "",
    };
    for (const QString& text : texts)
        EXPECT_EQ(FoldedText::fold(text), text.toCaseFolded()) << text.toStdString();
}

} // namespace
