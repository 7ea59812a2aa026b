// The chat pane: lobby text with CR LF line ends, appended cheaply, end in view.
#include "ui/chatpane.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

struct PaneCase {
    QStringList appended;
    QString shown;
};

TEST(ChatPane, ShowsEachLobbyLineAsOneLineWithoutBlankLines)
{
    const PaneCase cases[] = {
        {{"Ann> hi\r\n", "Bob> yo\r\n"}, "Ann> hi\nBob> yo"},
        {{"Eve> one\r\ntwo\r\n", "x\r\n"}, "Eve> one\ntwo\nx"},
        {{"a\r\n", "\r\n", "b\r\n"}, "a\n\nb"},
        {{"no end", " and more\r\n"}, "no end and more"},
        {{"a\nb\rc\r\n"}, "a\nb\nc"},
    };
    for (const PaneCase& c : cases) {
        SCOPED_TRACE(c.appended.join(u'+').toStdString());
        ChatPane pane(nullptr);
        for (const QString& text : c.appended)
            pane.appendText(text);
        EXPECT_EQ(pane.toPlainText(), c.shown);
    }
}

TEST(ChatPane, AHugeLineIsShownInPiecesWithNothingLost)
{
    ChatPane pane(nullptr);
    pane.resize(400, 170);
    pane.show();
    const QString huge = QStringLiteral("Eve> ") + QString(1000 * 1000, u'x');
    pane.appendText(huge + QStringLiteral("\r\n"));
    pane.appendText(QStringLiteral("Ann> after\r\n"));
    const QStringList lines = pane.toPlainText().split(u'\n');
    EXPECT_EQ(lines.last(), QStringLiteral("Ann> after"));
    EXPECT_EQ(QStringList(lines.mid(0, lines.size() - 1)).join(QString()), huge);
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 2000);
}

TEST(ChatPane, TheWelcomeReplacesEverythingAndLinesFollowIt)
{
    ChatPane pane(nullptr);
    pane.replaceText(QStringLiteral("CONECTING TO ZENTHARA NETWORK......\r\n"));
    pane.appendText(QStringLiteral("Bob> early\r\n"));
    pane.replaceText(QStringLiteral("<--WELCOME-->\r\n-Command List-\r\n"));
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("<--WELCOME-->\n-Command List-"));
    pane.appendText(QStringLiteral("Ann> hi\r\n"));
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("<--WELCOME-->\n-Command List-\nAnn> hi"));
}

TEST(ChatPane, AppendingOnlyAddsAtTheEndAndKeepsTheEndInView)
{
    ChatPane pane(nullptr);
    pane.resize(400, 170);
    pane.show();
    pane.replaceText(QStringLiteral("start\r\n"));
    QSignalSpy changes(pane.document(), &QTextDocument::contentsChange);
    for (int i = 0; i < 500; ++i) {
        const int before = pane.document()->characterCount();
        pane.appendText(QStringLiteral("Ann> line %1\r\n").arg(i));
        ASSERT_FALSE(changes.isEmpty());
        const QList<QVariant> change = changes.takeLast();
        // No copy of the pane's whole text: nothing removed, inserted at the end.
        EXPECT_EQ(change.at(1).toInt(), 0) << i;
        EXPECT_GE(change.at(0).toInt(), before - 1) << i;
        changes.clear();
    }
    EXPECT_EQ(pane.document()->blockCount(), 501);
    EXPECT_EQ(pane.textCursor().position(), pane.document()->characterCount() - 1);
    EXPECT_GT(pane.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(pane.verticalScrollBar()->value(), pane.verticalScrollBar()->maximum());
}

} // namespace
