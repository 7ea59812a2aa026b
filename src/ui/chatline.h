#pragma once

#include <QLineEdit>
#include <QStringList>

#include <functional>

// The chat input OUTCHAT, with the habits of every chat program: Up and Down
// walk through the lines sent last, Tab completes a player's name.
class ChatLine : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int HistorySize = 50;

    explicit ChatLine(QWidget* parent);

    // A line was sent: it becomes the newest of the history, and the walk
    // through it starts again from the bottom.
    void remember(const QString& line);
    // The names Tab completes to, asked for at each new completion.
    void setNames(std::function<QStringList()> names) { m_names = std::move(names); }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void walk(int step);
    bool complete();

    QStringList m_history;
    qsizetype m_walk = 0; // m_history.size(): the line being typed
    QString m_typed;      // kept while the walk is up in the history

    std::function<QStringList()> m_names;
    QStringList m_matches;
    qsizetype m_match = 0;
    QString m_before, m_after; // the text around the word completed
    QString m_completed;       // the text after the last completion
    int m_completedAt = 0;     // and the cursor in it
};
