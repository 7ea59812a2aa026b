#include "ui/chatpane.h"

#include <QScrollBar>
#include <QTextCursor>

namespace {
// Lobby text breaks lines with CR LF; a lone CR or LF breaks a line too. A
// line longer than a few screens (only a hostile server sends one) is shown
// in pieces: laying out one huge wrapped line would stall the window.
QString displayed(QStringView text)
{
    constexpr qsizetype PieceLength = 2000;
    QString shown;
    shown.reserve(text.size() + text.size() / PieceLength);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            shown += u'\n';
            lineStart = shown.size();
            continue;
        }
        if (shown.size() - lineStart >= PieceLength) {
            shown += u'\n';
            lineStart = shown.size();
        }
        shown += c;
    }
    return shown;
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
