#include "ui/chatpane.h"

#include "ui/displaytext.h"
#include "ui/look.h"

#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>

ChatPane::ChatPane(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void ChatPane::appendText(const QString& text, bool calling)
{
    if (text.isEmpty())
        return;
    QString lines = displayText(text);
    const bool endsWithBreak = lines.endsWith(u'\n');
    if (endsWithBreak)
        lines.chop(1);
    if (m_lineEndPending)
        lines.prepend(u'\n');
    m_lineEndPending = endsWithBreak;

    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    QTextCharFormat format;
    if (calling) {
        format.setForeground(Look::CallingText);
        format.setFontWeight(QFont::Bold);
    }
    end.insertText(lines, format);
    INCHAT_Change();
}

void ChatPane::replaceText(const QString& text)
{
    QString lines = displayText(text);
    m_lineEndPending = lines.endsWith(u'\n');
    if (m_lineEndPending)
        lines.chop(1);
    setPlainText(lines);
    INCHAT_Change();
}

void ChatPane::INCHAT_Change()
{
    moveCursor(QTextCursor::End);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
