#pragma once

#include <QPlainTextEdit>

// The chat pane INCHAT. The lobby hands it texts whose lines end in CR LF;
// each line shows as one line of the pane. Appending only adds at the end
// (no copy of the whole text), so a pane that is never trimmed stays fast.
class ChatPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ChatPane(QWidget* parent);

    void appendText(const QString& text);
    void replaceText(const QString& text);

private:
    // INCHAT_Change: the caret goes to the end, so the newest line is in view.
    void INCHAT_Change();

    // The last text ended in a line end that is not shown yet: the pane shows
    // no empty line at its bottom, the break is made when more text comes.
    bool m_lineEndPending = false;
};
