#pragma once

#include <QPlainTextEdit>

// The chat pane INCHAT. The lobby hands it texts whose lines end in CR LF;
// each line shows as one line of the pane. Appending only adds at the end
// (no copy of the whole text), so a pane that is never trimmed stays fast.
class ChatPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ChatPane(QWidget* parent);

    // A calling text (one that calls the player by name) shows in the
    // highlight colour; its words stay as they are for screen readers.
    void appendText(const QString& text, bool calling = false);
    void replaceText(const QString& text);

private:
    // INCHAT_Change: the caret goes to the end, so the newest line is in view.
    void INCHAT_Change();

    // The last text ended in a line end that is not shown yet: the pane shows
    // no empty line at its bottom, the break is made when more text comes.
    bool m_lineEndPending = false;
};
