#include "ui/chatpane.h"

#include <QScrollBar>
#include <QTextCursor>

namespace {
// Lobby text breaks lines with CR LF; a lone CR or LF breaks a line too.
QString displayed(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}
} // namespace

ChatPane::ChatPane(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void ChatPane::appendText(const QString& text)
{
    if (text.isEmpty())
        return;
    QString lines = displayed(text);
    const bool endsWithBreak = lines.endsWith(u'\n');
    if (endsWithBreak)
        lines.chop(1);
    if (m_lineEndPending)
        lines.prepend(u'\n');
    m_lineEndPending = endsWithBreak;

    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(lines);
    INCHAT_Change();
}

void ChatPane::replaceText(const QString& text)
{
    QString lines = displayed(text);
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
